#include <iostream>

#include "forms/form_fixture.h"

namespace tikora::testing {
namespace {

using StartUp = FormTest;

TEST_F(StartUp, CreatingTheClockRunsTheStartUpAndStartsTheTick) {
    ClockWindow& clock = frmMain.Get();
    EXPECT_EQ(DockState.TwipsPerPixelX, 15);  // the offscreen screen has 96 dots per inch
    EXPECT_EQ(DockState.TwipsPerPixelY, 15);
    EXPECT_TRUE(ClockSettings.BeatTime);
    EXPECT_TRUE(clock.tmrClock.isActive());
    EXPECT_EQ(clock.tmrClock.interval(), 200);
    EXPECT_EQ(clock.windowTitle(), QStringLiteral(":: Tikora ::"));
    EXPECT_TRUE(clock.windowFlags().testFlag(Qt::FramelessWindowHint));
    EXPECT_FALSE(clock.isVisible());
    EXPECT_TRUE(errors_.empty());
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

TEST(StartUpDeathTest, FatalErrorEndsThroughExitProgramAfterTheBox) {
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
