#include <gtest/gtest.h>

#include "clock/glyph_layout.h"

namespace tikora {
namespace {

struct GlyphCase {
    const char* name;
    bool beat;
    GlyphMetrics metrics;
    double width, height;
    char32_t character;
    std::int32_t position;
    bool drawn;
    GlyphCopy copy;  // source x, width, height, destination x, destination y
};

class GlyphPlacement : public ::testing::TestWithParam<GlyphCase> {};

TEST_P(GlyphPlacement, PutsTheCellOnTheGrid) {
    const GlyphCase& c = GetParam();
    const auto copy = PlaceGlyph(c.character, c.position, c.beat, c.metrics, c.width, c.height);
    ASSERT_EQ(copy.has_value(), c.drawn);
    if (copy) {
        EXPECT_EQ(copy->sourceX, c.copy.sourceX);
        EXPECT_EQ(copy->width, c.copy.width);
        EXPECT_EQ(copy->height, c.copy.height);
        EXPECT_EQ(copy->destinationX, c.copy.destinationX);
        EXPECT_EQ(copy->destinationY, c.copy.destinationY);
    }
}

constexpr GlyphMetrics kWorked{8, 11, 4};  // the 60 x 20 window's worked example
constexpr GlyphMetrics kHalves{7.5f, 11, 4};

INSTANTIATE_TEST_SUITE_P(
    Layouts, GlyphPlacement,
    ::testing::Values(
        GlyphCase{"TimeFirstDigit", false, kWorked, 60, 20, U'1', 0, true, {8, 8, 11, 12, 4}},
        GlyphCase{
            "TimeSecondDigitSeven", false, kWorked, 60, 20, U'7', 1, true, {56, 8, 11, 20, 4}},
        GlyphCase{"TimeSeparatorCell", false, kWorked, 60, 20, U':', 2, true, {88, 4, 11, 28, 4}},
        GlyphCase{"TimeSeparatorIgnoresCharacter",
                  false,
                  kWorked,
                  60,
                  20,
                  U'.',
                  2,
                  true,
                  {88, 4, 11, 28, 4}},
        GlyphCase{"TimeThirdDigit", false, kWorked, 60, 20, U'0', 3, true, {0, 8, 11, 32, 4}},
        GlyphCase{"TimeFourthDigit", false, kWorked, 60, 20, U'9', 4, true, {72, 8, 11, 40, 4}},
        GlyphCase{"TimePositionFive", false, kWorked, 60, 20, U'9', 5, false, {}},
        GlyphCase{"TimePositionMinusOne", false, kWorked, 60, 20, U'9', -1, false, {}},
        GlyphCase{
            "BeatAtCellIgnoresCharacter", true, kWorked, 60, 20, U'5', 0, true, {80, 8, 11, 14, 4}},
        GlyphCase{"BeatLastDigit", true, kWorked, 60, 20, U'3', 3, true, {24, 8, 11, 38, 4}},
        GlyphCase{"BeatPositionFour", true, kWorked, 60, 20, U'3', 4, false, {}},
        // X0 = 30 - 30 / 2 = 15 ... shifted to 10 by a 50 pixel window.
        GlyphCase{
            "HalfPixelCellsRoundOnce1", true, kHalves, 50, 20, U'2', 1, true, {15, 8, 11, 18, 4}},
        GlyphCase{
            "HalfPixelCellsRoundOnce2", true, kHalves, 50, 20, U'2', 2, true, {15, 8, 11, 25, 4}},
        GlyphCase{
            "HalfPixelCellsRoundOnce3", true, kHalves, 50, 20, U'3', 3, true, {22, 8, 11, 32, 4}},
        GlyphCase{"SeparatorOfNoWidth",
                  false,
                  GlyphMetrics{8, 11, 0},
                  60,
                  20,
                  U':',
                  2,
                  true,
                  {88, 0, 11, 30, 4}},
        GlyphCase{"MinutesFollowHoursWithoutSeparator",
                  false,
                  GlyphMetrics{8, 11, 0},
                  60,
                  20,
                  U'4',
                  3,
                  true,
                  {32, 8, 11, 30, 4}},
        GlyphCase{"BlockWiderThanWindow",
                  false,
                  GlyphMetrics{30, 40, 10},
                  60,
                  20,
                  U'1',
                  0,
                  true,
                  {30, 30, 40, -35, -11}},
        GlyphCase{"NonDigitAtDigitPosition", false, kWorked, 60, 20, U'x', 0, false, {}},
        GlyphCase{"HugeWindowStopsAtSixteenBits",
                  true,
                  kWorked,
                  200000,
                  20,
                  U'1',
                  0,
                  true,
                  {80, 8, 11, 32767, 4}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tikora
