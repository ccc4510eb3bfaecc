#include <gtest/gtest.h>

#include "shared/wildcard.h"

namespace tikora {
namespace {

struct WildcardCase {
    const char* name;
    const char* pattern;
    const char* candidate;
    bool matches;
};

class Wildcards : public ::testing::TestWithParam<WildcardCase> {};

TEST_P(Wildcards, MatchAsADirectorySearchDoes) {
    EXPECT_EQ(MatchesWildcard(GetParam().pattern, GetParam().candidate), GetParam().matches);
}

INSTANTIATE_TEST_SUITE_P(
    Table, Wildcards,
    ::testing::Values(WildcardCase{"Literal", "strip.bmp", "strip.bmp", true},
                      WildcardCase{"LiteralIsCaseSensitive", "strip.bmp", "Strip.bmp", false},
                      WildcardCase{"StarExtension", "*.bmp", "strip.bmp", true},
                      WildcardCase{"StarMatchesEmpty", "*.bmp", ".bmp", true},
                      WildcardCase{"StarWrongExtension", "*.bmp", "strip.png", false},
                      WildcardCase{"StarInTheMiddle", "s*p.bmp", "strip.bmp", true},
                      WildcardCase{"QuestionIsOneCharacter", "strip?.bmp", "strip1.bmp", true},
                      WildcardCase{"QuestionIsNotZero", "strip?.bmp", "strip.bmp", false},
                      WildcardCase{"BracketsAreLiteral", "[ab].bmp", "a.bmp", false},
                      WildcardCase{"BracketsMatchThemselves", "[ab]*", "[ab].bmp", true},
                      WildcardCase{"BacktrackingAfterStar", "*ab*ab", "xabyabzab", true},
                      WildcardCase{"ManyStarsNoMatch", "*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaaaa",
                                   false},
                      WildcardCase{"EmptyPatternOnlyEmpty", "", "a", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Wildcards, AreFoundOnlyAsStarOrQuestion) {
    EXPECT_TRUE(HasWildcard("*.ini"));
    EXPECT_TRUE(HasWildcard("a?"));
    EXPECT_FALSE(HasWildcard("[a].ini"));
}

}  // namespace
}  // namespace tikora
