// A module built without its embedded programs: the entry point builds nothing and answers
// null, as it does for any failure while building.
#include "FakeHost.h"
#include "PluginEntry.h"

#include <gtest/gtest.h>

TEST(MissingBankTest, WithoutItsProgramsThePluginGivesNoEffect)
{
    FakeHost host;
    EXPECT_EQ(mppi::createEffect(FakeHost::callback), nullptr);
    EXPECT_EQ(host.count(audioMasterVersion), 1);
}
