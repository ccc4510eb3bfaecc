// SPDX-License-Identifier: MIT
#include <QTest>

#include "common/modRegistry.h"
#include "forms/form_fixture.h"
#include "qt/frmAbout.h"
#include "qt/frmMenu.h"

namespace tikora::testing {
namespace {

using MenuTest = FormTest;

TEST_F(MenuTest, AClickOnTheClockOpensTheMenu) {
    AddTaskbarClock(60, 22);
    frmMain->show();
    QTest::mouseClick(&frmMain.Get(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(frmMenu->mnuMain.isVisible());
    frmMenu->mnuMain.close();
}

TEST_F(MenuTest, InternetTimeFlipsModeCheckMarkAndTheNextTick) {
    SetTime(12, 34, 0);
    AddTaskbarClock(60, 22);
    frmMain.Get();  // a first run: hours and minutes, the check mark cleared
    const auto frame = [] {
        frmMain->tmrClock_Timer();
        const PixelBuffer& image = frmMain->picBuffer.image;
        return std::vector<Argb>(image.Data(), image.Data() + image.Width() * image.Height());
    };
    const std::vector<Argb> time = frame();
    for (const bool beat : {true, false}) {
        frmMenu->mnuBeat->trigger();  // as a click does, Qt flipping the mark first
        EXPECT_EQ(bool(ClockSettings.BeatTime), beat);
        EXPECT_EQ(frmMenu->mnuBeat->isChecked(), beat);
        EXPECT_EQ(ReadRegString(kCurrentUser, kSettingsKey, "BeatTime"), beat ? "True" : "False");
        EXPECT_EQ(frame() == time, !beat);
    }
}

TEST_F(MenuTest, AboutIsOneWindowThatReopensWithTheSameTexts) {
    frmMenu->mnuAbout->trigger();
    AboutWindow* first = frmAbout.Loaded();
    frmMenu->mnuAbout->trigger();
    EXPECT_EQ(frmAbout.Loaded(), first);
    EXPECT_TRUE(first->isVisible());
    frmAbout->cmdOk.click();
    EXPECT_EQ(frmAbout.Loaded(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frmMenu->mnuAbout->trigger();
    EXPECT_EQ(frmAbout->lblProgName.text(), QStringLiteral("Tikora 1.0"));
    frmAbout->close();  // the title bar's close button
    EXPECT_EQ(frmAbout.Loaded(), nullptr);
}

}  // namespace
}  // namespace tikora::testing
