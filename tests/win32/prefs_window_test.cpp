// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "atomic/time_servers.h"
#include "core/fake_zone.h"
#include "loopback_server.h"
#include "platform/services.h"
#include "shared/modDefs.h"
#include "win32/frmPrefs.h"

namespace tikora {
namespace {

using namespace std::chrono;
using test::LoopbackServer;
using test::PumpUntil;

// The line names the true time at which the server sends it: 2023-06-17 12:34:56 UTC.
const std::string kNist = "\n60112 23-06-17 12:34:56 50 0 0 895.5 UTC(NIST) * \n";
const UtcTime kTrue = sys_days{2023y / 6 / 17} + 12h + 34min + 56s;

// The computer's clock as the window reads and sets it; the machine's own is never touched. A set
// moves it when `answer` says it was done.
class FakeComputerClock final : public WallClock, public ClockSetter {
  public:
    mutable ClockReading now;
    mutable std::vector<UtcTime> sets;
    ClockSetReport answer;

    ClockReading Read() const override { return now; }
    void SetClock(UtcTime when, ClockSetDone done) const override {
        sets.push_back(when);
        if (answer.result == ClockSetResult::Done) {
            now.utc = when;
        }
        done(answer);
    }
};

// The window one hour east of UTC. Its queries go to the test's server on 127.0.0.1; the question
// before a large change is answered with `confirm_`.
class PrefsWindowTest : public ::testing::Test {
  protected:
    PrefsWindowTest() {
        ResetSharedState();
        SetDaytimeRouteForTesting([this](const std::string& host, std::uint16_t port) {
            asked_.push_back(host + ":" + std::to_string(port));
            return DaytimeEndpoint{"127.0.0.1", server_.Port()};
        });
        SetConfirmHookForTesting([this](const std::string& question) {
            questions_.push_back(question);
            return confirm_;
        });
    }
    ~PrefsWindowTest() override {
        UnloadPrefs();
        SetDaytimeRouteForTesting({});
        SetConfirmHookForTesting({});
        ResetSharedState();
    }

    PrefsWindow& Prefs() { return frmPrefs.Get(); }
    std::string Status() { return TextOf(Prefs().lblStatus); }
    std::string Atomic() { return TextOf(Prefs().lblAtomicTime2); }
    static void Click(HWND button) { SendMessageW(button, BM_CLICK, 0, 0); }
    // Clicks "Get Atomic Time"; `serve` plays the server's part; true once the query has ended.
    bool Query(const std::function<void()>& serve) {
        Click(Prefs().cmdGetAtomic);
        serve();
        return PumpUntil([&] { return Status().rfind("Asking", 0) != 0; });
    }
    bool Answer(const std::string& reply) {
        return Query([&] { LoopbackServer::Answer(server_.Accept(), reply); });
    }

    FakeComputerClock clock_;
    const testing::FakeZone oneHourEast_{1h, 1h, {}, {}};
    ScopedServices withClock_{[this] {
        Services services = Platform();
        services.clockSetter = &clock_;
        services.wallClock = &clock_;
        services.zoneRules = &oneHourEast_;
        return services;
    }()};
    LoopbackServer server_;
    std::vector<std::string> asked_;
    std::vector<std::string> questions_;
    bool confirm_ = false;
};

TEST_F(PrefsWindowTest, OpensWithEightServersARunningLocalClockAndReopensAfresh) {
    clock_.now.utc = sys_days{2023y / 6 / 17} + 8h + 8min + 7s;
    ShowPrefs();
    PrefsWindow* first = frmPrefs.Loaded();
    ASSERT_EQ(SendMessageW(first->cmbServerList, CB_GETCOUNT, 0, 0), kTimeServerCount);
    wchar_t item[64] = L"";
    SendMessageW(first->cmbServerList, CB_GETLBTEXT, 7, reinterpret_cast<LPARAM>(item));
    EXPECT_STREQ(item, L"7: Abovnet [New York City]");
    EXPECT_EQ(TextOf(first->lblLocalTime2), "09:08:07");
    EXPECT_EQ(Atomic(), "00:00:00");
    EXPECT_TRUE(first->TimerActive(PrefsWindow::tmLocalTime));
    EXPECT_FALSE(first->TimerActive(PrefsWindow::tmAtomicTime));  // nothing to wake for
    SendMessageW(first->cmbServerList, CB_SETCURSEL, 5, 0);
    ShowPrefs();
    EXPECT_EQ(frmPrefs.Loaded(), first);
    ASSERT_TRUE(Answer(kNist));
    EXPECT_EQ(asked_, std::vector<std::string>{std::string(kTimeServers[5].host) + ":13"});
    EXPECT_EQ(Atomic(), "13:34:56");

    SendMessageW(first->Handle(), WM_CLOSE, 0, 0);  // the title bar's close button
    EXPECT_EQ(frmPrefs.Loaded(), nullptr);
    EXPECT_EQ(SendMessageW(Prefs().cmbServerList, CB_GETCOUNT, 0, 0), kTimeServerCount);
    EXPECT_EQ(SendMessageW(Prefs().cmbServerList, CB_GETCURSEL, 0, 0), 0);
    EXPECT_EQ(Atomic(), "00:00:00");
    EXPECT_EQ(AtomicTimeState.AtomicTimeText, "13:34:56");
}

// Each query follows an answer; it ends and says why naming the host, while the atomic display
// runs on from that answer.
TEST_F(PrefsWindowTest, QueriesEndAndSayWhy) {
    clock_.now.utc = kTrue;
    const std::string host(kTimeServers[0].host);
    const struct {
        const char* name;
        std::function<void()> serve;
        std::string status;
    } cases[] = {
        {"Garbage", [this] { LoopbackServer::Answer(server_.Accept(), "busy, try later\n"); },
         host + " did not send a time."},
        {"Dropped", [this] { LoopbackServer::Answer(server_.Accept(), ""); },
         host + " closed the connection without sending the time."},
        {"Silent",
         [this] {
             server_.Accept();
             EXPECT_TRUE(Prefs().TimerActive(PrefsWindow::tmAtomicQuery));
             Prefs().tmAtomicQuery_Timer();  // the ten seconds are up
         },
         host + " did not answer within 10 seconds."},
        {"Refused", [this] { server_.StopListening(); }, host + " refused the connection."},
    };
    for (const auto& c : cases) {
        ASSERT_TRUE(Answer(kNist)) << c.name;
        EXPECT_EQ(Status(), host + " answered.");
        ASSERT_TRUE(Query(c.serve)) << c.name;
        EXPECT_EQ(Status(), c.status) << c.name;
        EXPECT_FALSE(Prefs().wsAtomicTime.IsOpen()) << c.name;
        EXPECT_FALSE(Prefs().TimerActive(PrefsWindow::tmAtomicQuery)) << c.name;
        EXPECT_TRUE(Prefs().TimerActive(PrefsWindow::tmAtomicTime)) << c.name;
        clock_.now.utc += 3s;
        clock_.now.steady += 3s;
        Prefs().tmAtomicTime_Timer();
        EXPECT_EQ(Atomic(), "13:34:59") << c.name;
    }
}

// Where the system says the name does not exist, and only there, there is no such server.
TEST_F(PrefsWindowTest, AFailedLookupSaysWhatFailed) {
    const std::string lookUp = "Could not look up " + std::string(kTimeServers[0].host) + ": ";
    const std::pair<int, std::string> cases[] = {
        {WSAHOST_NOT_FOUND, "There is no server called time-a-g.nist.gov."},
        {WSAENETUNREACH, lookUp + "the network is unreachable."},
        {WSANO_RECOVERY, lookUp}};  // then the system's words
    for (const auto& [error, status] : cases) {
        DaytimeSocket::SetLookupErrorForTesting([error](const std::string&) { return error; });
        ASSERT_TRUE(Query([] {}));
        EXPECT_EQ(Status().substr(0, status.size()), status);
    }
    DaytimeSocket::SetLookupErrorForTesting({});
    EXPECT_EQ(LookupVerdictOf(WSATRY_AGAIN, true).failure, QueryFailure::NameServerSilent);
    EXPECT_EQ(LookupVerdictOf(WSATRY_AGAIN, false).failure, QueryFailure::NetworkUnreachable);
}

// A clock 10 minutes slow, synchronised and set: what the setter answers is said in the status
// line, and only a clock that was set moves.
TEST_F(PrefsWindowTest, SettingTheClockSaysHowItWent) {
    const struct {
        ClockSetReport answer;
        std::string status;
    } cases[] = {
        {{ClockSetResult::Done, {}}, "The clock was set: it moved forward 10 min 00 s."},
        {{ClockSetResult::NotAllowed, {}}, "The clock was not set: not allowed."},
        {{ClockSetResult::Failed, "Access is denied"}, "The clock was not set: Access is denied."},
    };
    for (const auto& c : cases) {
        clock_ = {};
        clock_.now = {kTrue - 10min, 100s};
        clock_.answer = c.answer;
        ASSERT_TRUE(Answer(kNist));
        Click(Prefs().cmdSyncTime);
        Click(Prefs().cmdUpdate);
        ASSERT_EQ(clock_.sets.size(), 1u) << c.status;
        EXPECT_LT(abs(clock_.sets[0] - kTrue), 50ms) << c.status;
        EXPECT_EQ(Status(), c.status);
        EXPECT_TRUE(IsWindowEnabled(Prefs().cmdUpdate));
        EXPECT_TRUE(questions_.empty());
        UnloadPrefs();
    }
}

TEST_F(PrefsWindowTest, TheClockIsSetOnlyFromAnAnswerAndALargeChangeIsAskedFirst) {
    Click(Prefs().cmdUpdate);
    EXPECT_EQ(Status(), UpdateRefusalText(UpdateRefusal::NotSynchronised));

    clock_.now.utc = kTrue + 2h + 3min + 10s;
    ASSERT_TRUE(Answer(kNist));
    Click(Prefs().cmdSyncTime);
    Click(Prefs().cmdUpdate);
    EXPECT_EQ(questions_,
              std::vector<std::string>{"The clock will move back 2 h 03 min 10 s. Set it?"});
    EXPECT_EQ(Status(), "The clock was left as it is.");
    EXPECT_TRUE(clock_.sets.empty());
    confirm_ = true;
    Click(Prefs().cmdUpdate);
    EXPECT_EQ(clock_.sets, std::vector<UtcTime>{kTrue});
}

}  // namespace
}  // namespace tikora
