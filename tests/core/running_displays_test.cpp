// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <ctime>
#include <string>

#include "atomic/running_displays.h"
#include "fake_zone.h"

namespace tikora::testing {
namespace {

using namespace std::chrono;

// The true time when the steady count starts: 12:00:00 in Zurich's summer.
const UtcTime kStart = sys_days{2026y / 7 / 15} + 10h;

// A reading of a computer clock that is `slow` behind the true time, `at` into the steady count.
ClockReading At(duration<double> at, nanoseconds slow = {}) {
    const auto steady = duration_cast<nanoseconds>(at);
    return {kStart + steady - slow, steady};
}

// A NIST line naming `when`.
std::string Line(sys_seconds when, int health = 0) {
    const std::time_t time = system_clock::to_time_t(when);
    char text[32];
    std::strftime(text, sizeof text, " %y-%m-%d %H:%M:%S 50 0 ", std::gmtime(&time));
    return "\n" + std::to_string(floor<days>(when).time_since_epoch().count() + 40587) + text +
           std::to_string(health) + " 895.5 UTC(NIST) * \n";
}

class Displays : public ::testing::Test {
  protected:
    AtomicTimeStateRecord store_;
    RunningDisplays displays_{store_, kZurich};
    std::string Local() const { return displays_.Shown(DisplayId::Local); }
    std::string Atomic() const { return displays_.Shown(DisplayId::Atomic); }
};

TEST_F(Displays, RunOnTheSteadyCountFromTheirOwnFraction) {
    displays_.Load(At(250ms, 600ms));  // the clock reads 11:59:59.650
    EXPECT_EQ(Local(), "11:59:59");
    EXPECT_FALSE(displays_.Running(DisplayId::Atomic));
    EXPECT_EQ(displays_.MillisecondsUntilChange(DisplayId::Local, At(1s)), 600);
    displays_.Tick(DisplayId::Local, At(1599ms));
    EXPECT_EQ(Local(), "12:00:00");
    EXPECT_EQ(displays_.TakeReply(Line(floor<seconds>(kStart) + 2s), At(2500ms)).result,
              ReplyResult::Taken);
    EXPECT_EQ(Atomic(), "12:00:02");
    EXPECT_EQ(store_.AtomicTimeText, "12:00:02");
    EXPECT_EQ(displays_.MillisecondsUntilChange(DisplayId::Atomic, At(3s)), 500);
    // The computer's clock set an hour back in between: the ticks don't see it, but the local
    // display follows the clock once told that it jumped; the atomic display runs on.
    for (const DisplayId id : {DisplayId::Local, DisplayId::Atomic}) {
        displays_.Tick(id, At(3500ms, 1h));
    }
    EXPECT_EQ(Local(), "12:00:02");
    EXPECT_EQ(Atomic(), "12:00:03");
    displays_.ClockMayHaveJumped(At(3500ms, 1h));
    EXPECT_EQ(Local(), "11:00:03");
    EXPECT_EQ(Atomic(), "12:00:03");
    displays_.Synchronise(At(4s, 1h));  // now it follows the answer, not the clock
    displays_.ClockMayHaveJumped(At(4s, 2h));
    EXPECT_EQ(Local(), "12:00:03");
}

TEST_F(Displays, ShowAnAnswerInTheOffsetOfItsOwnInstant) {
    const FakeZone utc{0s, 0s, {}, {}};
    const FakeZone kolkata{5h + 30min, 5h + 30min, {}, {}};
    const FakeZone kathmandu{5h + 45min, 5h + 45min, {}, {}};
    const struct {
        const ZoneRules& zone;
        std::string line;
        const char* shown;
    } cases[] = {
        {kZurich, Line(sys_days{2026y / 3 / 29} + 59min + 59s), "01:59:59"},
        {kZurich, Line(sys_days{2026y / 3 / 29} + 1h), "03:00:00"},
        {utc, "\n57753 16-12-31 23:59:60 00 1 0 50.0 UTC(NIST) * \n", "23:59:59"},
        {kolkata, Line(sys_days{2026y / 1 / 15} + 18h + 29min + 59s), "23:59:59"},
        {kolkata, Line(sys_days{2026y / 1 / 15} + 18h + 30min), "00:00:00"},
        {kathmandu, Line(sys_days{2026y / 1 / 15} + 3h + 20min + 7s), "09:05:07"},
    };
    for (const auto& c : cases) {
        RunningDisplays displays(store_, c.zone);
        displays.TakeReply(c.line, At(0s));
        EXPECT_EQ(displays.Shown(DisplayId::Atomic), c.shown) << c.line;
    }
}

TEST_F(Displays, OnlyAHealthyAnswerTheLocalDisplayFollowsSetsTheClock) {
    displays_.Load(At(0s));
    EXPECT_EQ(displays_.PlanUpdate(At(1s)).refusal, UpdateRefusal::NotSynchronised);
    EXPECT_EQ(displays_.Synchronise(At(1s)), SyncResult::NoAnswer);
    EXPECT_EQ(store_.LocalTimeText, "12:00:00");
    EXPECT_FALSE(displays_.Running(DisplayId::Atomic));

    displays_.TakeReply(Line(floor<seconds>(kStart) + 2s, 1), At(2s));
    EXPECT_EQ(displays_.Synchronise(At(2s)), SyncResult::Done);
    EXPECT_EQ(displays_.PlanUpdate(At(3s)).refusal, UpdateRefusal::Unhealthy);

    // An answer that is not a time: the atomic display runs on from the one before.
    EXPECT_EQ(displays_.TakeReply("\n60112 23-06-17 99:99:99\n", At(4s)).result,
              ReplyResult::NotATime);
    displays_.Tick(DisplayId::Atomic, At(5s));
    EXPECT_EQ(Atomic(), "12:00:05");
    EXPECT_EQ(displays_.Synchronise(At(5s)), SyncResult::Done);
}

TEST_F(Displays, SynchroniseThenUpdateSetTheAnswersTimeToTheNanosecond) {
    const nanoseconds slow = 10min + 400ms;
    displays_.Load(At(0s, slow));
    displays_.TakeReply(Line(floor<seconds>(kStart) + 100s), At(100s, slow));
    displays_.Synchronise(At(100.3127s, slow));
    const UpdatePlan plan = displays_.PlanUpdate(At(101.5127s, slow));
    EXPECT_EQ(plan.refusal, UpdateRefusal::None);
    EXPECT_EQ(plan.target, At(101.5127s).utc);
    EXPECT_EQ(plan.change, slow);
    // Set: the clock now reads the true time, and a second press changes nothing.
    displays_.Rebase(At(101.6s));
    EXPECT_EQ(displays_.PlanUpdate(At(102s)).change, 0ns);
    EXPECT_EQ(Local(), "12:01:41");
    EXPECT_EQ(Atomic(), "12:01:41");
}

}  // namespace
}  // namespace tikora::testing
