#include "forms/prefs_fixture.h"

namespace tikora::testing {
namespace {

using PrefsWindowTest = PrefsTest;

TEST_F(PrefsWindowTest, FixedDialogWithEveryControlInPlace) {
    PrefsWindow& w = Prefs();
    EXPECT_EQ(w.windowTitle(), QStringLiteral(":: Tikora [ Preferences ] ::"));
    EXPECT_EQ(w.size(), QSize(402, 239));
    EXPECT_EQ(w.minimumSize(), w.maximumSize());
    EXPECT_FALSE(w.windowFlags() & (Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint));
    EXPECT_DOUBLE_EQ(w.font().pointSizeF(), 8.25);
    EXPECT_EQ(w.tabPrincipal.count(), 1);
    EXPECT_EQ(w.tabPrincipal.tabText(0), QStringLiteral(":: Atomic Time ::"));
    struct Row {
        QWidget& control;
        QWidget& container;
        QRect pixels;  // at 15 twips a pixel
        const char* caption;
    };
    const Row rows[] = {
        {w.tabPrincipal, w, {4, 4, 395, 205}, ""},
        {w.frmAtomicTime, w.tabPrincipal, {8, 30, 379, 163}, ""},
        {w.lblAtomicServer, w.frmAtomicTime, {14, 28, 61, 15}, "::[Server]::"},
        {w.cmdGetAtomic, w.frmAtomicTime, {248, 50, 117, 23}, "Get Atomic Time"},
        {w.frmTime, w.frmAtomicTime, {14, 80, 351, 67}, ""},
        {w.lblLocalTime, w.frmTime, {50, 18, 73, 17}, "[Local Time]:"},
        {w.lblLocalTime2, w.frmTime, {132, 18, 49, 17}, "12:00:00"},
        {w.lblAtomicTime, w.frmTime, {50, 40, 83, 17}, "[Atomic Time]:"},
        {w.lblAtomicTime2, w.frmTime, {132, 40, 49, 17}, "00:00:00"},
        {w.cmdUpdate, w.frmTime, {238, 16, 107, 21}, "Update Local Time"},
        {w.cmdSyncTime, w.frmTime, {238, 40, 107, 19}, "Syncronise Time"},
        {w.cmdOk, w, {314, 212, 85, 23}, "&OK"},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.control.parentWidget(), &row.container) << row.caption;
        EXPECT_EQ(row.control.geometry(), row.pixels) << row.caption;
        const QVariant text = row.control.property("text");
        EXPECT_EQ(text.isValid() ? text.toString() : QString(), QString::fromUtf8(row.caption));
    }
    EXPECT_EQ(w.cmbServerList.parentWidget(), &w.frmAtomicTime);
    EXPECT_EQ(w.cmbServerList.geometry().topLeft(), QPoint(92, 24));
    EXPECT_EQ(w.cmbServerList.width(), 273);
    EXPECT_FALSE(w.cmbServerList.isEditable());
    EXPECT_TRUE(w.lblLocalTime.font().bold() && w.lblAtomicTime.font().bold());
    EXPECT_EQ(w.lblLocalTime2.palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(w.lblAtomicTime2.palette().color(QPalette::WindowText), QColor(128, 0, 0));
}

void ExpectFreshList(const PrefsWindow& w) {
    const QStringList items{QStringLiteral("0: NIST [Gaithersburg, Maryland]"),
                            QStringLiteral("1: NIST [Boulder, Colorado]"),
                            QStringLiteral("2: University of Colorado [Boulder, Colorado]"),
                            QStringLiteral("3: NCAR [Boulder, Colorado]"),
                            QStringLiteral("4: Microsoft [Redmond, Washington]"),
                            QStringLiteral("5: Datum [San Jose, California]"),
                            QStringLiteral("6: Abovnet [Virginia]"),
                            QStringLiteral("7: Abovnet [New York City]")};
    ASSERT_EQ(w.cmbServerList.count(), items.size());
    for (int i = 0; i < items.size(); ++i) {
        EXPECT_EQ(w.cmbServerList.itemText(i), items[i]);
    }
    EXPECT_EQ(w.cmbServerList.currentIndex(), 0);
    EXPECT_EQ(w.lblAtomicTime2.text(), QStringLiteral("00:00:00"));
}

TEST_F(PrefsWindowTest, MenuOpensOneWindowAndBringsItForwardWithoutReloading) {
    SetClock(9, 8, 7);
    frmMenu->mnuPreferences->trigger();
    PrefsWindow* first = frmPrefs.Loaded();
    ASSERT_NE(first, nullptr);
    ExpectFreshList(*first);
    EXPECT_EQ(Local(), "09:08:07");
    EXPECT_EQ(AtomicTimeState.LocalTimeText, "09:08:07");
    EXPECT_FLOAT_EQ(AtomicTimeState.LocalTimeStamp, 9 * 3600 + 8 * 60 + 7);
    first->cmbServerList.setCurrentIndex(4);
    frmMenu->mnuPreferences->trigger();
    EXPECT_EQ(frmPrefs.Loaded(), first);
    EXPECT_TRUE(first->isVisible());
    EXPECT_EQ(first->cmbServerList.count(), 8);
    EXPECT_EQ(first->cmbServerList.currentIndex(), 4);
}

TEST_F(PrefsWindowTest, ReopeningStartsAfreshButKeepsTheSharedValues) {
    frmMenu->mnuPreferences->trigger();
    Prefs().cmbServerList.setCurrentIndex(3);
    Answer(NistReply("10:00:00"));
    ASSERT_EQ(Atomic(), "11:00:00");
    Prefs().cmdOk.click();
    EXPECT_EQ(frmPrefs.Loaded(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frmMenu->mnuPreferences->trigger();
    ExpectFreshList(Prefs());
    EXPECT_EQ(AtomicTimeState.AtomicTimeText, "11:00:00");
}

TEST_F(PrefsWindowTest, CloseButtonDropsTheQueryAndStopsTheTimers) {
    LoopbackDaytimeServer server;
    defaultPort_ = server.Port();
    PrefsWindow* window = &Prefs();
    window->cmdGetAtomic.click();
    ASSERT_TRUE(server.WaitForConnections(1));
    EXPECT_TRUE(window->tmLocalTime.isActive());
    window->close();  // the title bar's close button
    EXPECT_EQ(frmPrefs.Loaded(), nullptr);
    EXPECT_EQ(window->wsAtomicTime.state(), QAbstractSocket::UnconnectedState);
    EXPECT_FALSE(window->tmLocalTime.isActive() || window->tmAtomicTime.isActive());
    server.Connection(0).write(NistReply("10:00:00"));  // finds nobody listening
    ASSERT_TRUE(WaitUntilClosed(server.Connection(0)));
    EXPECT_EQ(AtomicTimeState.AtomicTimeText, "");
}

}  // namespace
}  // namespace tikora::testing
