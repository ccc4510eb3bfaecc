// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <array>
#include <tuple>
#include <vector>

#include "clock/clock_frame.h"
#include "clock/internet_time.h"
#include "clock/text_layout.h"

namespace tikora {
namespace {

constexpr GlyphMetrics kCells{8, 11, 4};  // in a 60 x 20 window the time block starts at 12, 4
constexpr double kNotABeat = -1;

using Cell = std::array<int, 3>;  // source x, width, destination x

struct FrameCase {
    const char* name;
    int hour, minute, second, zoneOffset;
    bool beat, image;
    const char* separator;
    const char* text;
    double beatValue = kNotABeat;
    std::vector<Cell> cells = {};  // image mode, left to right
    GlyphMetrics metrics = kCells;
    double width = 60, height = 20;
    int top = 4, cellHeight = 11;  // of every cell
};

class Frame : public ::testing::TestWithParam<FrameCase> {};

TEST_P(Frame, ShowsTheTextAndCopiesTheCells) {
    const FrameCase& c = GetParam();
    // Fractions of a second never count.
    const TickReading reading{{2026, 1, 1, c.hour, c.minute, c.second, 999'999'999}, c.zoneOffset};
    SkinSettingsRecord skin{
        "", "", "", "", c.image, {}, c.metrics.charWidth, c.metrics.charHeight, c.metrics.sepWidth};
    skin.Separator = c.separator;
    const ClockSettingsRecord settings{c.beat};

    const ClockFrame frame = ComposeFrame(reading, FaceOf(skin, settings), c.width, c.height);
    EXPECT_EQ(frame.text, c.text);
    if (c.beatValue != kNotABeat) {
        EXPECT_NEAR(InternetTime(reading.now, c.zoneOffset), c.beatValue, 1e-9) << "beat value";
    }
    std::vector<Cell> cells;
    for (const GlyphCopy& copy : frame.glyphs) {
        cells.push_back({copy.sourceX, copy.width, copy.destinationX});
        EXPECT_EQ(copy.destinationY, c.top);
        EXPECT_EQ(copy.height, c.cellHeight);
    }
    EXPECT_EQ(cells, c.cells);
}

// clang-format off
INSTANTIATE_TEST_SUITE_P(Ticks, Frame, ::testing::Values(
    FrameCase{"Midnight", 0, 0, 0, 60, false, false, ":", "00:00"},
    FrameCase{"MinuteBeforeMidnight", 23, 59, 59, 60, false, false, ":", "23:59"},
    FrameCase{"AnySeparatorInText", 19, 5, 0, 60, false, false, "\xC2\xB7", "19\xC2\xB7" "05"},
    FrameCase{"EmptySeparatorShowsNothing", 19, 5, 0, 60, false, false, "", "1905"},
    // Internet Time's published values; a value that rounds to 1000 shows as 000.
    FrameCase{"BielNoon", 12, 0, 0, 60, true, false, ":", "@500", 500},
    FrameCase{"DayStartIsThousand", 23, 0, 0, 0, true, false, ":", "@000", 1000},
    FrameCase{"WrapsDown", 23, 30, 0, 0, true, false, ":", "@021", 1000.0 * 88200 / 86400 - 1000},
    FrameCase{"WrapsUp", 0, 0, 0, 600, true, false, ":", "@625", 625},
    FrameCase{"HalfRoundsToEvenDown", 0, 3, 36, 60, true, false, ":", "@002", 2.5},
    FrameCase{"HalfRoundsToEvenUp", 0, 10, 48, 60, true, false, ":", "@008", 7.5},
    FrameCase{"LastSecondBeforeTheBeatDay", 23, 59, 59, 60, true, false, ":", "@000", 999.988425925926},
    FrameCase{"KolkataHalfHour", 5, 30, 0, 330, true, false, ":", "@042", 1000.0 / 24},
    // Image mode: the separator cell whatever the character, positions counted in characters.
    FrameCase{"TimeCells", 7, 45, 0, 60, false, true, ":", "07:45", kNotABeat,
              {{0, 8, 12}, {56, 8, 20}, {88, 4, 28}, {32, 8, 32}, {40, 8, 40}}},
    FrameCase{"SeparatorCellForAnyCharacter", 7, 45, 0, 60, false, true, "\xC3\x85", "07\xC3\x85" "45",
              kNotABeat, {{0, 8, 12}, {56, 8, 20}, {88, 4, 28}, {32, 8, 32}, {40, 8, 40}}},
    FrameCase{"EmptySeparatorKeepsItsCell", 7, 45, 0, 60, false, true, "", "0745",
              kNotABeat, {{0, 8, 12}, {56, 8, 20}, {88, 4, 28}, {32, 8, 32}, {40, 8, 40}}},
    FrameCase{"MidnightCells", 0, 0, 0, 60, false, true, ".", "00.00", kNotABeat,
              {{0, 8, 12}, {0, 8, 20}, {88, 4, 28}, {0, 8, 32}, {0, 8, 40}}},
    FrameCase{"BeatCells", 7, 45, 0, 60, true, true, ":", "@323", 322.916666666667,
              {{80, 8, 14}, {24, 8, 22}, {16, 8, 30}, {24, 8, 38}}},
    FrameCase{"BeatWrapCells", 23, 59, 59, 60, true, true, ":", "@000", 999.988425925926,
              {{80, 8, 14}, {0, 8, 22}, {0, 8, 30}, {0, 8, 38}}},
    // Each place is one real sum rounded once: 17.5 goes to 18, 32.5 to 32.
    FrameCase{"HalfPixelCells", 5, 21, 7, 60, true, true, ":", "@223", 222.997685185185,
              {{75, 8, 10}, {15, 8, 18}, {15, 8, 25}, {22, 8, 32}}, {7.5f, 11, 4}, 50},
    FrameCase{"HalfPixelSourceColumns", 19, 57, 0, 60, false, true, ":", "19:57", kNotABeat,
              {{8, 8, 13}, {68, 8, 20}, {82, 4, 28}, {38, 8, 32}, {52, 8, 40}}, {7.5f, 11, 4}},
    FrameCase{"SeparatorOfNoWidth", 12, 34, 0, 60, false, true, ":", "12:34", kNotABeat,
              {{8, 8, 14}, {16, 8, 22}, {88, 0, 30}, {24, 8, 30}, {32, 8, 38}}, {8, 11, 0}},
    FrameCase{"BlockWiderThanTheWindow", 12, 34, 0, 60, false, true, ":", "12:34", kNotABeat,
              {{30, 30, -35}, {60, 30, -5}, {330, 10, 25}, {90, 30, 35}, {120, 30, 65}},
              {30, 40, 10}, 60, 20, -11, 40},
    FrameCase{"HugeWindowStopsAtSixteenBits", 12, 34, 0, 60, true, true, ":", "@524", 523.611111111111,
              {{80, 8, 32767}, {40, 8, 32775}, {16, 8, 32783}, {32, 8, 32791}}, kCells, 200000}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

struct WakeCase {
    const char* name;
    int hour, minute, second;
    std::int32_t nanosecond, zoneOffset;
    bool beat;
    std::int64_t milliseconds;  // until the shown text changes
};

class Wake : public ::testing::TestWithParam<WakeCase> {};

TEST_P(Wake, ComesWhenTheShownTextChanges) {
    const WakeCase& c = GetParam();
    const TickReading reading{{2026, 3, 29, c.hour, c.minute, c.second, c.nanosecond},
                              c.zoneOffset};
    ClockFace face{c.beat, false, {}, kCells};
    face.separator = ":";
    EXPECT_EQ(UntilShownTextChanges(reading, face).count(), c.milliseconds);
}

// Zurich changes to summer time at 01:00 UTC on 29 March 2026 (local 02:00 becomes 03:00) and back
// at 01:00 UTC on 25 October (03:00 becomes 02:00). A beat reading just before a change must find
// the turn that a reading just after it finds.
// clang-format off
INSTANTIATE_TEST_SUITE_P(Clock, Wake, ::testing::Values(
    WakeCase{"NextMinute", 12, 34, 56, 250'000'000, 60, false, 3750},
    WakeCase{"OnTheMinuteAWholeMinute", 12, 35, 0, 0, 60, false, 60000},
    WakeCase{"NeverBeforeTheChange", 12, 34, 59, 999'999'999, 60, false, 1},
    WakeCase{"AcrossMidnight", 23, 59, 30, 0, 60, false, 30000},
    WakeCase{"MinuteIntoSummerTime", 1, 59, 45, 0, 60, false, 15000},
    // Beat 83 turns to 84 at 83.5, 7214.4 s after 00:00 UTC+1: at the next whole second, 7215.
    WakeCase{"BeatBeforeSummerTime", 1, 59, 30, 0, 60, true, 45000},
    WakeCase{"BeatAfterSummerTime", 3, 0, 14, 0, 120, true, 1000},
    WakeCase{"BeatBeforeWinterTime", 2, 59, 30, 0, 120, true, 45000},
    WakeCase{"BeatAfterWinterTime", 2, 0, 14, 0, 60, true, 1000},
    // @000 holds from 999.5 past the wrap to 0.5: 87 s from 23:59:17 at UTC+1, across midnight.
    WakeCase{"BeatZeroAcrossMidnight", 23, 59, 17, 0, 60, true, 87000},
    WakeCase{"BeatZeroAcrossTheBeatDay", 22, 59, 17, 500'000'000, 0, true, 86500},  // from 1000
    // An exact half rounds to even: 2.5 is still @002, 7.5 is already @008.
    WakeCase{"HalfStaysEven", 0, 3, 35, 0, 60, true, 2000},
    WakeCase{"HalfTurnsToEven", 0, 10, 47, 0, 60, true, 1000},
    WakeCase{"BeatOfAZoneBeyondAnyRange", 12, 0, 0, 0, 5000, true, 90000}),
    [](const auto& info) { return std::string(info.param.name); });
// clang-format on

// A position outside the layout, or a character that is no digit at a digit position, copies
// nothing.
TEST(PlaceGlyph, CopiesNothingOutsideTheLayout) {
    for (const auto& [character, position, beat] :
         {std::tuple{U'1', 4, true}, {U'1', 5, false}, {U'1', -1, true}, {U'x', 0, false}}) {
        EXPECT_FALSE(PlaceGlyph(character, position, beat, kCells, 60, 20)) << position;
    }
}

TEST(ZoneOffset, FollowsTheResultCode) {
    for (const auto& [reading, offset] :
         {std::pair{TimeZoneReading{{-330, 0, 0}, kZoneNoDaylightRules}, 330},
          {{{300, 15, -60}, kZoneStandardTime}, -315},
          {{{-60, 0, -60}, kZoneDaylightTime}, 120},
          {{{-60, 0, -60}, kZoneUnreadable}, 0},  // the local clock taken as UTC
          {{{-60, 0, -60}, 7}, 0}}) {
        EXPECT_EQ(ZoneOffsetMinutes(reading), offset) << reading.result;
    }
}

TEST(TextPlacement, CentresOnePixelLeftAndUpWithALineOfRoomForInk) {
    struct Case {
        double innerWidth, innerHeight, textWidth, textHeight;
        int x, y;
        PixelRect area;
    };
    for (const Case& c : {Case{60, 22, 30, 14, 14, 3, {-1, -12, 61, 44}},
                          Case{61, 23, 31, 15, 14, 3, {-2, -13, 63, 47}},      // remainders dropped
                          Case{60, 22, 30.5, 14.5, 14, 3, {-2, -13, 63, 47}},  // halves to even
                          Case{40, 22, 90, 14, -26, 3, {-41, -12, 120, 44}},
                          Case{200, 48, 30, 14, 84, 16, {0, 0, 200, 48}},  // the whole window
                          Case{0, 0, 30, 14, -16, -8, {-31, -23, 60, 44}}}) {
        const TextPlacement place =
            PlaceText(c.innerWidth, c.innerHeight, c.textWidth, c.textHeight);
        EXPECT_EQ(place.origin.x, c.x) << c.innerWidth << " " << c.textWidth;
        EXPECT_EQ(place.origin.y, c.y) << c.innerHeight << " " << c.textHeight;
        EXPECT_EQ(place.area, c.area) << c.innerWidth << " " << c.textWidth;
    }
}

}  // namespace
}  // namespace tikora
