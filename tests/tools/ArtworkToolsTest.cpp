// The artwork tools run as the build runs them: the bitmap font maker and the picture sheet.
#include "AlphaPicData24.h"
#include "AlphaPicData8.h"
#include "FontFactory.h"
#include "PicData24.h"
#include "PicData8.h"
#include "PicDataFactory.h"
#include "RenderingBufferInterface.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <sys/wait.h>
#include <unistd.h>

namespace {

class ArtworkToolsTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        folder_ = std::filesystem::temp_directory_path() /
                  ("zorvane-art-" + std::to_string(getpid()) + "-" +
                   ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(folder_);
    }
    void TearDown() override { std::filesystem::remove_all(folder_); }

    std::string path(const std::string& name) const { return (folder_ / name).string(); }

    // The exit status of `command` with its standard error kept in `error_`.
    int run(const std::string& command)
    {
        const std::string err = path("stderr.txt");
        const int status = std::system((command + " 2>" + err).c_str());
        error_ = read(err);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

    static std::string read(const std::string& file)
    {
        std::ifstream in(file, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }

    std::string makeFont(int pixels, const std::string& name)
    {
        const std::string out = path(name);
        EXPECT_EQ(run(std::string(FONT_MAKER) + " " + TTF_PATH + " " + std::to_string(pixels) + " " + out), 0) << error_;
        return out;
    }

    std::filesystem::path folder_;
    std::string error_;
};

} // namespace

TEST_F(ArtworkToolsTest, FontsHaveAGlyphForEveryByteAndAreTheSameEveryTime)
{
    const std::string bytes = read(makeFont(13, "a.apic"));
    EXPECT_EQ(bytes, read(makeFont(13, "b.apic"))) << "deterministic";
    const auto* data = reinterpret_cast<const std::uint8_t*>(bytes.data());
    const std::unique_ptr<pengui::FontInterface> font = pengui::FontFactory::instance().create(data, bytes.size());
    ASSERT_NE(font, nullptr);
    const auto& glyphs = font->glyphs();
    ASSERT_EQ(glyphs.size(), 256u);
    EXPECT_GE(font->line_height(), 13);
    EXPECT_LE(font->line_height(), 17);
    for (int byte = 0; byte < 256; ++byte) {
        const bool printable = (byte >= 32 && byte < 127) || byte >= 160;
        if (!printable)
            EXPECT_EQ(glyphs[static_cast<std::size_t>(byte)].width, 1) << byte;
        else
            EXPECT_GE(glyphs[static_cast<std::size_t>(byte)].width, 2) << byte;
    }
    EXPECT_GT(glyphs['W'].width, glyphs['i'].width);
    EXPECT_EQ(glyphs[0xE9].width, glyphs['e'].width) << "Latin-1 letters are drawn like their base letters";
}

TEST_F(ArtworkToolsTest, BadFontInputFailsWithAMessage)
{
    EXPECT_EQ(run(std::string(FONT_MAKER) + " " + path("missing.ttf") + " 12 " + path("x.apic")), 1);
    EXPECT_NE(error_.find("missing.ttf"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path("x.apic")));
    EXPECT_EQ(run(std::string(FONT_MAKER) + " " + TTF_PATH + " 1 " + path("x.apic")), 2);
    EXPECT_EQ(run(std::string(FONT_MAKER)), 2);
}

TEST_F(ArtworkToolsTest, TheSheetShowsPicturesAndFontsAndRefusesOtherFiles)
{
    const std::string font = makeFont(12, "labels.apic");
    const std::string sheet = path("sheet.png");
    ASSERT_EQ(run(std::string(APIC_SHEET) + " " + font + " " + sheet), 0) << error_;
    const std::string png = read(sheet);
    ASSERT_GT(png.size(), 24u);
    EXPECT_EQ(png.substr(1, 3), "PNG");
    // Width (big-endian, at byte 16) is the sheet's 1000 pixels.
    EXPECT_EQ(static_cast<unsigned char>(png[18]) * 256 + static_cast<unsigned char>(png[19]), 1000);

    std::ofstream(path("junk.apic")) << "not a picture";
    EXPECT_EQ(run(std::string(APIC_SHEET) + " " + path("junk.apic") + " " + path("junk.png")), 1);
    EXPECT_NE(error_.find("junk.apic"), std::string::npos);
    EXPECT_FALSE(std::filesystem::exists(path("junk.png")));
}

namespace {

// A 20 x 12 drawing: a red disc on transparency with a soft blue gradient bar.
constexpr const char* kDrawing = R"svg(<svg xmlns="http://www.w3.org/2000/svg" width="20" height="12">
  <defs><linearGradient id="g"><stop offset="0" stop-color="#000080"/><stop offset="1" stop-color="#80c0ff"/></linearGradient></defs>
  <rect x="0" y="8" width="20" height="4" fill="url(#g)"/>
  <circle cx="6" cy="4" r="3.5" fill="#ff0000"/>
</svg>)svg";

} // namespace

TEST_F(ArtworkToolsTest, DrawingsBecomePicturesOfEveryStorage)
{
    std::ofstream(path("drawing.svg")) << kDrawing;
    for (const char* storage : {"opaque8", "opaque24", "alpha8", "alpha24"}) {
        const std::string out = path(std::string(storage) + ".apic");
        const std::string command = std::string(SVG_TO_APIC) + " " + path("drawing.svg") + " 20 12 " + storage + " ";
        ASSERT_EQ(run(command + out), 0) << storage << ": " << error_;
        ASSERT_EQ(run(command + path("again.apic")), 0);
        const std::string bytes = read(out);
        EXPECT_EQ(bytes, read(path("again.apic"))) << storage << " is not deterministic";
        const auto picture = pengui::PicDataFactory::instance().create(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                                                       bytes.size());
        ASSERT_NE(picture, nullptr) << storage;
        EXPECT_EQ(picture->width(), 20);
        EXPECT_EQ(picture->height(), 12);
        pengui::PixelBuffer buffer(20, 12);
        buffer.fill(0x00FFFFFF, 0);
        picture->draw({0, 0, 20, 12}, buffer);
        EXPECT_EQ(buffer.at(6, 4) & 0x00F0F0F0u, 0x00F00000u) << storage << ": the disc is red";
        const bool alpha = storage[0] == 'a';
        EXPECT_EQ(buffer.at(19, 0), alpha ? 0x00FFFFFFu : 0u) << storage << ": transparency";
        EXPECT_LT(buffer.at(1, 10) & 0xFF, buffer.at(18, 10) & 0xFF) << storage << ": the gradient";
    }
    const std::string bytes = read(path("alpha8.apic"));
    EXPECT_NE(dynamic_cast<pengui::AlphaPicData8*>(pengui::PicDataFactory::instance()
                                                       .create(reinterpret_cast<const std::uint8_t*>(bytes.data()), bytes.size())
                                                       .get()),
              nullptr);
}

TEST_F(ArtworkToolsTest, ADrawingOfAnotherSizeOrNoneFailsTheBuildByName)
{
    std::ofstream(path("drawing.svg")) << kDrawing;
    EXPECT_EQ(run(std::string(SVG_TO_APIC) + " " + path("drawing.svg") + " 21 12 alpha8 " + path("out.apic")), 1);
    EXPECT_NE(error_.find("drawing.svg is 20 x 12, not 21 x 12"), std::string::npos) << error_;
    EXPECT_FALSE(std::filesystem::exists(path("out.apic")));
    EXPECT_EQ(run(std::string(SVG_TO_APIC) + " " + path("missing.svg") + " 20 12 alpha8 " + path("out.apic")), 1);
    EXPECT_NE(error_.find("missing.svg"), std::string::npos) << error_;
    EXPECT_EQ(run(std::string(SVG_TO_APIC) + " " + path("drawing.svg") + " 20 12 sepia " + path("out.apic")), 2);
}
