// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "atomic/status_text.h"
#include "atomic/time_of_day.h"
#include "fake_zone.h"

namespace tikora::testing {
namespace {

using namespace std::chrono;

UtcTime Utc(int y, unsigned month, unsigned day, nanoseconds timeOfDay) {
    return sys_days{year{y} / month / day} + timeOfDay;
}

TEST(NearestInstant, IsTheInstantShowingTheTimeOfDayNearestToNow) {
    const FakeZone kathmandu{hours{5} + minutes{45}, hours{5} + minutes{45}, {}, {}};
    const struct {
        const char* name;
        const ZoneRules& zone;
        UtcTime now;
        nanoseconds shown;  // local time of day
        UtcTime expected;
    } cases[] = {
        {"LocalMidnightAhead", kZurich, Utc(2026, 1, 15, 22h + 59min + 58s + 500ms), 1s + 250ms,
         Utc(2026, 1, 15, 23h + 1s + 250ms)},
        {"LocalMidnightBehind", kZurich, Utc(2026, 1, 15, 23h + 250ms), 23h + 59min + 59s + 900ms,
         Utc(2026, 1, 15, 22h + 59min + 59s + 900ms)},
        // 02:30 local comes twice on 25 October: at 00:30 and at 01:30 UTC.
        {"RepeatedHourFirstTime", kZurich, Utc(2026, 10, 25, 30min + 3s), 2h + 30min + 4s,
         Utc(2026, 10, 25, 30min + 4s)},
        {"RepeatedHourSecondTime", kZurich, Utc(2026, 10, 25, 1h + 30min + 3s), 2h + 30min + 4s,
         Utc(2026, 10, 25, 1h + 30min + 4s)},
        // 02:00 to 03:00 local is skipped on 29 March; a display running from before the change
        // shows 02:00:10 at 03:00:10.
        {"SkippedHour", kZurich, Utc(2026, 3, 29, 1h + 5s), 2h + 10s, Utc(2026, 3, 29, 1h + 10s)},
        {"QuarterHourZoneAtMidnight", kathmandu, Utc(2026, 1, 15, 18h + 14min + 59s), 1s,
         Utc(2026, 1, 15, 18h + 15min + 1s)},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(NearestInstant(c.shown, c.now, c.zone), c.expected) << c.name;
    }
}

TEST(AdvanceTime, AddsTheWholeSecondsAndWrapsTheHours) {
    const struct {
        const char* base;
        float seconds;
        const char* shown;
    } cases[] = {{"10:59:50", 15, "11:00:05"},   {"10:20:30", 3599, "11:20:29"},
                 {"10:20:30", 3600, "11:20:30"}, {"10:45:30", 8070, "13:00:00"},
                 {"09:05:07", 2.9f, "09:05:09"}, {"22:30:00", 7200, "00:30:00"},
                 {"ab:05:07", 0, "00:05:07"}};  // a field that is not a number counts as 0
    for (const auto& c : cases) {
        EXPECT_EQ(AdvanceTime(c.base, c.seconds), c.shown) << c.base << " + " << c.seconds;
    }
}

TEST(MillisecondsUntilNextSecond, NeverEarlyNeverLate) {
    EXPECT_EQ(MillisecondsUntilNextSecond(0ns), 1000);
    EXPECT_EQ(MillisecondsUntilNextSecond(2s + 250ms), 750);
    EXPECT_EQ(MillisecondsUntilNextSecond(999'999'999ns), 1);
    EXPECT_EQ(MillisecondsUntilNextSecond(1s + 999'000'001ns), 1);
}

TEST(StatusText, StatesTheChangeOfTheClock) {
    EXPECT_EQ(ConfirmChangeText({UpdateRefusal::None, {}, -(2h + 3min + 10s), {}}),
              "The clock will move back 2 h 03 min 10 s. Set it?");
    EXPECT_EQ(ConfirmChangeText({UpdateRefusal::None, {}, 20min + 5s + 400ms, {}}),
              "The clock will move forward 20 min 05 s. Set it?");
    EXPECT_EQ(ConfirmChangeText({UpdateRefusal::None, {}, days{26442} + 1h, 2099y / 12 / 7}),
              "The clock will move forward 26442 d 1 h 00 min 00 s, to 2099-12-07. Set it?");
    EXPECT_EQ(ClockSetText({}, 400ms), "The clock was set: it moved forward 0.4 s.");
}

}  // namespace
}  // namespace tikora::testing
