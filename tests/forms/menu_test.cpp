#include <QTest>

#include "forms/form_fixture.h"
#include "qt/frmAbout.h"
#include "qt/frmMenu.h"

namespace tikora::testing {
namespace {

class MenuTest : public FormTest {
  protected:
    ~MenuTest() override {
        frmAbout.Unload();
        frmMenu.Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
};

TEST_F(MenuTest, HoldsEveryItemInOrder) {
    QStringList captions;
    for (const QAction* action : frmMenu->mnuMain.actions()) {
        captions << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(captions,
              (QStringList{QStringLiteral("&Adjust Date/Time"), QStringLiteral("&Preferences"),
                           QStringLiteral("-"), QStringLiteral("&Internet Time (.beat)"),
                           QStringLiteral("-"), QStringLiteral("&Change Skin"), QStringLiteral("-"),
                           QStringLiteral("A&bout"), QStringLiteral("&Exit")}));
    EXPECT_TRUE(frmMenu->mnuBeat->isChecked());
    EXPECT_FALSE(frmMenu->isVisible());
}

TEST_F(MenuTest, AClickOnTheClockOpensTheMenu) {
    AddTaskbarClock(60, 22);
    frmMain->show();
    QTest::mouseClick(&frmMain.Get(), Qt::LeftButton, {}, QPoint(10, 10));
    EXPECT_TRUE(frmMenu->mnuMain.isVisible());
    frmMenu->mnuMain.close();
}

TEST_F(MenuTest, InternetTimeTwiceReturnsModeAndCheckMark) {
    ClockSettings.BeatTime = true;
    frmMenu->mnuBeat->trigger();  // as a click does, Qt flipping the mark first
    EXPECT_FALSE(ClockSettings.BeatTime);
    EXPECT_FALSE(frmMenu->mnuBeat->isChecked());
    frmMenu->mnuBeat->trigger();
    EXPECT_TRUE(ClockSettings.BeatTime);
    EXPECT_TRUE(frmMenu->mnuBeat->isChecked());
}

TEST_F(MenuTest, SwitchingInternetTimeChangesTheNextTick) {
    SetTime(12, 34, 0);
    AddTaskbarClock(60, 22);
    frmMain.Get();  // a first run: hours and minutes, the check mark cleared
    frmMain->tmrClock_Timer();
    const PixelBuffer timeFrame = frmMain->picBuffer.image;
    frmMenu->mnuBeat->trigger();
    EXPECT_TRUE(ClockSettings.BeatTime);
    frmMain->tmrClock_Timer();
    EXPECT_NE(std::vector<Argb>(timeFrame.Data(), timeFrame.Data() + timeFrame.Width() * 30),
              std::vector<Argb>(frmMain->picBuffer.image.Data(),
                                frmMain->picBuffer.image.Data() + timeFrame.Width() * 30));
}

TEST_F(MenuTest, AboutTwiceIsOneWindowExtendedOnce) {
    frmMenu->mnuAbout->trigger();
    AboutWindow* first = frmAbout.Loaded();
    frmMenu->mnuAbout->trigger();
    EXPECT_EQ(frmAbout.Loaded(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->windowTitle(), QStringLiteral(":: Tikora [ About ] ::"));
    EXPECT_EQ(first->lblProgName.text(), QStringLiteral("Tikora 1.0"));
    EXPECT_EQ(first->lblReleaseDate.text(),
              QStringLiteral("Release Date: April 27, 2001 (Friday)"));
    EXPECT_FALSE(first->Image1.pixmap().isNull());
}

TEST_F(MenuTest, AboutReopenedAfterOkShowsTheSameTexts) {
    frmMenu->mnuAbout->trigger();
    frmAbout->cmdOk.click();
    EXPECT_EQ(frmAbout.Loaded(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frmMenu->mnuAbout->trigger();
    EXPECT_EQ(frmAbout->lblProgName.text(), QStringLiteral("Tikora 1.0"));
    frmAbout->close();  // the title bar's close button
    EXPECT_EQ(frmAbout.Loaded(), nullptr);
}

TEST_F(MenuTest, AboutKeepsItsDesignSize) {
    frmMain.Get();  // measures the screen: 15 twips a pixel
    frmMenu->mnuAbout->trigger();
    EXPECT_EQ(frmAbout->size(), QSize(283, 108));
    EXPECT_EQ(frmAbout->cmdOk.geometry(), QRect(222, 82, 57, 21));
}

}  // namespace
}  // namespace tikora::testing
