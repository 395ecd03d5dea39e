// The skins' built pictures against their layout tables: every picture loads with its size,
// storage and hot spot; every control's pictures stay inside its box; the backgrounds cover the
// window; the text colours read on their fields; every control's name lies clear inside its panel;
// the drawing is the same every time.
#include "AlphaPicData24.h"
#include "AlphaPicData8.h"
#include "PicData24.h"
#include "PicData8.h"
#include "PicDataFactory.h"
#include "Picture.h"
#include "RenderingBufferInterface.h"
#include "ScaledSkin.h"
#include "SkinPlacement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <typeinfo>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <memory>
#include <string>
#include <sys/wait.h>

using namespace skin_layout;

namespace {

std::vector<std::uint8_t> readFile(const std::string& path)
{
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The built pictures of a skin, placed at their hot spots.
class Built {
public:
    // The pictures at 1x, or in the folder of another scale ("1.5x", "2x").
    explicit Built(const SkinLayout& skin, const std::string& scale = "") : skin_(skin)
    {
        const std::string folder = std::string(SKIN_DIR) + "/" + std::string(skin.name) + (scale.empty() ? "" : "_" + scale);
        for (const PictureEntry& entry : skin.pictures) {
            bytes_.push_back(readFile(folder + "/" + std::string(entry.name) + ".apic"));
            data_.push_back(pengui::PicDataFactory::instance().create(bytes_.back().data(), bytes_.back().size()));
            pengui::Picture picture;
            picture.set_picture(data_.back().get());
            picture.set_hot_spot(entry.hotSpot);
            pictures_[std::string(entry.name)] = picture;
        }
    }
    const pengui::PicDataInterface* data(std::size_t index) const { return data_[index].get(); }
    const pengui::Picture& picture(const std::string& name) const { return pictures_.at(name); }
    bool has(const std::string& name) const { return pictures_.count(name) != 0; }

private:
    const SkinLayout& skin_;
    std::vector<std::vector<std::uint8_t>> bytes_;
    std::vector<std::unique_ptr<pengui::PicDataInterface>> data_;
    std::map<std::string, pengui::Picture> pictures_;
};

bool inside(const pengui::Rect& inner, const pengui::Rect& outer)
{
    return inner.x0 >= outer.x0 && inner.y0 >= outer.y0 && inner.x1 <= outer.x1 && inner.y1 <= outer.y1;
}

// WCAG relative luminance of a 0x00RRGGBB colour.
double luminance(std::uint32_t colour)
{
    auto channel = [](std::uint32_t value) {
        const double c = value / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    return 0.2126 * channel((colour >> 16) & 0xFF) + 0.7152 * channel((colour >> 8) & 0xFF) + 0.0722 * channel(colour & 0xFF);
}

double contrast(std::uint32_t a, std::uint32_t b)
{
    const double la = luminance(a), lb = luminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

// The background stack drawn into a window-sized buffer that starts out one odd colour.
pengui::PixelBuffer backgrounds(const SkinLayout& skin, const Built& built, bool twoLines)
{
    pengui::PixelBuffer window(skin.size.w, skin.size.h);
    window.fill(0x00FF00FF, 0);
    int y = 0;
    for (const Strip& strip : skin.backgrounds) {
        const std::string name(strip.child == skin.lowerWithTwoLines && !twoLines ? skin.lowerWithOneLine : strip.child);
        built.picture(name).draw({0, -y, skin.size.w, skin.size.h - y}, window);
        y += strip.extent;
    }
    return window;
}

// Draws a drawing with the skins' rasteriser onto black, in an APIC picture of `size`.
pengui::PixelBuffer rasterise(const std::string& drawing, pengui::Size size)
{
    const std::string path = std::filesystem::temp_directory_path() / ("zorvane-sheet-" + std::to_string(getpid()));
    std::ofstream(path + ".svg") << drawing;
    const std::string command = std::string("LSAN_OPTIONS=") + TOOL_LSAN_OPTIONS + " " + SVG_TO_APIC + " " + path + ".svg " +
                                std::to_string(size.w) + " " + std::to_string(size.h) + " alpha8 " + path + ".apic";
    pengui::PixelBuffer buffer(size.w, size.h);
    buffer.fill(0, 0);
    if (std::system(command.c_str()) == 0) {
        const std::vector<std::uint8_t> bytes = readFile(path + ".apic");
        const auto data = pengui::PicDataFactory::instance().create(bytes.data(), bytes.size());
        pengui::Picture picture;
        picture.set_picture(data.get());
        picture.draw({0, 0, size.w, size.h}, buffer);
    }
    std::filesystem::remove(path + ".svg");
    std::filesystem::remove(path + ".apic");
    return buffer;
}

struct PlacedLabel {
    const PlacedControl* control;
    // Its ink in the window.
    pengui::Rect ink;
};

// Where the ink of every control's name lies: each name drawn in its own lane of a sheet, in the
// artwork's face and size and anchored as the background anchors it. Ink is any pixel of at least
// a quarter coverage.
std::vector<PlacedLabel> labelInk(const SkinLayout& skin, const std::vector<PlacedControl>& controls)
{
    constexpr int kLane = 32, kBaseline = 22, kWidth = 320, kAnchorX = 160;
    constexpr const char* kAnchors[] = {"start", "middle", "end"};
    std::vector<PlacedLabel> labels;
    std::string body;
    for (const PlacedControl& control : controls) {
        if (control.row->label.empty())
            continue;
        const LabelPlace& place = label_place(skin, *control.row);
        body += "<text x=\"" + std::to_string(kAnchorX) + "\" y=\"" + std::to_string(kLane * static_cast<int>(labels.size()) + kBaseline) +
                "\" font-family=\"DejaVu Sans\" font-size=\"" + std::to_string(place.size) + "\" fill=\"#ffffff\" text-anchor=\"" +
                kAnchors[static_cast<int>(place.anchor)] + "\">" + std::string(place.label) + "</text>";
        labels.push_back({&control, {}});
    }
    const pengui::Size sheet{kWidth, kLane * static_cast<int>(labels.size())};
    const pengui::PixelBuffer ink = rasterise("<svg xmlns=\"http://www.w3.org/2000/svg\" width=\"" + std::to_string(sheet.w) +
                                                  "\" height=\"" + std::to_string(sheet.h) + "\">" + body + "</svg>",
                                              sheet);
    for (std::size_t lane = 0; lane < labels.size(); ++lane) {
        pengui::Rect box{kWidth, kLane, 0, 0};
        for (int y = 0; y < kLane; ++y)
            for (int x = 0; x < kWidth; ++x)
                if ((ink.at(x, kLane * static_cast<int>(lane) + y) & 0xFF) >= 0x40)
                    box = {std::min(box.x0, x), std::min(box.y0, y), std::max(box.x1, x + 1), std::max(box.y1, y + 1)};
        const PlacedControl& control = *labels[lane].control;
        const pengui::Point offset = label_place(skin, *control.row).offset;
        labels[lane].ink = box.moved(control.at.x + offset.x - kAnchorX, control.at.y + offset.y - kBaseline);
    }
    return labels;
}

pengui::Rect grown(const pengui::Rect& rect, int by)
{
    return {rect.x0 - by, rect.y0 - by, rect.x1 + by, rect.y1 + by};
}

} // namespace

const SkinLayout* const kSkins[] = {&wide(), &compact()};

TEST(SkinArtTest, EveryPictureLoadsWithItsSizeAndStorage)
{
    for (const SkinLayout* each : kSkins) {
    const SkinLayout& skin = *each;
    const Built built(skin);
    for (std::size_t i = 0; i < skin.pictures.size(); ++i) {
        const PictureEntry& entry = skin.pictures[i];
        const pengui::PicDataInterface* data = built.data(i);
        ASSERT_NE(data, nullptr) << entry.name;
        EXPECT_EQ(data->width(), entry.size.w) << entry.name;
        EXPECT_EQ(data->height(), entry.size.h) << entry.name;
        const bool right = entry.storage == Storage::kOpaque8   ? dynamic_cast<const pengui::PicData8*>(data) != nullptr
                           : entry.storage == Storage::kOpaque24 ? dynamic_cast<const pengui::PicData24*>(data) != nullptr
                           : entry.storage == Storage::kAlpha8   ? dynamic_cast<const pengui::AlphaPicData8*>(data) != nullptr
                                                                 : dynamic_cast<const pengui::AlphaPicData24*>(data) != nullptr;
        EXPECT_TRUE(right) << entry.name << " is stored otherwise";
        EXPECT_EQ(built.picture(std::string(entry.name)).hot_spot(), entry.hotSpot) << entry.name;
    }
    }
}

TEST(SkinArtTest, EveryControlsPicturesLieInsideItsBox)
{
    for (const SkinLayout* each : kSkins) {
    const SkinLayout& skin = *each;
    const Built built(skin);
    constexpr char kColours[] = {'r', 'b', 'g', 'o'};
    const std::map<KnobPreset, std::vector<std::string>> knobPictures = {
        {KnobPreset::kLarge, {"kn_01e_0", "kn_01e_1", "kn_01e_2", "kn_01e_3", "kn_01e_p", "kn_01e_s"}},
        {KnobPreset::kMiddle, {"kn_02_0", "kn_02_1", "kn_02_2", "kn_02_3", "kn_02_4", "kn_02_5", "kn_02_6", "kn_02_7",
                               "kn_02_p", "kn_02_s"}},
        {KnobPreset::kTap, {"kn_03_s"}},
        {KnobPreset::kLfo, {"kn_04"}},
        {KnobPreset::kSmall, {"kn_05", "kn_05_s"}},
        {KnobPreset::kCompactMiddle, {"kn_06", "kn_06_s"}},
        {KnobPreset::kCompactCutoff, {"kn_07", "kn_07_s"}},
        {KnobPreset::kRecall, {"kn_08"}},
    };
    for (const ControlRow& row : skin.controls) {
        std::vector<std::string> names;
        std::string picture(row.picture);
        if (const auto star = picture.find('*'); star != std::string::npos)
            picture[star] = kColours[0];
        switch (row.kind) {
        case ControlKind::kKnob:
            names = knobPictures.at(row.knob);
            if (row.knob == KnobPreset::kTap)
                names.push_back(picture);
            break;
        case ControlKind::kFader: {
            const pengui::Rect handle = built.picture(picture).box;
            for (double value : {0.0, 1.0}) {
                const int offset = static_cast<int>(std::floor(value * row.travel + 0.5));
                const pengui::Rect at =
                    row.vertical ? handle.moved(0, row.travel - offset) : handle.moved(offset, 0);
                EXPECT_TRUE(inside(at, row.box)) << picture << " at value " << value << " leaves its box";
            }
            break;
        }
        case ControlKind::kSpin:
            for (const char* part : {"_up_0", "_up_1", "_hnd_0", "_hnd_1", "_dwn_0", "_dwn_1"})
                names.push_back(picture + part);
            break;
        case ControlKind::kFlipFlop:
        case ControlKind::kPushButton:
            for (int frame = 0; frame < 5 && !picture.empty(); ++frame)
                if (built.has(picture + "_" + std::to_string(frame)))
                    names.push_back(picture + "_" + std::to_string(frame));
            break;
        case ControlKind::kSwitch:
            // The waveform switch shows one cell of its picture at a time: its box holds the cells,
            // not the whole grid.
            if (picture != "sw_01_0")
                names.push_back(picture);
            for (int position = 0; position < 10; ++position)
                if (picture == "sw_04" || (picture == "sw_03" && position < 4))
                    names.push_back(picture + "_" + std::to_string(position));
            break;
        case ControlKind::kTextBox: break;
        }
        for (const std::string& name : names)
            EXPECT_TRUE(inside(built.picture(name).box, row.box)) << skin.name << ": " << name << " leaves the box of " << row.cell;
    }
    }
}

TEST(SkinArtTest, BackgroundsCoverEveryPixelAndTextReadsOnItsField)
{
    for (const SkinLayout* each : kSkins) {
        const SkinLayout& skin = *each;
        const Built built(skin);
        for (bool twoLines : {false, true}) {
            pengui::PixelBuffer window = backgrounds(skin, built, twoLines);
            int uncovered = 0;
            for (int y = 0; y < skin.size.h; ++y)
                for (int x = 0; x < skin.size.w; ++x)
                    uncovered += window.at(x, y) == 0x00FF00FF;
            EXPECT_EQ(uncovered, 0) << skin.name << (twoLines ? ", two lines" : ", one line");
        }
        // Each text box's field, in the middle of its box, against the colour of its text.
        const pengui::PixelBuffer window = backgrounds(skin, built, true);
        const std::map<std::string, pengui::Rect> cells = cell_rects(skin);
        int fields = 0;
        for (const ControlRow& row : skin.controls) {
            if (row.kind != ControlKind::kTextBox)
                continue;
            const pengui::Rect cell = cells.at(std::string(row.cell));
            const std::uint32_t field = window.at(cell.x0 + row.position.x + (row.box.x0 + row.box.x1) / 2,
                                                  cell.y0 + row.position.y + (row.box.y0 + row.box.y1) / 2);
            EXPECT_GE(contrast(row.colour, field), 4.5) << skin.name << ": " << row.cell << " at " << row.position.x << ", "
                                                         << row.position.y;
            ++fields;
        }
        EXPECT_EQ(fields, 7) << skin.name;
    }
}

TEST(SkinArtTest, TheDrawingIsTheSameEveryTime)
{
    const std::string folder = std::filesystem::temp_directory_path() / ("zorvane-art-" + std::to_string(getpid()));
    for (const SkinLayout* skin : kSkins) {
        const std::string name(skin->name);
        const std::string command = std::string(SKIN_MANIFEST) + " " + name + " > " + folder + ".json && LSAN_OPTIONS=" +
                                    TOOL_LSAN_OPTIONS + " " + PYTHON + " " + SKIN_ART + " " + folder + ".json " + folder +
                                    "/svg " + folder + " " + SVG_TO_APIC;
        ASSERT_EQ(std::system(command.c_str()), 0) << name;
        for (const PictureEntry& entry : skin->pictures) {
            const std::string file = std::string(entry.name) + ".apic";
            EXPECT_EQ(readFile(folder + "/" + file), readFile(std::string(SKIN_DIR) + "/" + name + "/" + file)) << file;
        }
    }
    std::filesystem::remove_all(folder);
    std::filesystem::remove(folder + ".json");
}

TEST(SkinArtTest, KnobFramesAreSquareAndSwitchPositionsLandOnTheirCells)
{
    for (const SkinLayout* skin : kSkins) {
        for (const KnobPresetRow& knob : skin->knobs) {
            for (int frame = 0; frame < knob.frameCount && !knob.frames.empty(); ++frame) {
                const std::string name = std::string(knob.frames) + (knob.frameCount > 1 ? std::to_string(frame) : "");
                for (const PictureEntry& entry : skin->pictures) {
                    if (entry.name != name)
                        continue;
                    EXPECT_EQ(entry.size.w, entry.size.h) << name;
                    EXPECT_LE(std::abs(2 * entry.hotSpot.x + 1 - entry.size.w), 2) << name << " is not centred on its hot spot";
                    EXPECT_LE(std::abs(2 * entry.hotSpot.y + 1 - entry.size.h), 2) << name << " is not centred on its hot spot";
                }
            }
        }
    }
    const Built built(wide());
    // The filter switch: position k, placed by its origin offset, covers its quadrant's centre.
    const pengui::Point offsets[] = {{0, -28}, {0, 0}, {-51, 0}, {-51, -28}};
    const pengui::Point centres[] = {{25, 41}, {25, 13}, {76, 13}, {76, 41}};
    for (int position = 0; position < 4; ++position) {
        pengui::Picture picture = built.picture("sw_02_" + std::to_string(position));
        picture.set_hot_spot(offsets[position]);
        EXPECT_TRUE(picture.contains(centres[position])) << "sw_02_" << position;
    }
    // The waveform grid: each of the ten cells holds a lit drawing within the picture.
    pengui::PixelBuffer grid(143, 26);
    grid.fill(0, 0);
    built.picture("sw_01_0").draw({0, 0, 143, 26}, grid);
    for (int cell = 0; cell < 10; ++cell) {
        const int x = static_cast<int>(std::floor(28.6667 * (cell % 5) + 0.5)) + 14;
        const int y = 13 * (cell / 5) + 6;
        int lit = 0;
        for (int dy = -3; dy <= 3; ++dy)
            for (int dx = -8; dx <= 8; ++dx)
                lit += grid.at(x + dx, y + dy) != 0;
        EXPECT_GT(lit, 60) << "waveform cell " << cell;
    }
}

TEST(SkinArtTest, EveryNameLiesInsideItsPanelClearOfTheOtherNames)
{
    // Each panel's frame ends this many pixels inside its cell; a name keeps kClear pixels from
    // the frame, the window's edge and the controls, and kApart from every other name, so that
    // two names never read as one.
    const std::map<std::string_view, int> frames = {{"wide", 3}, {"compact", 2}};
    constexpr int kClear = 2;
    constexpr int kApart = 6;
    for (const SkinLayout* skin : kSkins) {
        const std::map<std::string, pengui::Rect> cells = cell_rects(*skin);
        const std::vector<PlacedControl> controls = placed_controls(*skin);
        const std::vector<PlacedLabel> labels = labelInk(*skin, controls);
        EXPECT_GT(labels.size(), 40u) << skin->name;
        for (const PlacedLabel& label : labels) {
            const std::string what = std::string(skin->name) + ": \"" + std::string(label.control->row->label) + "\" of " +
                                     label.control->cell;
            ASSERT_GT(label.ink.width(), 0) << what << " draws nothing";
            const pengui::Rect cell = grown(cells.at(label.control->cell), -frames.at(skin->name) - kClear);
            EXPECT_TRUE(inside(label.ink, cell)) << what << " at " << label.ink.x0 << ", " << label.ink.y0 << " to " << label.ink.x1
                                                 << ", " << label.ink.y1 << " leaves its panel's inside " << cell.x0 << ", "
                                                 << cell.y0 << " to " << cell.x1 << ", " << cell.y1;
            EXPECT_TRUE(inside(label.ink, grown({0, 0, skin->size.w, skin->size.h}, -kClear))) << what << " meets the window's edge";
            for (const PlacedLabel& other : labels) {
                if (&other != &label) {
                    EXPECT_FALSE(grown(label.ink, kApart).overlaps(other.ink))
                        << what << " meets \"" << other.control->row->label << "\" of " << other.control->cell;
                }
            }
            for (const PlacedControl& control : controls) {
                if (&control != label.control && control.row->kind != ControlKind::kTextBox) {
                    EXPECT_FALSE(grown(label.ink, kClear).overlaps(control.row->box.moved(control.at)))
                        << what << " meets a control of " << control.cell << " (" << control.picture << ")";
                }
            }
        }
    }
}

// The 1.5x and 2x skins are the 1x drawings at those scales: every picture has the size of the
// table at that scale, and its storage; a 2x picture averaged over 2 x 2 blocks is the 1x
// picture within a small mean difference (both over mid grey), so no drawing was left out or
// drawn at another place.
TEST(SkinArtTest, TheScaledSkinsAreTheSameDrawingsAtTheirScale)
{
    // Measured: at most 2.5 of 255 on any picture.
    constexpr double kMeanDifferenceAt2x = 4.0;
    double largest = 0.0;
    auto overGrey = [](const pengui::PicDataInterface* data) {
        pengui::PixelBuffer buffer(data->width(), data->height());
        buffer.fill(0x00808080, 0);
        pengui::Picture picture;
        picture.set_picture(data);
        picture.draw({0, 0, data->width(), data->height()}, buffer);
        return buffer;
    };
    for (const SkinLayout* skin : kSkins) {
        const Built single(*skin);
        for (const auto& [scale, folder] : {std::pair{1.5f, "1.5x"}, std::pair{2.0f, "2x"}}) {
            const Built built(*skin, folder);
            const ScaledSkin atScale(*skin, scale);
            for (std::size_t i = 0; i < skin->pictures.size(); ++i) {
                const PictureEntry& entry = skin->pictures[i];
                const pengui::PicDataInterface* data = built.data(i);
                ASSERT_NE(data, nullptr) << entry.name << " at " << folder;
                EXPECT_EQ(data->width(), atScale.layout().pictures[i].size.w) << entry.name << " at " << folder;
                EXPECT_EQ(data->height(), atScale.layout().pictures[i].size.h) << entry.name << " at " << folder;
                EXPECT_EQ(typeid(*data).name(), typeid(*single.data(i)).name()) << entry.name << " at " << folder;
                if (scale != 2.0f)
                    continue;
                pengui::PixelBuffer large = overGrey(data);
                pengui::PixelBuffer small = overGrey(single.data(i));
                const std::uint32_t* largePixels = large.pixels();
                const std::uint32_t* smallPixels = small.pixels();
                const int largeWidth = data->width();
                double difference = 0.0;
                for (int y = 0; y < entry.size.h; ++y) {
                    for (int x = 0; x < entry.size.w; ++x) {
                        for (int shift : {0, 8, 16}) {
                            int sum = 0;
                            for (int k = 0; k < 4; ++k)
                                sum += static_cast<int>((largePixels[(2 * y + k / 2) * largeWidth + 2 * x + k % 2] >> shift) & 0xFF);
                            difference += std::abs((sum + 2) / 4 - static_cast<int>((smallPixels[y * entry.size.w + x] >> shift) & 0xFF));
                        }
                    }
                }
                const double mean = difference / (3.0 * entry.size.w * entry.size.h);
                EXPECT_LT(mean, kMeanDifferenceAt2x) << entry.name;
                largest = std::max(largest, mean);
            }
        }
    }
    std::printf("largest mean difference of a 2x picture shrunk to 1x: %.2f of 255\n", largest);
}
