#include <QCoreApplication>
#include <QWindow>

#include "forms/form_fixture.h"

namespace tikora::testing {
namespace {

// The start-up against a made-up desktop, with a graphic skin of four 8 x 11 cells and a 4-pixel
// separator, and a system tray that runs.
class Docking : public FormTest {
  protected:
    Docking() {
        WriteDefaultSkin(SkinIni("True", "zefro.png"));
        tray_.host.owner = 0x500;
    }

    // As the program starts: the start-up, the window shown, then the event loop, from which the
    // request to a tray goes out.
    ClockWindow& Start() {
        ClockWindow& clock = frmMain.Get();
        clock.show();
        QCoreApplication::processEvents();
        return clock;
    }

    static QSize BufferSize(ClockWindow& clock) {
        return {clock.picBuffer.Width(), clock.picBuffer.Height()};
    }
};

TEST_F(Docking, TakesTheTaskbarClocksPixelSizeAndLeavesTheTrayAlone) {
    SetTime(12, 34, 56);
    const WindowHandle trayClock = windows_.AddTaskbar({1200, 770, 1260, 792});
    ClockWindow& clock = Start();
    EXPECT_EQ(DockState.TrayClockHwnd, trayClock);
    EXPECT_EQ(windows_.reparented, std::vector<WindowHandle>{trayClock});
    EXPECT_EQ(clock.pos(), QPoint(0, 0));
    EXPECT_EQ(clock.size(), QSize(60, 22));
    EXPECT_TRUE(tray_.requestedSizes.empty());
    EXPECT_FALSE(tray_.onNewTray);
    EXPECT_FALSE(clock.windowFlags().testFlag(Qt::BypassWindowManagerHint));
    EXPECT_TRUE(errors_.empty());
    // The boxes take the window's size in twips as pixels; the skin's strip keeps its own size.
    ASSERT_EQ(DockState.TwipsPerPixelX, 15);  // the offscreen screen's 96 dots per inch
    EXPECT_EQ(BufferSize(clock), QSize(900, 330));
    EXPECT_EQ(QSize(clock.picSkin.Width, clock.picSkin.Height), QSize(900, 330));
    EXPECT_EQ(clock.picSkin.picture.Height(), 11);
    // The tick's ink sits about the middle of the 60 x 22 window, not of the larger buffer.
    clock.tmrClock_Timer();
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

    DockState.TwipsPerPixelX = 12;
    DockState.TwipsPerPixelY = 12;
    DockToTrayClock();
    EXPECT_EQ(clock.size(), QSize(60, 22));
    EXPECT_EQ(BufferSize(clock), QSize(720, 264));
    EXPECT_EQ(QSize(clock.picSkin.Width, clock.picSkin.Height), QSize(720, 264));
}

TEST_F(Docking, WithoutTheWholeChainStaysTopLevelWithNoSizeUntilATrayStarts) {
    // A taskbar without its notification area: the missing link ends the chain at 0.
    windows_.windows.push_back({0x100, 0, "Shell_TrayWnd", {0, 770, 1280, 800}});
    windows_.windows.push_back({0x300, 0x100, "TrayClockWClass", {1200, 774, 1260, 796}});
    tray_.host.owner = 0;
    ClockWindow& clock = Start();
    EXPECT_EQ(DockState.TrayClockHwnd, 0U);
    EXPECT_EQ(windows_.reparented, std::vector<WindowHandle>{0});
    EXPECT_EQ(clock.size(), QSize(0, 0));
    EXPECT_EQ(BufferSize(clock), QSize(0, 0));
    EXPECT_TRUE(tray_.requestedSizes.empty());
    EXPECT_TRUE(clock.tmrClock.isActive());  // the rest of the start-up goes on
    EXPECT_TRUE(errors_.empty());

    tray_.host.owner = 0x600;  // a panel starts
    ASSERT_TRUE(tray_.onNewTray);
    tray_.onNewTray();
    EXPECT_EQ(tray_.requestedSizes.size(), 1U);
}

TEST_F(Docking, AsksEachTrayForTheSkinsWidestBlockAndFillsWhatItGrants) {
    SetTime(12, 34, 56);
    ClockWindow& clock = Start();
    EXPECT_EQ(DockState.TrayClockHwnd, 0U);
    EXPECT_TRUE(clock.windowFlags().testFlag(Qt::BypassWindowManagerHint));
    tray_.host.iconHeight = 24;  // a new tray, which tells its icons' height
    tray_.onNewTray();
    // 4 * 8 + 4 pixels wide and 2 more each side; as high as the tray says, else the cells and 4.
    EXPECT_EQ(tray_.requestedSizes, (std::vector<QSize>{{40, 11 + 4}, {40, 24}}));
    EXPECT_EQ(clock.minimumSize(), QSize(40, 24));  // WM_NORMAL_HINTS through Qt
    EXPECT_EQ(clock.windowHandle()->baseSize(), QSize(40, 24));
    EXPECT_EQ(BufferSize(clock), QSize(40, 24));

    clock.resize(52, 28);  // what the tray's embedding does to the window
    EXPECT_EQ(BufferSize(clock), QSize(52, 28));
    // Drawn at once about the new middle, not at the next tick.
    EXPECT_NE(clock.picBuffer.image.Pixel(26, 14), ColorRefToArgb(clock.picBuffer.BackColor));
}

}  // namespace
}  // namespace tikora::testing
