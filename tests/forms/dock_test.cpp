#include <QCoreApplication>
#include <QWindow>

#include "forms/form_fixture.h"

namespace tikora::testing {
namespace {

// The start-up against a made-up desktop: the taskbar's clock window where the fake finder has it.
class DockToTheTaskbarClock : public FormTest {
  protected:
    DockToTheTaskbarClock() { WriteDefaultSkin(SkinIni("True", "zefro.png")); }

    ClockWindow& StartWithTaskbarClock(WindowRect clock) {
        trayClock_ = windows_.AddTaskbar(clock);
        return frmMain.Get();
    }

    WindowHandle trayClock_ = 0;
};

TEST_F(DockToTheTaskbarClock, TakesTheClockWindowsPixelSizeAtItsTopLeftCorner) {
    ClockWindow& clock = StartWithTaskbarClock({1200, 770, 1260, 792});
    EXPECT_EQ(DockState.TrayClockHwnd, trayClock_);
    EXPECT_EQ(clock.pos(), QPoint(0, 0));
    EXPECT_EQ(clock.size(), QSize(60, 22));
    ASSERT_EQ(windows_.reparented.size(), 1u);
    EXPECT_EQ(windows_.reparented[0].child, clock.windowHandle());
    EXPECT_EQ(windows_.reparented[0].parent, trayClock_);
    EXPECT_TRUE(clock.tmrClock.isActive());
    EXPECT_TRUE(errors_.empty());
}

TEST_F(DockToTheTaskbarClock, SizesTheBoxesByTheWindowsTwipsFigures) {
    ClockWindow& clock = StartWithTaskbarClock({1200, 770, 1260, 792});
    ASSERT_EQ(DockState.TwipsPerPixelX, 15);  // the offscreen screen's 96 dots per inch
    EXPECT_EQ(clock.picBuffer.Width(), 900);
    EXPECT_EQ(clock.picBuffer.Height(), 330);
    EXPECT_EQ(clock.picSkin.Width, 900);
    EXPECT_EQ(clock.picSkin.Height, 330);
    // The skin's strip keeps its own size whatever the box's.
    EXPECT_EQ(clock.picSkin.picture.Height(), 11);

    DockState.TwipsPerPixelX = 12;
    DockState.TwipsPerPixelY = 12;
    DockToTrayClock();
    EXPECT_EQ(clock.size(), QSize(60, 22));
    EXPECT_EQ(clock.picBuffer.Width(), 720);
    EXPECT_EQ(clock.picBuffer.Height(), 264);
    EXPECT_EQ(clock.picSkin.Width, 720);
    EXPECT_EQ(clock.picSkin.Height, 264);
}

TEST_F(DockToTheTaskbarClock, CentresTheTimeBoxInTheWindow) {
    ClockWindow& clock = StartWithTaskbarClock({0, 0, 60, 22});
    EXPECT_EQ(clock.picTime.Left, 60 / 2 - clock.picTime.Width / 2 - 1);
    EXPECT_EQ(clock.picTime.Top, 22 / 2 - clock.picTime.Height / 2 - 1);
    EXPECT_GT(clock.picTime.Width, 0);  // its design-time size
}

TEST_F(DockToTheTaskbarClock, DrawsTheTickCentredInTheDockedWindow) {
    SetTime(12, 34, 56);
    ClockWindow& clock = StartWithTaskbarClock({0, 0, 60, 22});
    clock.tmrClock_Timer();
    // The ink sits about the middle of the 60 x 22 window, not of the larger buffer.
    const Argb background = ColorRefToArgb(clock.picBuffer.BackColor);
    int left = 1 << 30, right = -1;
    for (int y = 0; y < clock.picBuffer.Height(); ++y) {
        for (int x = 0; x < clock.picBuffer.Width(); ++x) {
            if (clock.picBuffer.image.Pixel(x, y) != background) {
                left = std::min(left, x);
                right = std::max(right, x);
            }
        }
    }
    ASSERT_GE(right, 0);
    EXPECT_NEAR((left + right) / 2.0, 30, 3);
}

TEST_F(DockToTheTaskbarClock, WithoutTheWholeChainStaysTopLevelWithNoSize) {
    // A taskbar without its notification area: the missing link ends the chain at 0.
    windows_.windows.push_back({0x100, 0, "Shell_TrayWnd", {0, 770, 1280, 800}});
    windows_.windows.push_back({0x300, 0x100, "TrayClockWClass", {1200, 774, 1260, 796}});
    ClockWindow& clock = frmMain.Get();
    EXPECT_EQ(DockState.TrayClockHwnd, 0u);
    EXPECT_EQ(clock.pos(), QPoint(0, 0));
    EXPECT_EQ(clock.size(), QSize(0, 0));
    EXPECT_EQ(clock.picBuffer.Width(), 0);
    EXPECT_EQ(clock.picSkin.Height, 0);
    ASSERT_EQ(windows_.reparented.size(), 1u);
    EXPECT_EQ(windows_.reparented[0].parent, 0u);
    // The rest of the start-up goes on.
    EXPECT_TRUE(clock.tmrClock.isActive());
    EXPECT_FALSE(SkinSettings.CurrentSkinFile.empty());
    EXPECT_TRUE(errors_.empty());
}

// Without the taskbar's clock, the system tray (when one runs) takes the clock.
class DockIntoTheSystemTray : public DockToTheTaskbarClock {
  protected:
    DockIntoTheSystemTray() { tray_.host.owner = 0x500; }

    // The dock request goes out once the start-up is over, from the event loop.
    ClockWindow& Start() {
        ClockWindow& clock = frmMain.Get();
        QCoreApplication::processEvents();
        return clock;
    }
};

TEST_F(DockIntoTheSystemTray, AsksForTheSkinsWidestBlockAtTheTraysHeight) {
    tray_.host.iconHeight = 24;
    ClockWindow& clock = Start();
    EXPECT_EQ(DockState.TrayClockHwnd, 0u);
    // Four 8-pixel cells and the 4-pixel separator, with 2 pixels either side.
    ASSERT_EQ(tray_.requestedSizes.size(), 1u);
    EXPECT_EQ(tray_.requestedSizes[0], QSize(40, 24));
    EXPECT_EQ(clock.minimumSize(), QSize(40, 24));  // WM_NORMAL_HINTS through Qt
    EXPECT_EQ(clock.windowHandle()->baseSize(), QSize(40, 24));
    EXPECT_TRUE(clock.windowFlags().testFlag(Qt::BypassWindowManagerHint));
    EXPECT_EQ(clock.picBuffer.Width(), 40);
    EXPECT_EQ(clock.picBuffer.Height(), 24);
}

TEST_F(DockIntoTheSystemTray, AsksForTheContentsHeightWhenTheTrayDoesNotSay) {
    Start();
    ASSERT_EQ(tray_.requestedSizes.size(), 1u);
    EXPECT_EQ(tray_.requestedSizes[0], QSize(40, 11 + 4));
}

TEST_F(DockIntoTheSystemTray, FollowsTheSizeTheTrayGrants) {
    SetTime(12, 34, 56);
    ClockWindow& clock = Start();
    clock.show();
    clock.resize(52, 20);  // what the tray's embedding does to the window
    EXPECT_EQ(clock.picBuffer.Width(), 52);
    EXPECT_EQ(clock.picBuffer.Height(), 20);
    EXPECT_EQ(clock.picTime.Left, 52 / 2 - clock.picTime.Width / 2 - 1);
    // Drawn at once, not at the next tick.
    EXPECT_NE(clock.picBuffer.image.Pixel(26, 10), ColorRefToArgb(clock.picBuffer.BackColor));
}

TEST_F(DockIntoTheSystemTray, AsksEveryNewTrayAgain) {
    Start();
    ASSERT_TRUE(tray_.onNewTray);
    tray_.onNewTray();
    EXPECT_EQ(tray_.requestedSizes.size(), 2u);
}

TEST_F(DockIntoTheSystemTray, WaitsForATrayWhenNoneRuns) {
    tray_.host.owner = 0;
    ClockWindow& clock = Start();
    EXPECT_TRUE(tray_.requestedSizes.empty());
    EXPECT_EQ(clock.size(), QSize(0, 0));
    ASSERT_TRUE(tray_.onNewTray);
    tray_.host.owner = 0x600;  // a panel starts
    tray_.onNewTray();
    EXPECT_EQ(tray_.requestedSizes.size(), 1u);
}

TEST_F(DockIntoTheSystemTray, IsNotAskedWhenTheTaskbarsClockIsThere) {
    ClockWindow& clock = StartWithTaskbarClock({0, 0, 60, 22});
    QCoreApplication::processEvents();
    EXPECT_TRUE(tray_.requestedSizes.empty());
    EXPECT_FALSE(tray_.onNewTray);
    EXPECT_EQ(clock.size(), QSize(60, 22));
    EXPECT_FALSE(clock.windowFlags().testFlag(Qt::BypassWindowManagerHint));
}

}  // namespace
}  // namespace tikora::testing
