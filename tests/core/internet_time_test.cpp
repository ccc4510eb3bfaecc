#include <gtest/gtest.h>

#include "clock/clock_text.h"
#include "clock/internet_time.h"

namespace tikora {
namespace {

struct WorkedValue {
    const char* name;
    std::int32_t offset;
    int hour, minute, second;
    double value;
    const char* shown;
};

class InternetTimeWorkedValues : public ::testing::TestWithParam<WorkedValue> {};

TEST_P(InternetTimeWorkedValues, GivesTheValueAndTheShownText) {
    const WorkedValue& c = GetParam();
    const double value = InternetTimeAt(c.hour, c.minute, c.second, c.offset);
    EXPECT_NEAR(value, c.value, 1e-9);
    EXPECT_EQ(BeatText(value), c.shown);
}

INSTANTIATE_TEST_SUITE_P(
    PublishedTable, InternetTimeWorkedValues,
    ::testing::Values(WorkedValue{"BielMidnight", 60, 0, 0, 0, 0.0, "@000"},
                      WorkedValue{"BielNoon", 60, 12, 0, 0, 500.0, "@500"},
                      WorkedValue{"UtcMidnight", 0, 0, 0, 0, 1000.0 / 24, "@042"},
                      WorkedValue{"UtcDayStartIsThousandNotZero", 0, 23, 0, 0, 1000.0, "@000"},
                      WorkedValue{"UtcWrapsDown", 0, 23, 30, 0, 1000.0 * 88200 / 86400 - 1000,
                                  "@021"},
                      WorkedValue{"SydneyWrapsUp", 600, 0, 0, 0, 625.0, "@625"},
                      WorkedValue{"HalfBeatRoundsToEven", 60, 0, 3, 36, 2.5, "@002"},
                      WorkedValue{"SevenAndAHalfRoundsUp", 60, 0, 10, 48, 7.5, "@008"},
                      WorkedValue{"NewYorkEvening", -300, 18, 0, 0, 1000.0, "@000"},
                      WorkedValue{"KolkataHalfHour", 330, 5, 30, 0, 1000.0 / 24, "@042"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(InternetTime, IgnoresFractionsAndStepsBySeconds) {
    // One second is 1/86.4 beat.
    EXPECT_NEAR(InternetTimeAt(0, 0, 1, 60) - InternetTimeAt(0, 0, 0, 60), 1000.0 / 86400, 1e-12);
}

struct ZoneCase {
    const char* name;
    TimeZoneReading reading;
    std::int32_t offset;
};

class ZoneOffset : public ::testing::TestWithParam<ZoneCase> {};

TEST_P(ZoneOffset, FollowsTheResultCode) {
    EXPECT_EQ(ZoneOffsetMinutes(GetParam().reading), GetParam().offset);
}

INSTANTIATE_TEST_SUITE_P(
    ResultCodes, ZoneOffset,
    ::testing::Values(
        ZoneCase{"UnknownUsesStandardBias", {{-330, 0, 0}, kZoneNoDaylightRules}, 330},
        ZoneCase{"StandardUsesStandardBias", {{-60, 0, -60}, kZoneStandardTime}, 60},
        ZoneCase{"DaylightAddsDaylightBias", {{-60, 0, -60}, kZoneDaylightTime}, 120},
        ZoneCase{"StandardBiasCountsToo", {{300, 15, -60}, kZoneStandardTime}, -315},
        ZoneCase{"FailureMeansUtc", {{-60, 0, -60}, kZoneUnreadable}, 0},
        ZoneCase{"UnknownCodeMeansUtc", {{-60, 0, -60}, 7}, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tikora
