#include "forms/prefs_fixture.h"

namespace tikora::testing {
namespace {

using RunningClocks = PrefsTest;

TEST_F(RunningClocks, DisplayWakesOnlyWhenItsShownSecondChanges) {
    SetClock(12, 0, 0, 250);
    Prefs();
    EXPECT_EQ(Prefs().tmLocalTime.interval(), 1000);
    EXPECT_FALSE(Prefs().tmAtomicTime.isActive());  // standing still: nothing to wake for
    SetClock(12, 0, 1, 0);
    Prefs().tmLocalTime_Timer();  // an early tick shows the same and waits for the rest
    EXPECT_EQ(Local(), "12:00:00");
    EXPECT_EQ(Prefs().tmLocalTime.interval(), 250);
    SetClock(12, 0, 1, 250);
    Prefs().tmLocalTime_Timer();
    EXPECT_EQ(Local(), "12:00:01");
    EXPECT_TRUE(Prefs().tmLocalTime.isActive());
    EXPECT_EQ(Prefs().tmLocalTime.interval(), 1000);
}

TEST_F(RunningClocks, DisplayShowingMidnightIsNotAdvanced) {
    AtomicTimeState.AtomicTimeText = "10:00:00";  // left by an earlier opening
    AtomicTimeState.AtomicTimeStamp = 100;
    SetClock(12, 0, 30);
    TickBoth();
    EXPECT_EQ(Atomic(), "00:00:00");
    Answer(NistReply("23:00:00"));  // an answer of exactly midnight, local time
    SetClock(12, 0, 35);
    TickBoth();
    EXPECT_EQ(Atomic(), "00:00:00");
    EXPECT_FALSE(Prefs().tmAtomicTime.isActive());
}

TEST_F(RunningClocks, FailedQueryLeavesTheRunningDisplayOnItsBase) {
    Answer(NistReply("08:00:00"));
    SetClock(12, 0, 4);
    Answer(QByteArray());
    SetClock(12, 0, 10);
    TickBoth();
    EXPECT_EQ(Atomic(), "09:00:10");
}

TEST_F(RunningClocks, TickAcrossMidnightKeepsRunning) {
    SetClock(23, 59, 58);
    Prefs();
    SetClock(0, 0, 0);
    TickBoth();
    EXPECT_EQ(Local(), "00:00:00");  // brought there by its own tick, so it runs on
    SetClock(0, 0, 2);
    TickBoth();
    EXPECT_EQ(Local(), "00:00:02");
    Prefs().cmdUpdate.click();
    EXPECT_EQ(clockSetter_.calls, (std::vector<RecordingClockSetter::Call>{{0, 0, 2}}));
}

TEST_F(RunningClocks, SynchroniseThenUpdateSetsTheClockToTheRunningAtomicTime) {
    Answer(NistReply("12:34:56"));
    SetClock(12, 0, 10);  // the timers have not come due: the click brings the displays up to date
    Prefs().cmdSyncTime.click();
    EXPECT_EQ(AtomicTimeState.LocalTimeText, "13:35:06");
    EXPECT_EQ(AtomicTimeState.AtomicTimeText, "13:35:06");
    EXPECT_FLOAT_EQ(AtomicTimeState.LocalTimeStamp, 43210);
    EXPECT_FLOAT_EQ(AtomicTimeState.AtomicTimeStamp, 43210);
    EXPECT_EQ(Local(), "13:35:06");
    SetClock(12, 0, 15);
    Prefs().cmdUpdate.click();
    EXPECT_EQ(clockSetter_.calls, (std::vector<RecordingClockSetter::Call>{{13, 35, 11}}));
    SetClock(12, 0, 20);
    TickBoth();
    EXPECT_EQ(Local(), "13:35:16");
    EXPECT_EQ(Atomic(), "13:35:16");
    EXPECT_TRUE(errors_.empty());
}

TEST_F(RunningClocks, SynchroniseBeforeAnyAnswerRunsBothFromMidnight) {
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

}  // namespace
}  // namespace tikora::testing
