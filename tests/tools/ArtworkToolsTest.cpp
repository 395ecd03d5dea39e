// The artwork tools run as the build runs them: the bitmap font maker and the picture sheet.
#include "FontFactory.h"

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
