// A module built without its embedded programs: the entry point builds nothing and answers
// null, as it does for any failure while building.
#include "FakeHost.h"
#include "PlatformWindowFactory.h"
#include "PluginEntry.h"
#include "SkinLayout.h"

#include <gtest/gtest.h>

TEST(MissingBankTest, WithoutItsProgramsThePluginGivesNoEffect)
{
    FakeHost host;
    EXPECT_EQ(mppi::createEffect(FakeHost::callback, skin_layout::wide(), pengui::create_platform_window), nullptr);
    EXPECT_EQ(host.count(audioMasterVersion), 1);
}
