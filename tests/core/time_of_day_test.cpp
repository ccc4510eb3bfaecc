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

INSTANTIATE_TEST_SUITE_P(
    Zones, UtcToLocal,
    ::testing::Values(
        ZoneCase{"TwoHoursEastNoDaylightRules",
                 "23:30:00",
                 {{-120, 0, 0}, TIME_ZONE_ID_UNKNOWN},
                 "01:30:00"},
        ZoneCase{
            "TwoHoursEastStandard", "23:30:00", {{-120, 0, 0}, TIME_ZONE_ID_STANDARD}, "01:30:00"},
        ZoneCase{
            "EasternDaylightTime", "02:15:07", {{300, 0, -60}, TIME_ZONE_ID_DAYLIGHT}, "22:15:07"},
        ZoneCase{
            "EasternStandardTime", "02:15:07", {{300, 0, -60}, TIME_ZONE_ID_STANDARD}, "21:15:07"},
        ZoneCase{
            "StandardBiasCounts", "10:00:00", {{0, -60, 0}, TIME_ZONE_ID_STANDARD}, "11:00:00"},
        ZoneCase{
            "HourNineIsPadded", "08:41:03", {{-60, 0, -60}, TIME_ZONE_ID_STANDARD}, "09:41:03"},
        ZoneCase{
            "HourZeroIsPadded", "23:07:09", {{-60, 0, -60}, TIME_ZONE_ID_STANDARD}, "00:07:09"},
        ZoneCase{"MinutesAndSecondsPassThrough",
                 "12:07:59",
                 {{-540, 0, 0}, TIME_ZONE_ID_UNKNOWN},
                 "21:07:59"},
        ZoneCase{"LeapSecondPassesThrough",
                 "23:59:60",
                 {{-60, 0, -60}, TIME_ZONE_ID_STANDARD},
                 "00:59:60"},
        ZoneCase{
            "FailedReadingMeansUtc", "12:34:56", {{-60, 0, -60}, TIME_ZONE_ID_INVALID}, "12:34:56"},
        ZoneCase{
            "KolkataCrossesMidnight", "23:30:00", {{-330, 0, 0}, TIME_ZONE_ID_UNKNOWN}, "05:00:00"},
        ZoneCase{
            "KolkataMovesTheMinutes", "06:45:10", {{-330, 0, 0}, TIME_ZONE_ID_UNKNOWN}, "12:15:10"},
        ZoneCase{
            "KathmanduQuarterHour", "23:30:00", {{-345, 0, 0}, TIME_ZONE_ID_UNKNOWN}, "05:15:00"},
        ZoneCase{"NewfoundlandDaylightGoesBack",
                 "01:15:42",
                 {{210, 0, -60}, TIME_ZONE_ID_DAYLIGHT},
                 "22:45:42"}),
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
                      AdvanceCase{"OversizedSecondsFieldCarries", "10:00:75", 0, "10:01:15"},
                      AdvanceCase{"NonNumericFieldCountsAsZero", "ab:05:07", 0, "00:05:07"},
                      AdvanceCase{"ShortTextKeepsWhatItHas", "7", 61, "07:01:01"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ElapsedSeconds, CountsTheDayWhenMidnightComesBetween) {
    EXPECT_FLOAT_EQ(ElapsedSeconds(100.5f, 40.25f), 60.25f);
    EXPECT_FLOAT_EQ(ElapsedSeconds(40.25f, 40.25f), 0.0f);
    EXPECT_FLOAT_EQ(ElapsedSeconds(5.0f, 86390.0f), 15.0f);
    // The tick after midnight of a display started at 23:59:50.
    EXPECT_EQ(AdvanceTime("23:59:50", ElapsedSeconds(5.0f, 86390.0f)), "00:00:05");
}

TEST(ShownChange, WaitsForTheRestOfTheCurrentSecond) {
    EXPECT_EQ(MillisecondsUntilShownChange(100.0f, 100.0f), 1000);
    EXPECT_EQ(MillisecondsUntilShownChange(100.25f, 100.0f), 750);
    EXPECT_EQ(MillisecondsUntilShownChange(102.75f, 100.0f), 250);
    EXPECT_EQ(MillisecondsUntilShownChange(0.5f, 86399.0f), 500);
}

// At the moment a display's timer is due its shown second has changed, and a millisecond before
// it had not: waking then is never early and never late.
TEST(ShownChange, FallsOnTheNextShownSecond) {
    const float base = 3.0f + 5.0f / 64;
    for (int step = 0; step < 10 * 64; ++step) {
        const float now = base + static_cast<float>(step) / 64;
        const int wait = MillisecondsUntilShownChange(now, base);
        const float shown = std::floor(ElapsedSeconds(now, base));
        EXPECT_EQ(std::floor(ElapsedSeconds(now + static_cast<float>(wait) / 1000, base)),
                  shown + 1)
            << step;
        EXPECT_EQ(std::floor(ElapsedSeconds(now + static_cast<float>(wait - 1) / 1000, base)),
                  shown)
            << step;
    }
}

struct ParseCase {
    const char* name;
    const char* text;
    bool valid;
};

class ParseTime : public ::testing::TestWithParam<ParseCase> {};

TEST_P(ParseTime, AcceptsOnlyATimeOfDay) {
    EXPECT_EQ(ParseTimeOfDay(GetParam().text).has_value(), GetParam().valid);
}

INSTANTIATE_TEST_SUITE_P(Texts, ParseTime,
                         ::testing::Values(ParseCase{"Midnight", "00:00:00", true},
                                           ParseCase{"LastSecond", "23:59:59", true},
                                           ParseCase{"LeapSecond", "23:59:60", true},
                                           ParseCase{"HourTwentyFour", "24:00:00", false},
                                           ParseCase{"MinuteSixty", "12:60:00", false},
                                           ParseCase{"SecondSixtyOne", "12:00:61", false},
                                           ParseCase{"OneDigitHour", "1:00:00 ", false},
                                           ParseCase{"WrongSeparators", "12-00-00", false},
                                           ParseCase{"LetterInMinutes", "12:0a:00", false},
                                           ParseCase{"SignInSeconds", "12:00:+5", false},
                                           ParseCase{"Empty", "", false},
                                           ParseCase{"TrailingCharacter", "12:00:00x", false},
                                           ParseCase{"DecimalSeconds", "45296.5", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(ParseTime, ReadsTheFields) {
    const std::optional<TimeOfDay> time = ParseTimeOfDay("07:08:09");
    ASSERT_TRUE(time);
    EXPECT_EQ(time->hour, 7);
    EXPECT_EQ(time->minute, 8);
    EXPECT_EQ(time->second, 9);
}

}  // namespace
}  // namespace tikora
