// Which desktop ways the board asks to keep the display awake, in what
// order, and when it says that nothing holds it.

#include "platform/AwakeChoice.h"

#include <gtest/gtest.h>

TEST(AwakeChoice, ThePortalFirstThenTheServiceAndTheWarningOnlyWhenNothingHolds)
{
    using AwakeChoice::Way;
    const auto ways = [](bool portal, bool service) {
        return AwakeChoice::desktopWays({portal, service});
    };
    EXPECT_EQ(ways(true, true), QList<Way>({Way::Portal, Way::ScreenSaverService}));
    EXPECT_EQ(ways(true, false), QList<Way>({Way::Portal}));
    EXPECT_EQ(ways(false, true), QList<Way>({Way::ScreenSaverService}));
    EXPECT_TRUE(ways(false, false).isEmpty());

    EXPECT_TRUE(AwakeChoice::nothingHolds(false, false, false));
    EXPECT_FALSE(AwakeChoice::nothingHolds(true, false, false)) << "the X11 suspension alone holds";
    EXPECT_FALSE(AwakeChoice::nothingHolds(false, true, false));
    EXPECT_FALSE(AwakeChoice::nothingHolds(false, false, true)) << "not while still asking";
}
