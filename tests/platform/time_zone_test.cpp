#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <vector>

#include "posix/system_time_zone.h"

namespace tikora {
namespace {

// The zone is set in a child process, so the test process's environment never changes.
TimeZoneReading ReadInZone(const char* zone, std::time_t when) {
    int pipeEnds[2];
    EXPECT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    if (child == 0) {
        setenv("TZ", zone, 1);
        tzset();
        const TimeZoneReading reading = ReadTimeZoneAt(when);
        const bool written = write(pipeEnds[1], &reading, sizeof reading) == sizeof reading;
        _exit(written ? 0 : 1);
    }
    close(pipeEnds[1]);
    TimeZoneReading reading;
    EXPECT_EQ(read(pipeEnds[0], &reading, sizeof reading), static_cast<ssize_t>(sizeof reading));
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return reading;
}

std::time_t MiddayUtc(int year, int month, int day) {
    tm date{};
    date.tm_year = year - 1900;
    date.tm_mon = month - 1;
    date.tm_mday = day;
    date.tm_hour = 12;
    return timegm(&date);
}

struct ZoneCase {
    const char* name;
    const char* zone;
    int month;
    std::int32_t bias, daylightBias, result;
};

class RealZones : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(RealZones, GiveTheirBiasesAndState) {
    const ZoneCase& c = GetParam();
    const TimeZoneReading reading = ReadInZone(c.zone, MiddayUtc(2026, c.month, 15));
    EXPECT_EQ(reading.info.Bias, c.bias);
    EXPECT_EQ(reading.info.StandardBias, 0);
    EXPECT_EQ(reading.info.DaylightBias, c.daylightBias);
    EXPECT_EQ(reading.result, c.result);
}

INSTANTIATE_TEST_SUITE_P(
    TzData, RealZones,
    ::testing::Values(
        ZoneCase{"ZurichWinter", "Europe/Zurich", 1, -60, -60, kZoneStandardTime},
        ZoneCase{"ZurichSummer", "Europe/Zurich", 7, -60, -60, kZoneDaylightTime},
        // Dublin marks its winter as the daylight-saving period; the offsets say otherwise.
        ZoneCase{"DublinWinter", "Europe/Dublin", 1, 0, -60, kZoneStandardTime},
        ZoneCase{"DublinSummer", "Europe/Dublin", 7, 0, -60, kZoneDaylightTime},
        ZoneCase{"Kolkata", "Asia/Kolkata", 7, -330, 0, kZoneNoDaylightRules},
        ZoneCase{"Kathmandu", "Asia/Kathmandu", 1, -345, 0, kZoneNoDaylightRules},
        ZoneCase{"StJohnsWinter", "America/St_Johns", 1, 210, -60, kZoneStandardTime},
        ZoneCase{"StJohnsSummer", "America/St_Johns", 7, 210, -60, kZoneDaylightTime},
        // Half an hour of daylight saving, in the southern summer.
        ZoneCase{"LordHoweJanuary", "Australia/Lord_Howe", 1, -630, -30, kZoneDaylightTime},
        ZoneCase{"LordHoweJuly", "Australia/Lord_Howe", 7, -630, -30, kZoneStandardTime},
        ZoneCase{"Utc", "UTC", 7, 0, 0, kZoneNoDaylightRules}),
    [](const auto& info) { return std::string(info.param.name); });

// How many of `moments`, read in this order by one SystemTimeZone (which keeps its readings for a
// while), read otherwise than ReadTimeZoneAt reads them afresh. In a child process in `zone`; -1
// when the child could not say.
int KeptReadingsThatDiffer(const char* zone, const std::vector<std::time_t>& moments) {
    int pipeEnds[2];
    EXPECT_EQ(pipe(pipeEnds), 0);
    const pid_t child = fork();
    if (child == 0) {
        setenv("TZ", zone, 1);
        tzset();
        const SystemTimeZone system;
        int differing = 0;
        for (const std::time_t when : moments) {
            const TimeZoneReading kept = system.ReadAt(when);
            const TimeZoneReading fresh = ReadTimeZoneAt(when);
            differing += kept.result != fresh.result || kept.info.Bias != fresh.info.Bias ||
                         kept.info.StandardBias != fresh.info.StandardBias ||
                         kept.info.DaylightBias != fresh.info.DaylightBias;
        }
        const bool written = write(pipeEnds[1], &differing, sizeof differing) == sizeof differing;
        _exit(written ? 0 : 1);
    }
    close(pipeEnds[1]);
    int differing = -1;
    if (read(pipeEnds[0], &differing, sizeof differing) != static_cast<ssize_t>(sizeof differing)) {
        differing = -1;
    }
    close(pipeEnds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return differing;
}

// Every `step` seconds from `from` to `to`, both included.
std::vector<std::time_t> Every(std::time_t step, std::time_t from, std::time_t to) {
    std::vector<std::time_t> moments;
    for (std::time_t when = from; when <= to; when += step) {
        moments.push_back(when);
    }
    return moments;
}

std::time_t UtcAt(int year, int month, int day, int hour, int minute) {
    return MiddayUtc(year, month, day) + (hour - 12) * 3600 + minute * 60;
}

TEST(SystemTimeZone, KeptReadingsFollowTheChangesToAndFromDaylightTime) {
    // Zurich moves at 01:00 UTC on the last Sundays of March and October.
    for (const std::time_t change : {UtcAt(2026, 3, 29, 1, 0), UtcAt(2026, 10, 25, 1, 0)}) {
        EXPECT_EQ(KeptReadingsThatDiffer("Europe/Zurich", Every(7, change - 300, change + 300)), 0);
        EXPECT_EQ(KeptReadingsThatDiffer("Europe/Zurich", Every(1, change - 90, change + 90)), 0);
    }
    // Half an hour of daylight saving, ending at 15:00 UTC on the first Sunday of April.
    const std::time_t lordHowe = UtcAt(2026, 4, 4, 15, 0);
    EXPECT_EQ(KeptReadingsThatDiffer("Australia/Lord_Howe", Every(1, lordHowe - 90, lordHowe + 90)),
              0);
}

TEST(SystemTimeZone, KeptReadingsFollowTheNewYearAndAClockSetBack) {
    // Zurich's new year, 23:00 UTC, into a year whose offsets are sampled anew.
    const std::time_t newYear = UtcAt(2026, 12, 31, 23, 0);
    EXPECT_EQ(KeptReadingsThatDiffer("Europe/Zurich", Every(5, newYear - 120, newYear + 120)), 0);
    // Summer, then the clock set back to winter and forward again, then a day's worth of minutes.
    std::vector<std::time_t> jumps = {UtcAt(2026, 7, 1, 12, 0), UtcAt(2026, 7, 1, 12, 0) + 1,
                                      UtcAt(2026, 1, 15, 12, 0), UtcAt(2026, 7, 1, 12, 0) + 2,
                                      UtcAt(2025, 12, 31, 23, 0) - 1};
    const std::vector<std::time_t> day =
        Every(60, UtcAt(2026, 3, 28, 12, 0), UtcAt(2026, 3, 29, 12, 0));
    jumps.insert(jumps.end(), day.begin(), day.end());
    EXPECT_EQ(KeptReadingsThatDiffer("Europe/Zurich", jumps), 0);
}

}  // namespace
}  // namespace tikora
