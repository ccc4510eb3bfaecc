#include <QTabBar>

#include "forms/prefs_fixture.h"

namespace tikora::testing {
namespace {

using PrefsWindowTest = PrefsTest;

TEST_F(PrefsWindowTest, IsAFixedDialogWithItsCaptionAndFont) {
    PrefsWindow& window = Prefs();
    EXPECT_EQ(window.windowTitle(), QStringLiteral(":: Tikora [ Preferences ] ::"));
    EXPECT_EQ(window.size(), QSize(402, 239));
    EXPECT_EQ(window.minimumSize(), window.maximumSize());
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMinimizeButtonHint);
    EXPECT_FALSE(window.windowFlags() & Qt::WindowMaximizeButtonHint);
    EXPECT_TRUE(window.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_DOUBLE_EQ(window.font().pointSizeF(), 8.25);
    EXPECT_EQ(window.tabPrincipal.count(), 1);
    EXPECT_EQ(window.tabPrincipal.tabText(0), QStringLiteral(":: Atomic Time ::"));
    EXPECT_FALSE(window.cmbServerList.isEditable());
}

TEST_F(PrefsWindowTest, EveryControlSitsWhereItsTwipsPutIt) {
    PrefsWindow& w = Prefs();
    struct Row {
        const char* name;
        QWidget& control;
        QWidget& container;
        QRect pixels;  // 15 twips a pixel
    };
    const Row rows[] = {
        {"tabPrincipal", w.tabPrincipal, w, {4, 4, 395, 205}},
        {"frmAtomicTime", w.frmAtomicTime, w.tabPrincipal, {8, 30, 379, 163}},
        {"lblAtomicServer", w.lblAtomicServer, w.frmAtomicTime, {14, 28, 61, 15}},
        {"cmdGetAtomic", w.cmdGetAtomic, w.frmAtomicTime, {248, 50, 117, 23}},
        {"frmTime", w.frmTime, w.frmAtomicTime, {14, 80, 351, 67}},
        {"lblLocalTime", w.lblLocalTime, w.frmTime, {50, 18, 73, 17}},
        {"lblLocalTime2", w.lblLocalTime2, w.frmTime, {132, 18, 49, 17}},
        {"lblAtomicTime", w.lblAtomicTime, w.frmTime, {50, 40, 83, 17}},
        {"lblAtomicTime2", w.lblAtomicTime2, w.frmTime, {132, 40, 49, 17}},
        {"cmdUpdate", w.cmdUpdate, w.frmTime, {238, 16, 107, 21}},
        {"cmdSyncTime", w.cmdSyncTime, w.frmTime, {238, 40, 107, 19}},
        {"cmdOk", w.cmdOk, w, {314, 212, 85, 23}},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(row.control.parentWidget(), &row.container) << row.name;
        EXPECT_EQ(row.control.geometry(), row.pixels) << row.name;
    }
    EXPECT_EQ(w.cmbServerList.parentWidget(), &w.frmAtomicTime);
    EXPECT_EQ(w.cmbServerList.pos(), QPoint(92, 24));
    EXPECT_EQ(w.cmbServerList.width(), 273);
}

TEST_F(PrefsWindowTest, CaptionsAndColours) {
    PrefsWindow& w = Prefs();
    EXPECT_EQ(w.lblAtomicServer.text(), QStringLiteral("::[Server]::"));
    EXPECT_EQ(w.cmdGetAtomic.text(), QStringLiteral("Get Atomic Time"));
    EXPECT_EQ(w.lblLocalTime.text(), QStringLiteral("[Local Time]:"));
    EXPECT_EQ(w.lblAtomicTime.text(), QStringLiteral("[Atomic Time]:"));
    EXPECT_EQ(w.cmdUpdate.text(), QStringLiteral("Update Local Time"));
    EXPECT_EQ(w.cmdSyncTime.text(), QStringLiteral("Syncronise Time"));
    EXPECT_EQ(w.cmdOk.text(), QStringLiteral("&OK"));
    EXPECT_TRUE(w.lblLocalTime.font().bold());
    EXPECT_TRUE(w.lblAtomicTime.font().bold());
    EXPECT_FALSE(w.lblLocalTime2.font().bold());
    EXPECT_EQ(w.lblLocalTime2.palette().color(QPalette::WindowText), QColor(0, 0, 128));
    EXPECT_EQ(w.lblAtomicTime2.palette().color(QPalette::WindowText), QColor(128, 0, 0));
}

QStringList Items(const QComboBox& list) {
    QStringList items;
    for (int i = 0; i < list.count(); ++i) {
        items << list.itemText(i);
    }
    return items;
}

const QStringList kItems{QStringLiteral("0: NIST [Gaithersburg, Maryland]"),
                         QStringLiteral("1: NIST [Boulder, Colorado]"),
                         QStringLiteral("2: University of Colorado [Boulder, Colorado]"),
                         QStringLiteral("3: NCAR [Boulder, Colorado]"),
                         QStringLiteral("4: Microsoft [Redmond, Washington]"),
                         QStringLiteral("5: Datum [San Jose, California]"),
                         QStringLiteral("6: Abovnet [Virginia]"),
                         QStringLiteral("7: Abovnet [New York City]")};

TEST_F(PrefsWindowTest, LoadFillsTheTableAndListAndStartsTheLocalClock) {
    SetClock(9, 8, 7);
    PrefsWindow& w = Prefs();
    EXPECT_EQ(Items(w.cmbServerList), kItems);
    EXPECT_EQ(w.cmbServerList.currentIndex(), 0);
    for (int i = 0; i < 8; ++i) {
        EXPECT_FALSE(AtomicTimeState.ServerHosts.Get(i).empty()) << i;
        EXPECT_FALSE(AtomicTimeState.ServerAddresses.Get(i).empty()) << i;
    }
    EXPECT_EQ(AtomicTimeState.ServerNames.Get(2), "University of Colorado [Boulder, Colorado]");
    EXPECT_EQ(Local(), "09:08:07");
    EXPECT_EQ(AtomicTimeState.LocalTimeText, "09:08:07");
    EXPECT_FLOAT_EQ(AtomicTimeState.LocalTimeStamp, 9 * 3600 + 8 * 60 + 7);
    EXPECT_EQ(Atomic(), "00:00:00");
}

TEST_F(PrefsWindowTest, MenuOpensItOnceAndBringsItForwardWithoutReloading) {
    frmMenu->mnuPreferences->trigger();
    PrefsWindow* first = frmPrefs.Loaded();
    ASSERT_NE(first, nullptr);
    EXPECT_TRUE(first->isVisible());
    first->cmbServerList.setCurrentIndex(4);
    frmMenu->mnuPreferences->trigger();
    EXPECT_EQ(frmPrefs.Loaded(), first);
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
    EXPECT_EQ(Items(Prefs().cmbServerList), kItems);
    EXPECT_EQ(Prefs().cmbServerList.currentIndex(), 0);
    EXPECT_EQ(Atomic(), "00:00:00");
    EXPECT_EQ(AtomicTimeState.AtomicTimeText, "11:00:00");
}

TEST_F(PrefsWindowTest, CloseButtonDropsTheQueryAndStopsTheTimers) {
    LoopbackDaytimeServer server;
    defaultPort_ = server.Port();
    frmMenu->mnuPreferences->trigger();
    PrefsWindow* window = frmPrefs.Loaded();
    window->cmdGetAtomic.click();
    ASSERT_TRUE(server.WaitForConnections(1));
    EXPECT_TRUE(window->tmLocalTime.isActive());

    window->close();  // the title bar's close button
    EXPECT_EQ(frmPrefs.Loaded(), nullptr);
    EXPECT_EQ(window->wsAtomicTime.state(), QAbstractSocket::UnconnectedState);
    EXPECT_FALSE(window->tmLocalTime.isActive());
    EXPECT_FALSE(window->tmAtomicTime.isActive());
    // The server's answer finds nobody listening.
    server.Connection(0).write(NistReply("10:00:00"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return server.Connection(0).state() == QAbstractSocket::UnconnectedState; },
        kWaitMs));
    EXPECT_EQ(AtomicTimeState.AtomicTimeText, "");
}

}  // namespace
}  // namespace tikora::testing
