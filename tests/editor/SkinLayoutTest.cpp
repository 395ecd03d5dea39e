// The skins' layout tables agree with themselves: picture counts and names, backgrounds and
// cells that tile the window, the repaint of the second delay line.
#include "SkinLayout.h"

#include <gtest/gtest.h>

#include <set>
#include <string>

using skin_layout::SkinLayout;

namespace {

const SkinLayout* const kSkins[] = {&skin_layout::wide(), &skin_layout::compact()};

bool hasPicture(const SkinLayout& skin, std::string_view name)
{
    for (const auto& picture : skin.pictures)
        if (picture.name == name)
            return true;
    return false;
}

const skin_layout::Split& split(const SkinLayout& skin, std::string_view name)
{
    for (const auto& candidate : skin.splits)
        if (candidate.name == name)
            return candidate;
    throw std::runtime_error("no split " + std::string(name));
}

int total(const skin_layout::Split& split)
{
    int sum = 0;
    for (const auto& strip : split.strips)
        sum += strip.extent;
    return sum;
}

} // namespace

TEST(SkinLayoutTest, EachSkinLoadsItsPicturesOnceEach)
{
    EXPECT_EQ(skin_layout::wide().pictures.size(), 87u);
    EXPECT_EQ(skin_layout::compact().pictures.size(), 101u);
    for (const SkinLayout* skin : kSkins) {
        std::set<std::string_view> names;
        for (const auto& picture : skin->pictures)
            EXPECT_TRUE(names.insert(picture.name).second) << skin->name << ": " << picture.name << " twice";
    }
    // The preset buttons take pb_01_0's index and the ones after it, in order.
    const auto& wide = skin_layout::wide().pictures;
    std::size_t first = 0;
    while (wide[first].name != "pb_01_0")
        ++first;
    EXPECT_EQ(wide[first + 15].name, "pb_08_1");
    for (const auto& picture : wide)
        EXPECT_TRUE(picture.storage == skin_layout::Storage::kOpaque8 || picture.storage == skin_layout::Storage::kAlpha8)
            << "the large skin is all palette pictures";
}

TEST(SkinLayoutTest, BackgroundsAndCellsTileTheWindow)
{
    for (const SkinLayout* skin : kSkins) {
        int height = 0;
        for (const auto& strip : skin->backgrounds) {
            EXPECT_TRUE(hasPicture(*skin, strip.child)) << skin->name << ": " << strip.child;
            height += strip.extent;
        }
        EXPECT_EQ(height, skin->size.h) << skin->name;
        EXPECT_EQ(skin->backgrounds.back().child, skin->lowerWithTwoLines);
        EXPECT_TRUE(hasPicture(*skin, skin->lowerWithOneLine));

        const auto& root = split(*skin, "root");
        EXPECT_EQ(root.orientation, 0);
        EXPECT_EQ(total(root), skin->size.h) << skin->name;
        for (std::string_view row : {"row 1", "row 2", "row 4"})
            EXPECT_EQ(total(split(*skin, row)), skin->size.w) << skin->name << ": " << row;
        EXPECT_EQ(total(split(*skin, "row 4 left")), split(*skin, "row 4").strips[0].extent) << skin->name;

        // Line 2 is the root's last strip, and the switch between one and two lines repaints it.
        int top = 0;
        for (std::size_t i = 0; i + 1 < root.strips.size(); ++i)
            top += root.strips[i].extent;
        EXPECT_EQ(skin->relayoutRepaint, (pengui::Rect{0, top, skin->size.w, skin->size.h})) << skin->name;
        EXPECT_EQ(root.strips.back().extent, skin->backgrounds.back().extent) << skin->name;
    }
}

TEST(SkinLayoutTest, TheLargeSkinsRowsStartWhereTheDelayLinesAre)
{
    const auto& root = split(skin_layout::wide(), "root");
    std::vector<int> tops;
    int y = 0;
    for (const auto& strip : root.strips) {
        tops.push_back(y);
        y += strip.extent;
    }
    EXPECT_EQ(tops, (std::vector<int>{0, 67, 150, 382, 468}));
    EXPECT_EQ(skin_layout::wide().fonts.size(), 1u);
    EXPECT_EQ(skin_layout::compact().fonts.size(), 2u);
}

TEST(SkinLayoutTest, KnobPresetsNameTheSkinsPicturesAndGiveTheKnobsTheirBoxes)
{
    for (const SkinLayout* skin : kSkins) {
        for (const auto& knob : skin->knobs) {
            for (std::string_view picture : {knob.plate, knob.highlight, knob.dragIndicator})
                EXPECT_TRUE(picture.empty() || hasPicture(*skin, picture)) << skin->name << ": " << picture;
            if (!knob.frames.empty()) {
                const std::string first = knob.frameCount > 1 ? std::string(knob.frames) + "0" : std::string(knob.frames);
                EXPECT_TRUE(hasPicture(*skin, first)) << skin->name << ": " << first;
                EXPECT_TRUE(hasPicture(*skin, std::string(knob.frames) + (knob.frameCount > 1 ? std::to_string(knob.frameCount - 1) : "")));
            }
            if (!knob.pointer.empty() && knob.pointer[0] != '*') {
                EXPECT_TRUE(hasPicture(*skin, knob.pointer)) << skin->name << ": " << knob.pointer;
            }
        }
        for (const auto& row : skin->controls) {
            if (row.kind != skin_layout::ControlKind::kKnob)
                continue;
            bool found = false;
            for (const auto& knob : skin->knobs)
                if (knob.preset == row.knob) {
                    found = true;
                    EXPECT_EQ(row.box, knob.box) << skin->name << ": a knob of " << row.cell;
                }
            EXPECT_TRUE(found) << skin->name << ": no preset for a knob of " << row.cell;
        }
    }
}

TEST(SkinLayoutTest, EveryControlHasItsListenerAndTextBoxesTheirTextInTheirBox)
{
    const std::set<std::string_view> listeners = {
        "TempoSpinListener", "TempoTextBoxListener", "MsBpmListener", "SustLoopListener", "Delay2Listener",
        "WebSiteListener", "NumValListenerInterface", "NumValListenerRc", "DelayTimeListener", "TapTimeListener",
        "ListenerBaseRc", "NumValTbListener", "LfoPerKnListener", "LfoPerTbListener", "LfoDepthKnListener",
        "LfoDepthTbListener", "ListenerBase", "PresetNumberListener", "PresetLoadBankListener",
        "PresetSaveBankListener", "PresetMemListener", "PresetTimeFaderListener", "PresetTimeDisplayListener"};
    for (const SkinLayout* skin : kSkins) {
        int silent = 0;
        for (const auto& row : skin->controls) {
            if (row.listener.empty()) {
                ++silent;
            } else {
                EXPECT_TRUE(listeners.count(row.listener)) << skin->name << ": " << row.listener;
            }
            if (row.kind == skin_layout::ControlKind::kTextBox) {
                const pengui::Rect text{-row.textOffset.x, -row.textOffset.y, -row.textOffset.x + row.textSize.w,
                                        -row.textOffset.y + row.textSize.h};
                EXPECT_EQ(text, row.box) << skin->name << ": a text box of " << row.cell;
                EXPECT_EQ(row.editable, !row.listener.empty()) << skin->name << ": a text box of " << row.cell;
            }
            if (row.kind == skin_layout::ControlKind::kSpin) {
                EXPECT_DOUBLE_EQ(row.step, 1.0 / 180);
            }
        }
        EXPECT_EQ(silent, 2) << skin->name << ": only the name and unit boxes listen to nothing";
    }
}
