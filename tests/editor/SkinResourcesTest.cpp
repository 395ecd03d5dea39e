// A module's resources hold its skin: every picture and font of the layout table loads through
// the factories by name, with the table's size and storage. Built once per skin, each linked
// with that skin's resources as its module is.
#include "AlphaPicData24.h"
#include "AlphaPicData8.h"
#include "FontFactory.h"
#include "PicData24.h"
#include "PicData8.h"
#include "PicDataFactory.h"
#include "SkinLayout.h"

#include <gtest/gtest.h>

#include <string>

using namespace skin_layout;

TEST(SkinResourcesTest, EveryPictureAndFontOfTheSkinLoadsFromTheModule)
{
    const SkinLayout& skin = std::string(SKIN_NAME) == "wide" ? wide() : compact();
    for (const PictureEntry& entry : skin.pictures) {
        const auto picture = pengui::PicDataFactory::instance().create(std::string(entry.name).c_str());
        ASSERT_NE(picture, nullptr) << entry.name;
        EXPECT_EQ(picture->width(), entry.size.w) << entry.name;
        EXPECT_EQ(picture->height(), entry.size.h) << entry.name;
        const pengui::PicDataInterface* data = picture.get();
        const bool stored = entry.storage == Storage::kOpaque8   ? dynamic_cast<const pengui::PicData8*>(data) != nullptr
                            : entry.storage == Storage::kOpaque24 ? dynamic_cast<const pengui::PicData24*>(data) != nullptr
                            : entry.storage == Storage::kAlpha8   ? dynamic_cast<const pengui::AlphaPicData8*>(data) != nullptr
                                                                  : dynamic_cast<const pengui::AlphaPicData24*>(data) != nullptr;
        EXPECT_TRUE(stored) << entry.name;
    }
    for (std::string_view font : skin.fonts) {
        const auto loaded = pengui::FontFactory::instance().create(std::string(font).c_str());
        ASSERT_NE(loaded, nullptr) << font;
        EXPECT_EQ(loaded->glyphs().size(), 256u) << font;
    }
}
