// SPDX-License-Identifier: MIT
// The zone as Windows gives it, in the zone Wine takes from TZ: ctest runs this once per zone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <vector>

#include "win32/system_time.h"

namespace tikora {
namespace {

using namespace std::chrono;

// At `at` the offset turns from `before` to `after` hours east of UTC (the same for no change).
struct Change {
    sys_seconds at;
    int before;
    int after;
};

struct ZoneCase {
    const char* tz;
    std::int32_t bias;
    bool daylightSaving;
    std::vector<Change> changes;
};

constexpr sys_seconds At(year_month_day day, int hour) {
    return sys_days{day} + hours{hour};
}

const ZoneCase kZones[] = {
    {"Europe/Zurich",
     -60,
     true,
     {{At(2026y / 3 / 29, 1), 1, 2},
      {At(2026y / 10 / 25, 1), 2, 1},
      {At(2026y / 12 / 7, 0), 1, 1}}},
    {"Asia/Tokyo", -540, false, {{At(2026y / 1 / 1, 0), 9, 9}, {At(2026y / 7 / 1, 0), 9, 9}}},
    // 2000 had the April start of the rules before 2007.
    {"America/New_York",
     300,
     true,
     {{At(2026y / 3 / 8, 7), -5, -4},
      {At(2026y / 11 / 1, 6), -4, -5},
      {At(2000y / 4 / 2, 7), -5, -4}}},
    // Southern summer across New Year, and the early start for the 2000 Olympics.
    {"Australia/Sydney",
     -600,
     true,
     {{At(2026y / 4 / 4, 16), 11, 10},
      {At(2026y / 10 / 3, 16), 10, 11},
      {At(2026y / 12 / 31, 14), 11, 11},
      {At(2000y / 8 / 26, 16), 10, 11}}},
};

const ZoneCase* ZoneOfTz() {
    const char* tz = std::getenv("TZ");
    for (const ZoneCase& zone : kZones) {
        if (tz != nullptr && std::string_view(tz) == zone.tz) {
            return &zone;
        }
    }
    return nullptr;
}

TEST(Zone, MatchesTheZoneOfTz) {
    const ZoneCase* zone = ZoneOfTz();
    if (zone == nullptr) {
        GTEST_SKIP() << "TZ names no zone of the table";
    }
    const Win32ZoneRules rules;
    for (const auto& [at, before, after] : zone->changes) {
        EXPECT_EQ(rules.OffsetAt(at - 1s), hours{before}) << at.time_since_epoch().count();
        EXPECT_EQ(rules.OffsetAt(at), hours{after}) << at.time_since_epoch().count();
    }
    const TimeZoneReading reading = Win32TimeZone().Read();
    EXPECT_EQ(reading.info.Bias, zone->bias);
    EXPECT_EQ(reading.info.StandardBias, 0);
    // Now: the reading's offset is the one the rules give, and the local time goes with it.
    const ClockReading now = Win32WallClock().Read();
    const seconds offset = rules.OffsetAt(floor<seconds>(now.utc));
    const bool daylight = offset != minutes{-zone->bias};
    EXPECT_EQ(reading.result, !zone->daylightSaving ? kZoneNoDaylightRules
                              : daylight            ? kZoneDaylightTime
                                                    : kZoneStandardTime);
    if (daylight) {
        EXPECT_EQ(offset, minutes{-(reading.info.Bias + reading.info.DaylightBias)});
    }
    const LocalTime local = Win32TimeSource().Now();
    const auto shown = sys_days{year{local.year} / local.month / local.day} + hours{local.hour} +
                       minutes{local.minute} + seconds{local.second};
    EXPECT_LE(abs(shown - floor<seconds>(now.utc) - offset), seconds{2});
}

}  // namespace
}  // namespace tikora
