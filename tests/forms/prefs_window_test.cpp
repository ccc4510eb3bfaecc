// SPDX-License-Identifier: MIT
#include <netdb.h>

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>

#include "atomic/time_servers.h"
#include "core/fake_zone.h"
#include "forms/form_fixture.h"
#include "modules/clock_timer.h"

namespace tikora::testing {
namespace {

using namespace std::chrono;

// Ample for the loopback interface: a test that waits this long has failed.
constexpr int kWaitMs = 5000;
// The line names the true time at which the server sends it: 2023-06-17 12:34:56 UTC.
const QByteArray kNist("\n60112 23-06-17 12:34:56 50 0 0 895.5 UTC(NIST) * \n");
const UtcTime kTrue = sys_days{2023y / 6 / 17} + 12h + 34min + 56s;

// The computer's clock as the window reads and sets it; the machine's own is never touched. A set
// moves it and is answered with `answer`, at once, or when the test calls Answer().
class FakeComputerClock final : public WallClock, public ClockSetter {
  public:
    mutable ClockReading now;
    mutable std::vector<UtcTime> sets;
    ClockSetReport answer;
    bool answerLater = false;

    ClockReading Read() const override { return now; }
    void SetClock(UtcTime when, ClockSetDone done) const override {
        sets.push_back(when);
        pending_ = [this, when, asked = now.steady, done] {
            if (answer.result == ClockSetResult::Done) {
                now.utc = when + (now.steady - asked);
            }
            done(answer);
        };
        if (!answerLater) {
            Answer();
        }
    }
    void Answer() const { std::exchange(pending_, {})(); }
    void Advance(nanoseconds by) {
        now.utc += by;
        now.steady += by;
    }

  private:
    mutable std::function<void()> pending_;
};

// The window one hour east of UTC, on a clock `clock_.now.utc` ahead of the true time. Its queries
// go to a Daytime server on 127.0.0.1 that sends its one connection `answer` at once, then hangs
// up or stays open; the question before a large change is answered with `confirm_`.
class PrefsWindowTest : public FormTest {
  protected:
    PrefsWindowTest() {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
        SetDaytimeRouteForTesting([this](const QString& host, std::uint16_t port) {
            asked_ << host + QStringLiteral(":") + QString::number(port);
            return DaytimeEndpoint{QStringLiteral("127.0.0.1"), server_.serverPort()};
        });
        SetConfirmHookForTesting([this](const std::string& question) {
            questions_.push_back(question);
            return confirm_;
        });
    }
    ~PrefsWindowTest() override {
        SetDaytimeRouteForTesting({});
        SetConfirmHookForTesting({});
    }

    PrefsWindow& Prefs() { return frmPrefs.Get(); }
    QString Atomic() { return Prefs().lblAtomicTime2.text(); }
    std::string Status() { return Prefs().lblStatus.text().toStdString(); }
    // Clicks "Get Atomic Time"; the server's end of the connection.
    QTcpSocket& Ask(const QByteArray& answer = {}) {
        Prefs().cmdGetAtomic.click();
        EXPECT_TRUE(server_.waitForNewConnection(kWaitMs));
        QTcpSocket& connection = *server_.nextPendingConnection();
        connection.write(answer);
        return connection;
    }
    // The server sends `reply` and hangs up.
    void Answer(const QByteArray& reply) {
        Ask(reply).disconnectFromHost();
        ASSERT_TRUE(QTest::qWaitFor(
            [&] { return Prefs().wsAtomicTime.state() == QAbstractSocket::UnconnectedState; },
            kWaitMs));
    }

    FakeComputerClock clock_;
    const FakeZone oneHourEast_{1h, 1h, {}, {}};
    ScopedServices withClock_{[this] {
        Services services = Platform();
        services.clockSetter = &clock_;
        services.wallClock = &clock_;
        services.zoneRules = &oneHourEast_;
        return services;
    }()};
    QTcpServer server_;
    QStringList asked_;
    std::vector<std::string> questions_;
    bool confirm_ = false;
};

TEST_F(PrefsWindowTest, MenuOpensOneWindowWithEightServersAndReopensItAfresh) {
    clock_.now.utc = sys_days{2023y / 6 / 17} + 8h + 8min + 7s;
    frmMenu->mnuPreferences->trigger();
    PrefsWindow* first = frmPrefs.Loaded();
    ASSERT_TRUE(first != nullptr && first->isVisible());
    ASSERT_EQ(first->cmbServerList.count(), kTimeServerCount);
    EXPECT_EQ(first->lblLocalTime2.text(), QStringLiteral("09:08:07"));
    EXPECT_EQ(first->tmLocalTime.interval(), 1000);  // woken when its shown second changes
    EXPECT_FALSE(first->tmAtomicTime.isActive());    // standing still: nothing to wake for
    first->cmbServerList.setCurrentIndex(4);
    frmMenu->mnuPreferences->trigger();
    EXPECT_EQ(frmPrefs.Loaded(), first);
    EXPECT_EQ(first->cmbServerList.currentIndex(), 4);

    Answer(kNist);
    EXPECT_EQ(asked_, QStringList(QString::fromUtf8(kTimeServers[4].host) + QStringLiteral(":13")));
    EXPECT_EQ(Atomic(), QStringLiteral("13:34:56"));
    EXPECT_EQ(Status(), std::string(kTimeServers[4].host) + " answered.");
    first->close();  // the title bar's close button
    EXPECT_EQ(frmPrefs.Loaded(), nullptr);
    EXPECT_FALSE(first->tmLocalTime.isActive() || first->tmAtomicTime.isActive());
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    frmMenu->mnuPreferences->trigger();
    EXPECT_EQ(Prefs().cmbServerList.currentIndex(), 0);
    EXPECT_EQ(Prefs().cmbServerList.count(), kTimeServerCount);
    EXPECT_EQ(Atomic(), QStringLiteral("00:00:00"));
    EXPECT_EQ(AtomicTimeState.AtomicTimeText, "13:34:56");
}

TEST_F(PrefsWindowTest, ReplyInPiecesIsHandledOnceWhenItsLineEnds) {
    QTcpSocket& connection = Ask(kNist.left(26));
    ASSERT_TRUE(QSignalSpy(&Prefs().wsAtomicTime, &QIODevice::readyRead).wait(kWaitMs));
    EXPECT_EQ(Atomic(), QStringLiteral("00:00:00"));
    connection.write(kNist.mid(26) + QByteArray(kNist).replace(16, 8, "05:05:05"));
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return connection.state() == QAbstractSocket::UnconnectedState; }, kWaitMs));
    EXPECT_EQ(Atomic(), QStringLiteral("13:34:56"));
    EXPECT_EQ(connection.readAll(), QByteArray());  // a Daytime client sends nothing
}

TEST_F(PrefsWindowTest, FloodIsCutAtOneKibibyteAndTheRestDropped) {
    Ask(kNist.left(25) + QByteArray(1 << 20, '#'));
    EXPECT_EQ(Prefs().wsAtomicTime.readBufferSize(), 1024);
    ASSERT_TRUE(QTest::qWaitFor([&] { return Atomic() == QStringLiteral("13:34:56"); }, kWaitMs));
}

// Each query follows an answer; it ends and says why naming the host, while the atomic display
// runs on from that answer, which "Syncronise Time" still follows.
TEST_F(PrefsWindowTest, QueriesEndAndSayWhy) {
    const std::string host(kTimeServers[0].host);
    const struct {
        const char* name;
        std::function<void()> query;
        std::string status;
    } cases[] = {
        {"Silent",
         [this] {
             Ask();
             EXPECT_TRUE(Prefs().tmAtomicQuery.isActive() && Prefs().tmAtomicTime.isActive());
             EXPECT_EQ(Prefs().tmAtomicQuery.interval(), 10000);
             Prefs().tmAtomicQuery_Timer();  // the ten seconds are up
         },
         host + " did not answer within 10 seconds."},
        {"Dropped", [this] { Answer({}); },
         host + " closed the connection without sending the time."},
        {"NotATime", [this] { Answer("busy, try later\n"); }, host + " did not send a time."},
        {"Refused",
         [this] {
             server_.close();
             Prefs().cmdGetAtomic.click();
             EXPECT_TRUE(QTest::qWaitFor([&] { return Status().find("Asking") != 0; }, kWaitMs));
         },
         host + " refused the connection."},
    };
    for (const auto& c : cases) {
        Answer(kNist);
        c.query();
        EXPECT_EQ(Status(), c.status) << c.name;
        EXPECT_EQ(Prefs().wsAtomicTime.state(), QAbstractSocket::UnconnectedState) << c.name;
        EXPECT_FALSE(Prefs().tmAtomicQuery.isActive()) << c.name;
        clock_.Advance(3s);
        Prefs().tmAtomicTime_Timer();
        EXPECT_EQ(Atomic(), QStringLiteral("13:34:59")) << c.name;
        Prefs().cmdSyncTime.click();
        EXPECT_EQ(Prefs().lblLocalTime2.text(), QStringLiteral("13:34:59")) << c.name;
    }
}

// Where the system says the name does not exist, and only there, there is no such server.
TEST_F(PrefsWindowTest, AFailedLookupSaysWhatFailed) {
    const std::string lookUp = "Could not look up " + std::string(kTimeServers[0].host) + ": ";
    const struct {
        int error;
        bool routeOut;
        std::string status;
    } cases[] = {
        {EAI_NONAME, true, "There is no server called time-a-g.nist.gov."},
        {EAI_AGAIN, true, lookUp + "the name server did not answer."},
        {EAI_AGAIN, false, lookUp + "the network is unreachable."},
        {EAI_FAIL, true, lookUp + "Non-recoverable failure in name resolution."},
    };
    for (const auto& c : cases) {
        SetNameCheckForTesting(
            [&](const std::string&) { return LookupVerdictOf(c.error, 0, c.routeOut); });
        Prefs().cmdGetAtomic.click();
        Prefs().wsAtomicTime_Error(QAbstractSocket::HostNotFoundError);
        EXPECT_TRUE(QTest::qWaitFor([&] { return Status() == c.status; }, kWaitMs)) << Status();
    }
    SetNameCheckForTesting({});
}

// A line that trickles in for more than a second is shown but does not set the clock.
TEST_F(PrefsWindowTest, ALateLineIsShownButDoesNotSetTheClock) {
    clock_.now.utc = kTrue;
    QTcpSocket& connection = Ask(kNist.left(20));
    ASSERT_TRUE(QSignalSpy(&Prefs().wsAtomicTime, &QIODevice::readyRead).wait(kWaitMs));
    clock_.Advance(1500ms);
    connection.write(kNist.mid(20));
    ASSERT_TRUE(QTest::qWaitFor([&] { return Atomic() != QStringLiteral("00:00:00"); }, kWaitMs));
    EXPECT_EQ(Atomic(), QStringLiteral("13:34:56"));
    EXPECT_EQ(Status(), std::string(kTimeServers[0].host) +
                            " answered, but its line arrived 1.5 s late: its time will not set "
                            "the clock.");
    Prefs().cmdSyncTime.click();
    Prefs().cmdUpdate.click();
    EXPECT_EQ(Status(), UpdateRefusalText(UpdateRefusal::Late));
    EXPECT_TRUE(clock_.sets.empty());
}

// The local display follows a change of the computer's clock as soon as the clock's wake hears of
// it; an answer of another date says so and sets the date with the time once the user agrees.
TEST_F(PrefsWindowTest, TheLocalDisplayFollowsTheClockAndAnAnswerOfAnotherDateSetsTheDate) {
    FakeClockWake clockWake;
    Services services = Platform();
    services.clockWake = &clockWake;
    const ScopedServices withWake(services);
    ClockTimer tmrClock;  // frmMain's, which listens to the wake
    tmrClock.OnTimer([] {});
    Prefs();
    clock_.now.utc = kTrue;
    clockWake.wake();
    EXPECT_EQ(Prefs().lblLocalTime2.text(), QStringLiteral("13:34:56"));

    Answer(QByteArray(kNist).replace(1, 14, "88044 99-12-07"));
    EXPECT_EQ(Status(), std::string(kTimeServers[0].host) + " answered, dated 2099-12-07.");
    Prefs().cmdSyncTime.click();
    confirm_ = true;
    Prefs().cmdUpdate.click();
    ASSERT_EQ(questions_.size(), 1u);
    EXPECT_TRUE(questions_[0].ends_with(", to 2099-12-07. Set it?")) << questions_[0];
    EXPECT_EQ(clock_.sets, std::vector<UtcTime>{sys_days{2099y / 12 / 7} + 12h + 34min + 56s});
}

// A clock 9 min 59.7 s slow; the line arrives at the second it names. Sync 312.7 ms later, Update
// 1.2 s after that: the clock is set to the server's time then, and a second press moves it no
// more.
TEST_F(PrefsWindowTest, SyncThenUpdateSetTheServersTimeWithin50Milliseconds) {
    clock_.now = {kTrue - 10min + 300ms, 100s};
    Answer(kNist);
    clock_.Advance(312700us);
    Prefs().cmdSyncTime.click();
    clock_.Advance(1200ms);
    Prefs().cmdUpdate.click();
    ASSERT_EQ(clock_.sets.size(), 1u);
    EXPECT_LT(abs(clock_.sets[0] - (kTrue + 1512700us)), 50ms);
    EXPECT_EQ(Status(), "The clock was set: it moved forward 10 min 00 s.");
    clock_.Advance(500ms);
    const UtcTime before = clock_.now.utc;
    Prefs().cmdUpdate.click();
    ASSERT_EQ(clock_.sets.size(), 2u);
    EXPECT_LT(abs(clock_.sets[1] - before), 50ms);
    EXPECT_EQ(Prefs().lblLocalTime2.text(), QStringLiteral("13:34:58"));
    EXPECT_EQ(Atomic(), QStringLiteral("13:34:58"));
}

TEST_F(PrefsWindowTest, TheClockIsSetOnlyFromAnAnswerAndALargeChangeIsAskedFirst) {
    Prefs().cmdSyncTime.click();
    EXPECT_EQ(Status(), SyncText(SyncResult::NoAnswer));
    Prefs().cmdUpdate.click();
    EXPECT_EQ(Status(), UpdateRefusalText(UpdateRefusal::NotSynchronised));

    clock_.now.utc = kTrue + 2h + 3min + 10s;
    Answer(kNist);
    Prefs().cmdSyncTime.click();
    Prefs().cmdUpdate.click();
    EXPECT_EQ(questions_,
              std::vector<std::string>{"The clock will move back 2 h 03 min 10 s. Set it?"});
    EXPECT_EQ(Status(), "The clock was left as it is.");
    EXPECT_TRUE(clock_.sets.empty());
    confirm_ = true;
    Prefs().cmdUpdate.click();
    EXPECT_EQ(clock_.sets, std::vector<UtcTime>{kTrue});
}

// The time-date service answers later; the window goes on meanwhile, stays open to say how it went,
// and keeps its displays' bases when the answer is a refusal.
TEST_F(PrefsWindowTest, ARefusalIsSaidAndTheDisplaysKeepTheirBases) {
    clock_.now.utc = kTrue;
    clock_.answerLater = true;
    clock_.answer = {ClockSetResult::AutomaticSync, "Automatic time synchronization is enabled"};
    Answer(kNist);
    Prefs().cmdSyncTime.click();
    const float stamp = AtomicTimeState.LocalTimeStamp;
    clock_.Advance(2s);
    Prefs().cmdUpdate.click();
    EXPECT_EQ(Status(), "Setting the clock...");
    EXPECT_FALSE(Prefs().cmdUpdate.isEnabled());
    EXPECT_TRUE(Prefs().tmLocalTime.isActive() && Prefs().tmAtomicTime.isActive());
    Prefs().cmdOk.click();
    Prefs().close();
    ASSERT_TRUE(frmPrefs.Loaded() != nullptr);
    EXPECT_EQ(Status(), "Setting the clock: the window stays open to say how it went.");
    clock_.Answer();
    EXPECT_EQ(Status(), "The clock was not set: automatic time synchronisation is on.");
    EXPECT_TRUE(Prefs().cmdUpdate.isEnabled());
    EXPECT_EQ(AtomicTimeState.LocalTimeStamp, stamp);
}

}  // namespace
}  // namespace tikora::testing
