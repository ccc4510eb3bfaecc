// SPDX-License-Identifier: MIT
#include <QHelpEvent>
#include <QMouseEvent>
#include <QToolTip>
#include <QWindow>
#include <filesystem>

#include "common/modRegistry.h"
#include "forms/form_fixture.h"
#include "modules/modSkins.h"

namespace tikora::testing {
namespace {

// The clock without a taskbar clock to cover, with a graphic skin of four 8 x 11 cells and a
// 4-pixel separator: 36 x 11 of drawing, 40 x 15 with its room.
class Placement : public FormTest {
  protected:
    Placement() { WriteDefaultSkin(SkinIni("True", "zefro.png")); }

    // As the program starts: the window shown, then the event loop, from which it is placed.
    ClockWindow& Start() {
        ClockWindow& clock = frmMain.Get();
        clock.show();
        QCoreApplication::processEvents();
        return clock;
    }

    static void Mouse(ClockWindow& clock, QEvent::Type type, QPoint at) {
        const Qt::MouseButtons held =
            type == QEvent::MouseButtonRelease ? Qt::NoButton : Qt::LeftButton;
        QMouseEvent event(type, clock.mapFromGlobal(at), at, Qt::LeftButton, held, Qt::NoModifier);
        QCoreApplication::sendEvent(&clock, &event);
    }
};

TEST_F(Placement, FloatsWhereItWasPutMovesWithADragAndKeepsThePlaceAClickOpensTheMenu) {
    WriteRegString(kCurrentUser, kSettingsKey, "FloatLeft", "100");
    WriteRegString(kCurrentUser, kSettingsKey, "FloatTop", "50");
    ClockWindow& clock = Start();
    EXPECT_TRUE(clock.isVisible());
    EXPECT_EQ(clock.windowFlags() & (Qt::WindowStaysOnTopHint | Qt::BypassWindowManagerHint),
              Qt::WindowStaysOnTopHint);
    EXPECT_EQ(clock.geometry(), QRect(100, 50, 40, 15));

    Mouse(clock, QEvent::MouseButtonPress, {110, 55});
    Mouse(clock, QEvent::MouseMove, {160, 85});
    Mouse(clock, QEvent::MouseButtonRelease, {160, 85});
    EXPECT_EQ(clock.pos(), QPoint(150, 80));
    EXPECT_EQ(ReadRegString(kCurrentUser, kSettingsKey, "FloatLeft"), "150");
    EXPECT_EQ(ReadRegString(kCurrentUser, kSettingsKey, "FloatTop"), "80");
    EXPECT_FALSE(frmMenu->mnuMain.isVisible());

    Mouse(clock, QEvent::MouseButtonPress, {160, 85});
    Mouse(clock, QEvent::MouseButtonRelease, {161, 85});
    EXPECT_TRUE(frmMenu->mnuMain.isVisible());
    frmMenu->mnuMain.hide();
    EXPECT_EQ(clock.pos(), QPoint(150, 80));
}

// A place that cannot be kept (a folder where the settings file belongs) is told as any failed
// save is.
TEST_F(Placement, ADragThatCannotBeKeptIsTold) {
    const std::string file = settingsFolder_ / "registry.reg";
    std::filesystem::create_directories(file);
    ClockWindow& clock = Start();
    const QPoint at = clock.geometry().center();
    Mouse(clock, QEvent::MouseButtonPress, at);
    Mouse(clock, QEvent::MouseMove, at - QPoint(40, 30));
    Mouse(clock, QEvent::MouseButtonRelease, at - QPoint(40, 30));
    ASSERT_EQ(errors_.size(), 1U);
    EXPECT_EQ(errors_[0].message, "Tikora can't save its settings: " + file + ": Is a directory");
}

TEST_F(Placement, ItsTipShowsTheWholeLocalDateAndTime) {
    time_.now = {2031, 3, 14, 15, 9, 26};
    ClockWindow& clock = Start();
    QHelpEvent hover(QEvent::ToolTip, {5, 5}, clock.mapToGlobal(QPoint(5, 5)));
    QCoreApplication::sendEvent(&clock, &hover);
    const QString tip = QToolTip::text();
    QToolTip::hideText();
    for (const char* part : {"2031", "14", "15", "09", "26"}) {
        EXPECT_TRUE(tip.contains(QString::fromLatin1(part))) << tip.toStdString();
    }
}

TEST_F(Placement, AsksTheTrayForTheSkinsSizeAndAgainWhenANewSkinNeedsAnother) {
    tray_.host.owner = 0x500;
    ClockWindow& clock = Start();
    EXPECT_TRUE(clock.windowFlags().testFlag(Qt::BypassWindowManagerHint));
    EXPECT_EQ(clock.windowHandle()->baseSize(), QSize(40, 15));  // WM_NORMAL_HINTS through Qt
    ASSERT_EQ(tray_.requestedSizes, std::vector<QSize>{QSize(40, 15)});

    std::string ini = SkinIni("True", "wide.png");
    WriteFile(programRoot_ / "Wide/Wide.ini",
              ini.replace(ini.find("CharWidth=8"), 11, "CharWidth=12"));
    WriteStrip(programRoot_ / "Wide/wide.png", 12, 11, 4);
    ASSERT_TRUE(LoadSkin(programRoot_ / "Wide", "Wide.ini"));
    for (int round = 0; round < 3; ++round) {
        QCoreApplication::processEvents();  // the redraw, then the new offer
    }
    EXPECT_EQ(tray_.requestedSizes, (std::vector<QSize>{{40, 15}, {4 * 12 + 4 + 4, 15}}));
}

}  // namespace
}  // namespace tikora::testing
