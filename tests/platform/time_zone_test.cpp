// SPDX-License-Identifier: MIT
// The zone readings against the system's real zone data. Each zone is read in a child process
// with TZ set, so the test's own environment never changes.

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <ctime>
#include <iterator>
#include <memory>
#include <string>

#include "posix/system_time_zone.h"

namespace tikora {
namespace {

struct ZoneCase {
    const char* name;
    const char* zone;
    int year, month, day, hour;  // UTC, on the hour
    std::int32_t bias, daylightBias, result;
};

// In the order the one kept reading of each zone meets them: forwards, across the changes to and
// from daylight time and the new year, and back, as a clock set back would.
const ZoneCase kCases[] = {
    {"ZurichSummer", "Europe/Zurich", 2026, 7, 15, 12, -60, -60, kZoneDaylightTime},
    {"ZurichSpringChange", "Europe/Zurich", 2026, 3, 29, 1, -60, -60, kZoneDaylightTime},
    {"ZurichAutumnChange", "Europe/Zurich", 2026, 10, 25, 1, -60, -60, kZoneStandardTime},
    {"ZurichNewYear", "Europe/Zurich", 2026, 12, 31, 23, -60, -60, kZoneStandardTime},
    {"ZurichLastYear", "Europe/Zurich", 2025, 12, 31, 22, -60, -60, kZoneStandardTime},
    // Dublin marks its winter as the daylight-saving period; the offsets say otherwise.
    {"DublinWinter", "Europe/Dublin", 2026, 1, 15, 12, 0, -60, kZoneStandardTime},
    {"DublinSummer", "Europe/Dublin", 2026, 7, 15, 12, 0, -60, kZoneDaylightTime},
    {"Kolkata", "Asia/Kolkata", 2026, 7, 15, 12, -330, 0, kZoneNoDaylightRules},
    {"StJohnsSummer", "America/St_Johns", 2026, 7, 15, 12, 210, -60, kZoneDaylightTime},
    // Half an hour of daylight saving, in the southern summer, ending at 15:00 UTC on 4 April.
    {"LordHoweJanuary", "Australia/Lord_Howe", 2026, 1, 15, 12, -630, -30, kZoneDaylightTime},
    {"LordHoweChange", "Australia/Lord_Howe", 2026, 4, 4, 15, -630, -30, kZoneStandardTime},
    {"Utc", "UTC", 2026, 7, 15, 12, 0, 0, kZoneNoDaylightRules},
};

struct Found {
    TimeZoneReading reading;  // afresh, at the case's moment
    int keptDiffering = 0;    // kept readings unlike fresh ones, every second of 90 either side
};

// Every case in a child process, each zone with one SystemTimeZone that meets its cases in order.
void ReadAllCases(Found (&found)[std::size(kCases)]) {
    std::unique_ptr<SystemTimeZone> system;
    for (std::size_t i = 0; i < std::size(kCases); ++i) {
        const ZoneCase& c = kCases[i];
        if (i == 0 || std::string(c.zone) != kCases[i - 1].zone) {
            setenv("TZ", c.zone, 1);
            tzset();
            system = std::make_unique<SystemTimeZone>();
        }
        tm date{0, 0, c.hour, c.day, c.month - 1, c.year - 1900, 0, 0, 0, 0, nullptr};
        const std::time_t moment = timegm(&date);
        found[i].reading = ReadTimeZoneAt(moment);
        for (std::time_t when = moment - 90; when <= moment + 90; ++when) {
            const TimeZoneReading kept = system->ReadAt(when), fresh = ReadTimeZoneAt(when);
            found[i].keptDiffering += std::memcmp(&kept, &fresh, sizeof kept) != 0;  // no padding
        }
    }
}

TEST(RealZones, GiveTheirBiasesAndStateAndKeptReadingsFollowEveryChange) {
    Found found[std::size(kCases)];
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    if (fork() == 0) {
        ReadAllCases(found);
        _exit(write(ends[1], found, sizeof found) == sizeof found ? 0 : 1);
    }
    close(ends[1]);
    ASSERT_EQ(read(ends[0], found, sizeof found), static_cast<ssize_t>(sizeof found));
    close(ends[0]);
    wait(nullptr);
    for (std::size_t i = 0; i < std::size(kCases); ++i) {
        SCOPED_TRACE(kCases[i].name);
        EXPECT_EQ(found[i].reading.info.Bias, kCases[i].bias);
        EXPECT_EQ(found[i].reading.info.StandardBias, 0);
        EXPECT_EQ(found[i].reading.info.DaylightBias, kCases[i].daylightBias);
        EXPECT_EQ(found[i].reading.result, kCases[i].result);
        EXPECT_EQ(found[i].keptDiffering, 0);
    }
}

}  // namespace
}  // namespace tikora
