// SPDX-License-Identifier: MIT
// What every subsystem shares: the records, the rounding rule, text encodings and wildcards.

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <tuple>

#include "shared/modDefs.h"
#include "shared/numeric.h"
#include "shared/utf8.h"
#include "shared/wildcard.h"

namespace tikora {
namespace {

TEST(SharedState, FieldsKeepTheirRulesAndResetToTheStartOfProcess) {
    EXPECT_EQ(Boolean(true).Raw(), -1);
    // One character, the first; a byte that starts no UTF-8 character is read as Windows-1252.
    for (const auto& [text, kept] : {std::pair{"\xC2\xB7:", "\xC2\xB7"},
                                     {"\x95", "\xE2\x80\xA2"},
                                     {"\xF0\x9F\x95\x90", "\xF0\x9F\x95\x90"},
                                     {"", ""}}) {
        SkinSettings.Separator = text;
        EXPECT_EQ(SkinSettings.Separator.Utf8(), *kept ? kept : std::string(1, '\0'));
    }
    ServerTexts& hosts = AtomicTimeState.ServerHosts;
    for (const int index : {-1, 0, 7, 8}) {  // checked on every access: nothing outside 0 to 7
        hosts.Set(index, "host " + std::to_string(index));
        EXPECT_EQ(hosts.Get(index),
                  index == 0 || index == 7 ? "host " + std::to_string(index) : "");
    }
    ClockSettings.BeatTime = true;
    ResetSharedState();
    EXPECT_EQ(SkinSettings.Separator.Char(), U'\0');
    EXPECT_FALSE(ClockSettings.BeatTime);
    EXPECT_EQ(hosts.Get(7), "");
}

TEST(RoundHalfEven, SendsHalvesToTheEvenNeighbourAndSaturates) {
    constexpr auto kMax = std::numeric_limits<std::int32_t>::max();
    // clang-format off
    for (const auto& [value, rounded] :
         {std::pair{2.5, 2}, {3.5, 4}, {-2.5, -2}, {-3.5, -4}, {2.5000001, 3}, {1e30, kMax},
          {-1e30, std::numeric_limits<std::int32_t>::min()},
          {std::numeric_limits<double>::infinity(), kMax}, {std::nan(""), 0}}) {
        // clang-format on
        EXPECT_EQ(RoundHalfEven(value), rounded) << value;
    }
}

TEST(Utf8, TellsUtf8FromWindows1252AndReadsBoth) {
    EXPECT_TRUE(IsValidUtf8("Z\xC3\xBCrich \xE2\x82\xAC \xF0\x9F\x95\x90"));
    // A one-byte letter, a sequence cut short, overlong, a surrogate, past U+10FFFF.
    for (const char* bad : {"Z\xFCrich", "\xC3", "\xC0\xAF", "\xED\xA0\x80", "\xF4\x90\x80\x80"}) {
        EXPECT_FALSE(IsValidUtf8(bad)) << bad;
    }
    EXPECT_EQ(Windows1252ToUtf8("Z\xFCrich \x80\x99\x81"),
              "Z\xC3\xBCrich \xE2\x82\xAC\xE2\x84\xA2\xC2\x81");
    EXPECT_EQ(DecodeUtf8("a\xC3\x85\x95"), U"a\u00C5\u2022");  // a lone byte as Windows-1252
}

TEST(Wildcards, MatchAsADirectorySearchDoes) {
    // clang-format off
    for (const auto& [pattern, name, matches] :
         {std::tuple{"strip.bmp", "Strip.bmp", false}, {"*.bmp", ".bmp", true},
          {"*.bmp", "strip.png", false}, {"s*p.bmp", "strip.bmp", true},
          {"strip?.bmp", "strip1.bmp", true}, {"strip?.bmp", "strip.bmp", false},
          {"[ab].bmp", "a.bmp", false}, {"[ab]*", "[ab].bmp", true}, {"*ab*ab", "xabyabzab", true},
          {"*a*a*a*a*a*b", "aaaaaaaaaaaaaaaaaa", false}, {"", "a", false}}) {
        // clang-format on
        EXPECT_EQ(MatchesWildcard(pattern, name), matches) << pattern << " " << name;
    }
    EXPECT_TRUE(HasWildcard("a?"));
    EXPECT_FALSE(HasWildcard("[a].ini"));
}

}  // namespace
}  // namespace tikora
