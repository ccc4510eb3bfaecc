#include <gtest/gtest.h>

#include "shared/modDefs.h"

namespace tikora {
namespace {

TEST(Boolean, HoldsMinusOneOrZero) {
    EXPECT_EQ(Boolean(true).Raw(), -1);
    EXPECT_EQ(Boolean(false).Raw(), 0);
    EXPECT_EQ(Boolean().Raw(), 0);
}

TEST(ServerTexts, CheckTheIndexOnEveryAccess) {
    ServerTexts texts;
    texts.Set(0, "first");
    texts.Set(7, "last");
    texts.Set(8, "past the end");
    texts.Set(-1, "before the start");
    EXPECT_EQ(texts.Get(0), "first");
    EXPECT_EQ(texts.Get(7), "last");
    EXPECT_EQ(texts.Get(8), "");
    EXPECT_EQ(texts.Get(-1), "");
}

TEST(SharedState, ResetsToTheStartOfProcess) {
    SkinSettings.CurrentSkinPath = "/skins/x";
    SkinSettings.Separator = ":";
    SkinSettings.CharWidth = 8;
    ClockSettings.BeatTime = true;
    DockState.TrayClockHwnd = 42;
    AtomicTimeState.ServerHosts.Set(3, "host");
    AtomicTimeState.AtomicTimeStamp = 5;

    ResetSharedState();

    EXPECT_EQ(SkinSettings.CurrentSkinPath, "");
    EXPECT_EQ(SkinSettings.Separator.Char(), U'\0');
    EXPECT_EQ(SkinSettings.CharWidth, 0);
    EXPECT_FALSE(ClockSettings.BeatTime);
    EXPECT_EQ(DockState.TrayClockHwnd, 0u);
    EXPECT_EQ(AtomicTimeState.ServerHosts.Get(3), "");
    EXPECT_EQ(AtomicTimeState.AtomicTimeStamp, 0);
}

}  // namespace
}  // namespace tikora
