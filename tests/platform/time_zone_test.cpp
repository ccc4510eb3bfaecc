#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>

#include "platform/time_zone.h"

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
        ZoneCase{"ZurichWinter", "Europe/Zurich", 1, -60, -60, TIME_ZONE_ID_STANDARD},
        ZoneCase{"ZurichSummer", "Europe/Zurich", 7, -60, -60, TIME_ZONE_ID_DAYLIGHT},
        // Dublin marks its winter as the daylight-saving period; the offsets say otherwise.
        ZoneCase{"DublinWinter", "Europe/Dublin", 1, 0, -60, TIME_ZONE_ID_STANDARD},
        ZoneCase{"DublinSummer", "Europe/Dublin", 7, 0, -60, TIME_ZONE_ID_DAYLIGHT},
        ZoneCase{"Kolkata", "Asia/Kolkata", 7, -330, 0, TIME_ZONE_ID_UNKNOWN},
        ZoneCase{"Kathmandu", "Asia/Kathmandu", 1, -345, 0, TIME_ZONE_ID_UNKNOWN},
        ZoneCase{"StJohnsWinter", "America/St_Johns", 1, 210, -60, TIME_ZONE_ID_STANDARD},
        ZoneCase{"StJohnsSummer", "America/St_Johns", 7, 210, -60, TIME_ZONE_ID_DAYLIGHT},
        // Half an hour of daylight saving, in the southern summer.
        ZoneCase{"LordHoweJanuary", "Australia/Lord_Howe", 1, -630, -30, TIME_ZONE_ID_DAYLIGHT},
        ZoneCase{"LordHoweJuly", "Australia/Lord_Howe", 7, -630, -30, TIME_ZONE_ID_STANDARD},
        ZoneCase{"Utc", "UTC", 7, 0, 0, TIME_ZONE_ID_UNKNOWN}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tikora
