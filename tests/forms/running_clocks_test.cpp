#include "forms/prefs_fixture.h"

namespace tikora::testing {
namespace {

// The fixture's zone is one hour east of UTC, in standard time.
class RunningClocks : public PrefsTest {};

TEST_F(RunningClocks, LocalDisplayWakesOnlyWhenItsSecondChanges) {
    SetClock(12, 0, 0, 250);
    Prefs();
    EXPECT_EQ(Local(), "12:00:00");
    // Its base was taken just now, so it changes a whole second later.
    EXPECT_TRUE(Prefs().tmLocalTime.isActive());
    EXPECT_EQ(Prefs().tmLocalTime.interval(), 1000);
    // The atomic display stands still, so nothing wakes it.
    EXPECT_FALSE(Prefs().tmAtomicTime.isActive());

    SetClock(12, 0, 1, 0);  // a tick that comes early shows the same and waits for the rest
    Prefs().tmLocalTime_Timer();
    EXPECT_EQ(Local(), "12:00:00");
    EXPECT_EQ(Prefs().tmLocalTime.interval(), 250);
    SetClock(12, 0, 1, 250);
    Prefs().tmLocalTime_Timer();
    EXPECT_EQ(Local(), "12:00:01");
    EXPECT_EQ(Prefs().tmLocalTime.interval(), 1000);
    SetClock(12, 59, 59, 750);
    Prefs().tmLocalTime_Timer();
    EXPECT_EQ(Local(), "12:59:59");
    EXPECT_EQ(Prefs().tmLocalTime.interval(), 500);
}

TEST_F(RunningClocks, StandingDisplayIsNotAdvancedWhateverItsBase) {
    AtomicTimeState.AtomicTimeText = "10:00:00";  // left by an earlier opening
    AtomicTimeState.AtomicTimeStamp = 100;
    Prefs();
    SetClock(12, 0, 30);
    TickBoth();
    EXPECT_EQ(Atomic(), "00:00:00");
    EXPECT_FALSE(Prefs().tmAtomicTime.isActive());
}

TEST_F(RunningClocks, AnswerOfExactlyMidnightStandsStill) {
    Answer(NistReply("23:00:00"));
    EXPECT_EQ(Atomic(), "00:00:00");
    SetClock(12, 0, 5);
    TickBoth();
    EXPECT_EQ(Atomic(), "00:00:00");
}

TEST_F(RunningClocks, AtomicDisplayRunsFromTheAnswer) {
    SetClock(12, 0, 0, 500);
    Answer(NistReply("08:59:58"));
    EXPECT_EQ(Atomic(), "09:59:58");
    EXPECT_EQ(Prefs().tmAtomicTime.interval(), 1000);
    SetClock(12, 0, 3, 0);
    TickBoth();
    EXPECT_EQ(Atomic(), "10:00:00");
    EXPECT_EQ(Prefs().tmAtomicTime.interval(), 500);
}

TEST_F(RunningClocks, FailedQueryLeavesTheRunningDisplayOnItsBase) {
    Answer(NistReply("08:00:00"));
    LoopbackDaytimeServer hangsUp(QByteArray(), Then::HangUp);
    defaultPort_ = hangsUp.Port();
    SetClock(12, 0, 4);
    ASSERT_TRUE(QueryAndWait());
    SetClock(12, 0, 10);
    TickBoth();
    EXPECT_EQ(Atomic(), "09:00:10");
}

TEST_F(RunningClocks, DisplayCarriesOnPastMidnight) {
    SetClock(23, 59, 58);
    Prefs();
    SetClock(0, 0, 0);
    TickBoth();
    EXPECT_EQ(Local(), "00:00:00");
    // Its own tick brought it to midnight: it keeps running.
    SetClock(0, 0, 2);
    TickBoth();
    EXPECT_EQ(Local(), "00:00:02");
    Prefs().cmdUpdate.click();
    EXPECT_EQ(clockSetter_.calls, (std::vector<RecordingClockSetter::Call>{{0, 0, 2}}));
}

TEST_F(RunningClocks, SynchroniseThenUpdateSetsTheClockToTheRunningAtomicTime) {
    Answer(NistReply("12:34:56"));
    // The timers have not come due: the click itself brings the displays up to date.
    SetClock(12, 0, 10);
    Prefs().cmdSyncTime.click();
    EXPECT_EQ(AtomicTimeState.LocalTimeText, "13:35:06");
    EXPECT_EQ(AtomicTimeState.AtomicTimeText, "13:35:06");
    EXPECT_FLOAT_EQ(AtomicTimeState.LocalTimeStamp, 43210);
    EXPECT_FLOAT_EQ(AtomicTimeState.AtomicTimeStamp, 43210);
    EXPECT_EQ(Local(), "13:35:06");
    EXPECT_EQ(Atomic(), "13:35:06");

    SetClock(12, 0, 15);
    Prefs().cmdUpdate.click();
    EXPECT_EQ(clockSetter_.calls, (std::vector<RecordingClockSetter::Call>{{13, 35, 11}}));
    EXPECT_EQ(AtomicTimeState.LocalTimeText, "13:35:11");
    EXPECT_FLOAT_EQ(AtomicTimeState.LocalTimeStamp, 43215);
    SetClock(12, 0, 20);
    TickBoth();
    EXPECT_EQ(Local(), "13:35:16");
    EXPECT_EQ(Atomic(), "13:35:16");
    EXPECT_TRUE(errors_.empty());
}

TEST_F(RunningClocks, SynchroniseBeforeAnyAnswerRunsBothFromMidnight) {
    Prefs();
    SetClock(12, 0, 1);
    Prefs().cmdSyncTime.click();
    EXPECT_EQ(Local(), "00:00:00");
    EXPECT_EQ(Atomic(), "00:00:00");
    SetClock(12, 0, 4);
    TickBoth();
    EXPECT_EQ(Local(), "00:00:03");
    EXPECT_EQ(Atomic(), "00:00:03");
    Prefs().cmdUpdate.click();
    EXPECT_EQ(clockSetter_.calls, (std::vector<RecordingClockSetter::Call>{{0, 0, 3}}));
}

TEST_F(RunningClocks, UpdateMakesTheLocalDisplayFollowTheAtomicOne) {
    SetClock(12, 0, 0);
    Answer(NistReply("05:00:00"));
    SetClock(12, 0, 2);
    Prefs().cmdUpdate.click();
    // The clock is set from the local display, which then runs from the atomic one.
    EXPECT_EQ(clockSetter_.calls, (std::vector<RecordingClockSetter::Call>{{12, 0, 2}}));
    EXPECT_EQ(Local(), "06:00:02");
    EXPECT_EQ(Atomic(), "06:00:02");
}

}  // namespace
}  // namespace tikora::testing
