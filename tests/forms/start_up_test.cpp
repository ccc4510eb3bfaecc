#include <iostream>

#include "posix/modRegistry.h"

#include "forms/form_fixture.h"

namespace tikora::testing {
namespace {

using StartUp = FormTest;

TEST_F(StartUp, CreatingTheClockRunsTheStartUpAndStartsTheTick) {
    ClockWindow& clock = frmMain.Get();
    EXPECT_EQ(DockState.TwipsPerPixelX, 15);  // the offscreen screen has 96 dots per inch
    EXPECT_EQ(DockState.TwipsPerPixelY, 15);
    EXPECT_FALSE(ClockSettings.BeatTime);  // a first run: nothing stored yet
    EXPECT_TRUE(clock.tmrClock.isActive());
    EXPECT_EQ(clock.tmrClock.interval(), 200);
    EXPECT_EQ(clock.windowTitle(), QStringLiteral(":: Tikora ::"));
    EXPECT_TRUE(clock.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(clock.isVisible());
    EXPECT_TRUE(errors_.empty());
}

TEST_F(StartUp, ScreenMetricsSetTheInternetTimeDefault) {
    InitScreenMetrics();
    EXPECT_TRUE(ClockSettings.BeatTime);
}

TEST_F(StartUp, ReferringAgainAfterUnloadingMakesAFreshWindow) {
    ClockWindow* first = &frmMain.Get();
    EXPECT_EQ(&frmMain.Get(), first);
    frmMain.Unload();
    EXPECT_EQ(frmMain.Loaded(), nullptr);
    frmMain.Get();
    EXPECT_NE(frmMain.Loaded(), nullptr);
}

TEST_F(StartUp, NonFatalErrorReturnsAfterTheBox) {
    ShowError("something went wrong", false);
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0].title, ":: Tikora [ Error Message ] ::");
    EXPECT_EQ(errors_[0].message, "something went wrong");
}

using StartUpDeathTest = FormTest;

TEST_F(StartUpDeathTest, FatalErrorEndsThroughExitProgramAfterTheBox) {
    EXPECT_EXIT(
        {
            SetErrorBoxHook([](const std::string& title, const std::string& message) {
                std::cerr << "box <" << title << "> <" << message << ">\n";
            });
            ShowError("cannot go on", true);
            std::cerr << "returned\n";
        },
        ::testing::ExitedWithCode(0), "box <:: Tikora \\[ Error Message \\] ::> <cannot go on>");
}

}  // namespace
}  // namespace tikora::testing

namespace tikora::testing {
namespace {

using StartUpWithBrokenSkins = FormTest;

TEST_F(StartUpWithBrokenSkins, ShowBothMessagesThenTheFatalOneAndEnd) {
    WriteDefaultSkin(SkinIni("True", "missing.png"));
    EXPECT_EXIT(
        {
            SetErrorBoxHook([](const std::string&, const std::string& message) {
                std::cerr << "<" << message << ">";
            });
            frmMain.Get();
        },
        ::testing::ExitedWithCode(0),
        "<Image file not found. Tikora will load the default skin.>"
        "<Image file not found. Tikora will load the default skin.>"
        "<Tikora can't load any of the skins properly. Tikora will exit! Please submit a valid "
        "skin.>$");
}

}  // namespace
}  // namespace tikora::testing

namespace tikora::testing {
namespace {

using StartUpFallback = FormTest;

TEST_F(StartUpFallback, BrokenStoredSkinGivesWayToTheDefault) {
    WriteRegString(kCurrentUser, "Software\\Vardo Software\\Tikora", "ProgramPath", programFolder_);
    WriteRegString(kCurrentUser, "Software\\Vardo Software\\Tikora\\Skins", "CurrentSkinPath",
                   programFolder_ + "/gone");
    WriteRegString(kCurrentUser, "Software\\Vardo Software\\Tikora\\Skins", "CurrentSkinFile",
                   "Gone.ini");
    frmMain.Get();
    EXPECT_TRUE(errors_.empty());  // a skin file that is missing altogether fails quietly
    EXPECT_EQ(SkinSettings.CurrentSkinPath, SkinSettings.DefaultSkinPath);
    EXPECT_EQ(SkinSettings.CurrentSkinFile, SkinSettings.DefaultSkinFile);
    EXPECT_TRUE(frmMain->tmrClock.isActive());
}

TEST_F(StartUpFallback, BothSkinsBrokenSavesTheDefaultAsCurrent) {
    GTEST_FLAG_SET(death_test_style, "fast");  // the child shares this test's folders
    WriteDefaultSkin(SkinIni("True", "missing.png"));
    EXPECT_EXIT(frmMain.Get(), ::testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EQ(
        ReadRegString(kCurrentUser, "Software\\Vardo Software\\Tikora\\Skins", "CurrentSkinPath"),
        DefaultSkinFolder());
}

}  // namespace
}  // namespace tikora::testing
