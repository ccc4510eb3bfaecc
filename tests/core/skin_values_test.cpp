#include <gtest/gtest.h>

#include "skins/skin_values.h"

namespace tikora {
namespace {

struct BooleanCase {
    const char* name;
    const char* text;
    std::optional<bool> value;
};

class SkinBoolean : public ::testing::TestWithParam<BooleanCase> {};

TEST_P(SkinBoolean, ReadsWordsAndNumbers) {
    EXPECT_EQ(ParseSkinBoolean(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(Table, SkinBoolean,
                         ::testing::Values(BooleanCase{"TrueWord", "True", true},
                                           BooleanCase{"UpperCaseTrue", "TRUE", true},
                                           BooleanCase{"BlanksAroundFalse", " \tfalse ", false},
                                           BooleanCase{"One", "1", true},
                                           BooleanCase{"MinusOne", "-1", true},
                                           BooleanCase{"Fraction", "0.5", true},
                                           BooleanCase{"ZeroPointZero", "0.0", false},
                                           BooleanCase{"OtherWord", "yes", std::nullopt},
                                           BooleanCase{"WordWithTail", "truex", std::nullopt},
                                           BooleanCase{"Empty", "", std::nullopt}),
                         [](const auto& info) { return std::string(info.param.name); });

struct NumberCase {
    const char* name;
    const char* text;
    std::optional<float> value;
};

class SkinNumber : public ::testing::TestWithParam<NumberCase> {};

TEST_P(SkinNumber, ReadsDecimalsAsFloats) {
    EXPECT_EQ(ParseSkinNumber(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SkinNumber,
    ::testing::Values(
        NumberCase{"Integer", "12", 12.0f}, NumberCase{"Negative", "-3.5", -3.5f},
        NumberCase{"PlusAndNoIntegerPart", "+.5", 0.5f}, NumberCase{"TrailingPoint", "4.", 4.0f},
        NumberCase{"Exponent", "1e3", 1000.0f}, NumberCase{"NegativeExponent", "2.5E-1", 0.25f},
        NumberCase{"BlanksAround", " 7.5 ", 7.5f}, NumberCase{"LargeButFinite", "1e30", 1e30f},
        NumberCase{"TooSmallIsZero", "1e-50", 0.0f}, NumberCase{"TooLarge", "1e39", std::nullopt},
        NumberCase{"TooLargeNegative", "-1e39", std::nullopt},
        NumberCase{"HugeExponent", "1e99999999999999999999", std::nullopt},
        NumberCase{"NotANumber", "NaN", std::nullopt}, NumberCase{"Infinity", "inf", std::nullopt},
        NumberCase{"Hexadecimal", "0x10", std::nullopt}, NumberCase{"Empty", "", std::nullopt},
        NumberCase{"PointAlone", ".", std::nullopt}, NumberCase{"BareExponent", "1e", std::nullopt},
        NumberCase{"CommaDecimal", "1,5", std::nullopt}, NumberCase{"Unit", "8px", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

struct ColourCase {
    const char* name;
    const char* text;
    std::optional<std::uint32_t> value;
};

class SkinColour : public ::testing::TestWithParam<ColourCase> {};

TEST_P(SkinColour, PacksRedIntoTheLowByte) {
    EXPECT_EQ(ParseSkinColour(GetParam().text), GetParam().value);
}

INSTANTIATE_TEST_SUITE_P(
    Table, SkinColour,
    ::testing::Values(ColourCase{"Orange", "255,128,0", 0x0080FFu},
                      ColourCase{"BlanksAroundPieces", " 255 , 128 , 0 ", 0x0080FFu},
                      ColourCase{"BlueInTheHighByte", "0,0,255", 0xFF0000u},
                      ColourCase{"AboveByteCountsAs255", "300,0,0", 0x0000FFu},
                      ColourCase{"FourthPieceIgnored", "255,128,0,99", 0x0080FFu},
                      ColourCase{"BadFourthPieceIgnored", "1,2,3,x", 0x030201u},
                      ColourCase{"HalvesToEven", "2.5,3.5,0", 0x000402u},
                      ColourCase{"SmallNegativeRoundsToZero", "-0.4,0,0", 0u},
                      ColourCase{"TopOfRangeRoundsDown", "32767.4,0,0", 0x0000FFu},
                      ColourCase{"TwoPieces", "1,2", std::nullopt},
                      ColourCase{"EmptyPiece", "1,,3", std::nullopt},
                      ColourCase{"EmptyLastPiece", "1,2,", std::nullopt},
                      ColourCase{"Negative", "-1,0,0", std::nullopt},
                      ColourCase{"PastTheRange", "32768,0,0", std::nullopt},
                      ColourCase{"HalfPastTheRange", "0,0,32767.5", std::nullopt},
                      ColourCase{"WordPiece", "red,0,0", std::nullopt}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tikora
