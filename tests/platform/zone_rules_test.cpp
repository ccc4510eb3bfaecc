// SPDX-License-Identifier: MIT
// The instant "Update Local Time" sets, against the system's real zone data. Each case runs in a
// child process with TZ set, so the test's own environment never changes.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include "atomic/time_of_day.h"
#include "posix/system_zone_rules.h"

namespace tikora {
namespace {

using namespace std::chrono;

struct ZoneCase {
    const char* name;
    const char* zone;
    sys_seconds now;
    seconds shown;  // local time of day
    sys_seconds expected;
};

const ZoneCase kCases[] = {
    // 01:30:04 local comes twice on 5 November 2023; the clock reads 01:30:03 the second time.
    {"NewYorkRepeatedHour", "America/New_York", sys_days{2023y / 11 / 5} + 6h + 30min + 3s,
     1h + 30min + 4s, sys_days{2023y / 11 / 5} + 6h + 30min + 4s},
    // 02:00 to 03:00 skipped on 12 March 2023: a display from before the change shows 02:00:10.
    {"NewYorkSkippedHour", "America/New_York", sys_days{2023y / 3 / 12} + 7h + 5s, 2h + 10s,
     sys_days{2023y / 3 / 12} + 7h + 10s},
    // Half an hour repeated when Lord Howe's summer time ends at 15:00 UTC on 4 April 2026.
    {"LordHoweRepeatedHalfHour", "Australia/Lord_Howe", sys_days{2026y / 4 / 4} + 14h + 45min + 1s,
     1h + 45min, sys_days{2026y / 4 / 4} + 14h + 45min},
    {"KathmanduMidnight", "Asia/Kathmandu", sys_days{2026y / 1 / 15} + 18h + 14min + 59s, 1s,
     sys_days{2026y / 1 / 15} + 18h + 15min + 1s},
};

TEST(SystemZoneRules, GiveTheNearestInstantShowingATimeOfDay) {
    for (const ZoneCase& c : kCases) {
        int ends[2];
        ASSERT_EQ(pipe(ends), 0);
        if (fork() == 0) {
            setenv("TZ", c.zone, 1);
            tzset();
            const UtcTime found = NearestInstant(c.shown, c.now, SystemZoneRules());
            _exit(write(ends[1], &found, sizeof found) == sizeof found ? 0 : 1);
        }
        close(ends[1]);
        UtcTime found;
        EXPECT_EQ(read(ends[0], &found, sizeof found), static_cast<ssize_t>(sizeof found));
        close(ends[0]);
        wait(nullptr);
        EXPECT_EQ(found, c.expected) << c.name;
    }
}

}  // namespace
}  // namespace tikora
