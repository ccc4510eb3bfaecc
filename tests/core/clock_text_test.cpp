#include <gtest/gtest.h>

#include "clock/clock_text.h"

namespace tikora {
namespace {

OneCharText Sep(std::string_view text) {
    OneCharText separator;
    separator = text;
    return separator;
}

TEST(TimeText, PadsBothFieldsToTwoDigits) {
    EXPECT_EQ(TimeText(0, 0, Sep(":")), "00:00");
    EXPECT_EQ(TimeText(23, 59, Sep(":")), "23:59");
    EXPECT_EQ(TimeText(19, 5, Sep(".")), "19.05");
}

TEST(TimeText, CarriesAnyOneCharacterSeparator) {
    EXPECT_EQ(TimeText(7, 3, Sep("·")), "07·03");
    EXPECT_EQ(TimeText(7, 3, Sep("")), std::string("07\0"
                                                   "03",
                                                   5));
}

TEST(BeatText, RoundsHalfToEvenAndWrapsTheThousand) {
    EXPECT_EQ(BeatText(0.0), "@000");
    EXPECT_EQ(BeatText(2.5), "@002");
    EXPECT_EQ(BeatText(3.5), "@004");
    EXPECT_EQ(BeatText(41.67), "@042");
    EXPECT_EQ(BeatText(999.4), "@999");
    EXPECT_EQ(BeatText(999.5), "@000");
    EXPECT_EQ(BeatText(1000.0), "@000");
}

TEST(OneCharText, KeepsOnlyTheFirstCharacter) {
    EXPECT_EQ(Sep("::").Utf8(), ":");
    EXPECT_EQ(Sep("").Char(), U'\0');
    EXPECT_EQ(Sep("\xC2\xB7x").Char(), U'\u00B7');  // a two-byte character is one character
    EXPECT_EQ(Sep("\x95").Char(), U'\u2022');       // a lone single-byte bullet from a skin file
}

}  // namespace
}  // namespace tikora
