#include <gtest/gtest.h>

#include <random>
#include <string>

#include "skins/profile_file.h"

namespace tikora {
namespace {

using namespace std::string_view_literals;

struct ReaderCase {
    const char* name;
    std::string_view file;
    const char* section;
    const char* key;
    std::optional<std::string_view> value;
};

class ProfileReader : public ::testing::TestWithParam<ReaderCase> {};

TEST_P(ProfileReader, FindsWhatWindowsWouldFind) {
    const ReaderCase& c = GetParam();
    const std::optional<std::string> found = ProfileFile::Parse(c.file).Lookup(c.section, c.key);
    ASSERT_EQ(found.has_value(), c.value.has_value());
    if (found) {
        EXPECT_EQ(*found, *c.value);
    }
}

constexpr std::nullopt_t kAbsent = std::nullopt;

INSTANTIATE_TEST_SUITE_P(
    Rules, ProfileReader,
    ::testing::Values(
        ReaderCase{"SectionIgnoresCase", "[Clock]\nFont=Arial\n", "cLOCK", "Font", "Arial"},
        ReaderCase{"KeyIgnoresCase", "[Clock]\nFont=Arial\n", "Clock", "FONT", "Arial"},
        ReaderCase{"LatinCapitalsFold", "[\xC3\x84hre]\n\xC3\x96l=1", "\xC3\xA4hre", "\xC3\xB6l",
                   "1"},
        ReaderCase{"BlanksDropped", " \t[ Clock ] \n \t Font \t= \tArial Narrow \t\n", "Clock",
                   "Font", "Arial Narrow"},
        ReaderCase{"DoubleQuotesRemoved", "[a]\nx=\" padded \"", "a", "x", " padded "},
        ReaderCase{"SingleQuotesRemoved", "[a]\nx='v'", "a", "x", "v"},
        ReaderCase{"LeadingLoneQuoteKept", "[a]\nx=\"v", "a", "x", "\"v"},
        ReaderCase{"TrailingLoneQuoteKept", "[a]\nx=v'", "a", "x", "v'"},
        ReaderCase{"MismatchedQuotesKept", "[a]\nx=\"v'", "a", "x", "\"v'"},
        ReaderCase{"OneQuoteAloneKept", "[a]\nx=\"", "a", "x", "\""},
        ReaderCase{"OnlyOnePairRemoved", "[a]\nx=\"\"v\"\"", "a", "x", "\"v\""},
        ReaderCase{"EmptyQuotesGiveEmpty", "[a]\nx=\"\"", "a", "x", ""},
        ReaderCase{"EmptyValueIsPresent", "[a]\nx=", "a", "x", ""},
        ReaderCase{"FirstKeyWins", "[a]\nx=1\nX=2", "a", "x", "1"},
        ReaderCase{"FirstSectionWins", "[a]\nx=1\n[A]\nx=2", "a", "x", "1"},
        ReaderCase{"RepeatedSectionNotConsulted", "[a]\nx=1\n[b]\n[a]\ny=2", "a", "y", kAbsent},
        ReaderCase{"LineWithoutEqualsIsNoKey", "[a]\nx\n", "a", "x", kAbsent},
        ReaderCase{"ValueKeepsLaterEquals", "[a]\nx = b=c", "a", "x", "b=c"},
        ReaderCase{"CommentLineSkipped", "[a]\n  ;x=1\n", "a", ";x", kAbsent},
        ReaderCase{"SemicolonInValueKept", "[a]\nx=1 ; note", "a", "x", "1 ; note"},
        ReaderCase{"KeyBeforeSectionsNeverFound", "x=1\n[a]\n", "", "x", kAbsent},
        ReaderCase{"KeyBeforeSectionsNotInFirst", "x=1\n[a]\n", "a", "x", kAbsent},
        ReaderCase{"TextAfterBracketIgnored", "[a]junk\nx=1", "a", "x", "1"},
        ReaderCase{"UnclosedHeaderTakesTheLine", "[a b \nx=1", "a b", "x", "1"},
        ReaderCase{"HeaderMayHoldEquals", "[a=b]\nx=1", "a=b", "x", "1"},
        ReaderCase{"MissingSection", "[a]\nx=1", "b", "x", kAbsent},
        ReaderCase{"MissingKey", "[a]\nx=1", "a", "y", kAbsent},
        ReaderCase{"CarriageReturnsOnly", "[a]\rx=1\ry=2\r", "a", "y", "2"},
        ReaderCase{"CrLfLeavesNoReturnInValue", "[a]\r\nx=1\r\n", "a", "x", "1"},
        ReaderCase{"MixedLineEnds", "[a]\r\nx=1\ry=2\nz=3", "a", "z", "3"},
        ReaderCase{"ByteOrderMarkSkipped", "\xEF\xBB\xBF[a]\nx=1", "a", "x", "1"},
        ReaderCase{"Windows1252Decoded", "[a]\nx=caf\xE9 \x80", "a", "x",
                   "caf\xC3\xA9 \xE2\x82\xAC"},
        ReaderCase{"Utf8KeptAsIs", "[a]\nx=caf\xC3\xA9", "a", "x", "caf\xC3\xA9"},
        ReaderCase{"NulByteIsOrdinary", "[a]\nx=1\0002\ny=3"sv, "a", "x", "1\0002"sv}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ProfileReader, StaysLinearOnHugeInput) {
    std::string many;
    for (int i = 0; i < 100000; ++i) {
        many += "[s" + std::to_string(i) + "]\nk=" + std::to_string(i) + "\n";
    }
    EXPECT_EQ(ProfileFile::Parse(many).Lookup("S99999", "K"), "99999");

    const std::string longLine = "[a]\nx=" + std::string(4'000'000, '=') + "\ny=1";
    EXPECT_EQ(ProfileFile::Parse(longLine).Lookup("a", "y"), "1");
}

TEST(ProfileReader, SurvivesArbitraryBytes) {
    std::mt19937 random(7);
    std::string noise(1'000'000, '\0');
    for (char& byte : noise) {
        byte = static_cast<char>(random() & 0xFF);
    }
    EXPECT_EQ(ProfileFile::Parse(noise + "\n[zz end]\nk=v").Lookup("zz end", "k"), "v");
}

struct LimitCase {
    const char* name;
    std::string file;
    std::string defaultText;
    std::string expected;
};

class ProfileString : public ::testing::TestWithParam<LimitCase> {};

TEST_P(ProfileString, FillsA256CharacterBuffer) {
    const LimitCase& c = GetParam();
    EXPECT_EQ(GetProfileString(ProfileFile::Parse(c.file), "a", "x", c.defaultText), c.expected);
}

std::string Repeat(std::string_view piece, int count) {
    std::string text;
    for (int i = 0; i < count; ++i) {
        text += piece;
    }
    return text;
}

INSTANTIATE_TEST_SUITE_P(
    Buffer, ProfileString,
    ::testing::Values(LimitCase{"PresentValueBeatsDefault", "[a]\nx=v", "d", "v"},
                      LimitCase{"EmptyValueBeatsDefault", "[a]\nx=", "d", ""},
                      LimitCase{"AbsentGivesDefault", "[a]\ny=v", "d", "d"},
                      LimitCase{"LongValueCut", "[a]\nx=" + Repeat("a", 300), "", Repeat("a", 255)},
                      LimitCase{"LongDefaultCut", "", Repeat("d", 300), Repeat("d", 255)},
                      LimitCase{"CountsCharactersNotBytes", "[a]\nx=" + Repeat("\xC3\xA9", 300), "",
                                Repeat("\xC3\xA9", 255)},
                      LimitCase{"NeverCutsInsideACharacter",
                                "[a]\nx=" + Repeat("a", 254) + "\xE2\x82\xAC!", "",
                                Repeat("a", 254) + "\xE2\x82\xAC"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tikora
