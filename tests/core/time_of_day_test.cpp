#include <gtest/gtest.h>

#include <cmath>

#include "atomic/time_of_day.h"

namespace tikora {
namespace {

struct ZoneCase {
    const char* name;
    const char* utc;
    TimeZoneReading zone;
    const char* local;
};

class UtcToLocal : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(UtcToLocal, ShowsTheLocalTimeOfDay) {
    EXPECT_EQ(UtcToLocalTime(GetParam().utc, GetParam().zone), GetParam().local);
}

constexpr std::int32_t kUnknown = kZoneNoDaylightRules;
constexpr std::int32_t kStandard = kZoneStandardTime;
constexpr std::int32_t kDaylight = kZoneDaylightTime;

INSTANTIATE_TEST_SUITE_P(
    Zones, UtcToLocal,
    ::testing::Values(
        ZoneCase{"TwoHoursEastNoDaylightRules", "23:30:00", {{-120, 0, 0}, kUnknown}, "01:30:00"},
        ZoneCase{"TwoHoursEastStandard", "23:30:00", {{-120, 0, 0}, kStandard}, "01:30:00"},
        ZoneCase{"EasternDaylightTime", "02:15:07", {{300, 0, -60}, kDaylight}, "22:15:07"},
        ZoneCase{"EasternStandardTime", "02:15:07", {{300, 0, -60}, kStandard}, "21:15:07"},
        ZoneCase{"HourNineIsPadded", "08:41:03", {{-60, 0, -60}, kStandard}, "09:41:03"},
        ZoneCase{"HourZeroIsPadded", "23:07:09", {{-60, 0, -60}, kStandard}, "00:07:09"},
        ZoneCase{"MinutesAndSecondsPassThrough", "12:07:59", {{-540, 0, 0}, kUnknown}, "21:07:59"},
        ZoneCase{"FailedReadingMeansUtc", "12:34:56", {{-60, 0, -60}, kZoneUnreadable}, "12:34:56"},
        ZoneCase{"KolkataMovesTheMinutes", "23:30:00", {{-330, 0, 0}, kUnknown}, "05:00:00"},
        ZoneCase{"KathmanduQuarterHour", "23:30:00", {{-345, 0, 0}, kUnknown}, "05:15:00"},
        ZoneCase{"NewfoundlandGoesBack", "01:15:42", {{210, 0, -60}, kDaylight}, "22:45:42"}),
    [](const auto& info) { return std::string(info.param.name); });

struct AdvanceCase {
    const char* name;
    const char* base;
    float seconds;
    const char* shown;
};

class Advance : public ::testing::TestWithParam<AdvanceCase> {};

TEST_P(Advance, AddsTheWholeSeconds) {
    EXPECT_EQ(AdvanceTime(GetParam().base, GetParam().seconds), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Advance,
    ::testing::Values(AdvanceCase{"SecondsCarryIntoMinutesAndHours", "10:59:50", 15, "11:00:05"},
                      AdvanceCase{"OneSecondShortOfAnHour", "10:20:30", 3599, "11:20:29"},
                      AdvanceCase{"ExactlyAnHour", "10:20:30", 3600, "11:20:30"},
                      AdvanceCase{"HoursMinutesAndSeconds", "10:45:30", 8070, "13:00:00"},
                      AdvanceCase{"NothingElapsedStillPadsEveryField", "09:05:07", 0, "09:05:07"},
                      AdvanceCase{"FractionsDoNotCount", "09:05:07", 2.9f, "09:05:09"},
                      AdvanceCase{"WrapsPastTheLastSecondOfTheDay", "23:59:59", 1, "00:00:00"},
                      AdvanceCase{"WrapsIntoTheNextDay", "22:30:00", 7200, "00:30:00"},
                      AdvanceCase{"NonNumericFieldCountsAsZero", "ab:05:07", 0, "00:05:07"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ElapsedSeconds, CountsTheDayWhenMidnightComesBetween) {
    EXPECT_FLOAT_EQ(ElapsedSeconds(100.5f, 40.25f), 60.25f);
    EXPECT_FLOAT_EQ(ElapsedSeconds(5.0f, 86390.0f), 15.0f);
    // The first tick after midnight of a display started at 23:59:50.
    EXPECT_EQ(AdvanceTime("23:59:50", ElapsedSeconds(5.0f, 86390.0f)), "00:00:05");
}

// When a display's timer comes due its shown second has just changed, and a millisecond earlier
// it had not: never early, never late.
TEST(ShownChange, FallsOnTheNextShownSecond) {
    const float base = 3.0f + 5.0f / 64;
    for (int step = 0; step < 4 * 64; ++step) {
        const float now = base + static_cast<float>(step) / 64;
        const int wait = MillisecondsUntilShownChange(now, base);
        const auto shownAfter = [&](int ms) {
            return std::floor(ElapsedSeconds(now + static_cast<float>(ms) / 1000, base));
        };
        EXPECT_EQ(shownAfter(wait), shownAfter(0) + 1) << step;
        EXPECT_EQ(shownAfter(wait - 1), shownAfter(0)) << step;
    }
    EXPECT_EQ(MillisecondsUntilShownChange(100.25f, 100.0f), 750);
    EXPECT_EQ(MillisecondsUntilShownChange(0.25f, 86399.5f), 250);  // across midnight
}

}  // namespace
}  // namespace tikora
