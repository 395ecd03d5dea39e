// The skins' layout tables at 1.5x and 2x: every control's centre and box where the 1x ones times
// the scale lie, the cells still tiling the window, the backgrounds as high as their strips, and
// at 1x the table itself.
#include "ScaleChoice.h"
#include "ScaledSkin.h"
#include "SkinPlacement.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

using namespace skin_layout;

namespace {

const SkinLayout* const kSkins[] = {&wide(), &compact()};

// Within half a pixel of the 1x value times the scale.
void expectScaled(int atScale, int single, float scale, const std::string& what)
{
    EXPECT_LE(std::fabs(static_cast<double>(atScale) - static_cast<double>(single) * scale), 0.5) << what;
}

} // namespace

TEST(ScaledSkinTest, EveryControlSitsWhereItsOneTimesPlaceScales)
{
    for (const SkinLayout* skin : kSkins) {
        for (float scale : {1.5f, 2.0f}) {
            const ScaledSkin scaledSkin(*skin, scale);
            const std::vector<PlacedControl> single = placed_controls(*skin);
            const std::vector<PlacedControl> atScale = placed_controls(scaledSkin.layout());
            ASSERT_EQ(single.size(), atScale.size());
            for (std::size_t i = 0; i < single.size(); ++i) {
                const PlacedControl& a = single[i];
                const PlacedControl& b = atScale[i];
                const std::string what = std::string(skin->name) + " " + std::to_string(scale) + "x, " + a.cell + " " +
                                         std::string(a.row->label) + " #" + std::to_string(i);
                ASSERT_EQ(a.cell, b.cell) << what;
                ASSERT_EQ(a.parameter, b.parameter) << what;
                expectScaled(b.at.x + b.row->box.x0, a.at.x + a.row->box.x0, scale, what + " left");
                expectScaled(b.at.y + b.row->box.y0, a.at.y + a.row->box.y0, scale, what + " top");
                expectScaled(b.at.x + b.row->box.x1, a.at.x + a.row->box.x1, scale, what + " right");
                expectScaled(b.at.y + b.row->box.y1, a.at.y + a.row->box.y1, scale, what + " bottom");
                const double centreX = b.at.x + (b.row->box.x0 + b.row->box.x1) / 2.0;
                const double singleCentreX = a.at.x + (a.row->box.x0 + a.row->box.x1) / 2.0;
                EXPECT_LE(std::fabs(centreX - singleCentreX * scale), 0.5) << what << " centre";
                EXPECT_EQ(b.row->travel, scaled(a.row->travel, scale)) << what;
            }
            for (const KnobPresetRow& knob : scaledSkin.layout().knobs)
                EXPECT_GT(knob.dragRange, 0);
        }
    }
}

TEST(ScaledSkinTest, CellsTileTheWindowAndBackgroundsFillTheirStrips)
{
    for (const SkinLayout* skin : kSkins) {
        for (float scale : {1.5f, 2.0f}) {
            const ScaledSkin scaledSkin(*skin, scale);
            const SkinLayout& layout = scaledSkin.layout();
            EXPECT_EQ(layout.size.w, scaled(skin->size.w, scale));
            EXPECT_EQ(layout.size.h, scaled(skin->size.h, scale));
            const auto singleCells = cell_rects(*skin);
            const auto cells = cell_rects(layout);
            ASSERT_EQ(singleCells.size(), cells.size());
            for (const auto& [name, rect] : singleCells) {
                const pengui::Rect& scaledRect = cells.at(name);
                EXPECT_EQ(scaledRect.x0, scaled(rect.x0, scale)) << name;
                EXPECT_EQ(scaledRect.y0, scaled(rect.y0, scale)) << name;
                EXPECT_EQ(scaledRect.x1, scaled(rect.x1, scale)) << name;
                EXPECT_EQ(scaledRect.y1, scaled(rect.y1, scale)) << name;
            }
            int covered = 0;
            for (const Strip& strip : layout.backgrounds) {
                covered += strip.extent;
                for (const PictureEntry& picture : layout.pictures) {
                    if (picture.name == strip.child) {
                        EXPECT_EQ(picture.size.h, strip.extent) << picture.name;
                    }
                }
            }
            EXPECT_EQ(covered, layout.size.h);
        }
    }
}

TEST(ScaledSkinTest, AtOneTimesTheTableIsItself)
{
    for (const SkinLayout* skin : kSkins) {
        const ScaledSkin same(*skin, 1.0f);
        const SkinLayout& layout = same.layout();
        EXPECT_EQ(layout.size, skin->size);
        ASSERT_EQ(layout.controls.size(), skin->controls.size());
        for (std::size_t i = 0; i < skin->controls.size(); ++i) {
            EXPECT_EQ(layout.controls[i].position, skin->controls[i].position);
            EXPECT_EQ(layout.controls[i].box, skin->controls[i].box);
            EXPECT_EQ(layout.controls[i].textSize, skin->controls[i].textSize);
        }
        for (std::size_t i = 0; i < skin->pictures.size(); ++i) {
            EXPECT_EQ(layout.pictures[i].size, skin->pictures[i].size) << skin->pictures[i].name;
            EXPECT_EQ(layout.pictures[i].hotSpot, skin->pictures[i].hotSpot) << skin->pictures[i].name;
        }
    }
}

// Factors map to the nearest scale, ties upward; nonsense says nothing and changes nothing; the
// musician's word outranks the host's, the host's the system's, whichever came first.
TEST(ScaleChoiceTest, FactorsMapToTheNearestScaleAndSourcesRankInOrder)
{
    const std::pair<double, float> mapped[] = {{0.5, 1.0f},  {1.0, 1.0f}, {1.2, 1.0f}, {1.25, 1.5f}, {1.5, 1.5f},
                                               {1.74, 1.5f}, {1.75, 2.0f}, {2.0, 2.0f}, {100.0, 2.0f}, {1e300, 2.0f}};
    for (const auto& [factor, scale] : mapped)
        EXPECT_EQ(ScaleChoice::nearest(factor), scale) << factor;
    for (double nonsense : {0.0, -1.0, -0.0, std::nan(""), HUGE_VAL, -HUGE_VAL})
        EXPECT_FALSE(ScaleChoice::nearest(nonsense).has_value()) << nonsense;

    ScaleChoice choice;
    EXPECT_EQ(choice.scale(), 1.0f);
    choice.setSystem(1.5);
    EXPECT_EQ(choice.scale(), 1.5f);
    choice.setHost(2.0);
    EXPECT_EQ(choice.scale(), 2.0f);
    choice.setSystem(1.0);
    EXPECT_EQ(choice.scale(), 2.0f) << "the system never overrides the host";
    for (double nonsense : {0.0, -1.0, std::nan("")})
        choice.setHost(nonsense);
    EXPECT_EQ(choice.scale(), 2.0f) << "a host's nonsense is ignored";
    choice.setHost(1.25);
    EXPECT_EQ(choice.scale(), 1.5f) << "the host's latest word counts";
    choice.setMusician(1.0);
    EXPECT_EQ(choice.scale(), 1.0f) << "the musician's choice comes first";
    choice.setMusician(0.0);
    EXPECT_EQ(choice.scale(), 1.0f);
}
