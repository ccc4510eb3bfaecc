// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <string>

#include "atomic/daytime_reply.h"

namespace tikora {
namespace {

using namespace std::chrono;

// As NIST's servers send it: a line feed, "JJJJJ YR-MO-DA HH:MM:SS TT L H msADV UTC(NIST) OTM".
const std::string kNist = "\n60112 23-06-17 12:34:56 50 0 0 895.5 UTC(NIST) * \n";

std::string With(std::size_t at, const char* text) {
    return std::string(kNist).replace(at, std::char_traits<char>::length(text), text);
}

TEST(ReadDaytimeAnswer, TakesTheDateTimeAndHealthTheLineGives) {
    const sys_seconds june17 = sys_days{2023y / 6 / 17} + 12h + 34min + 56s;
    const struct {
        const char* name;
        std::string reply;
        std::optional<sys_seconds> instant;
        bool healthy;
    } cases[] = {
        {"Healthy", kNist, june17, true},
        {"WithoutHealthField", kNist.substr(0, 24), june17, false},
        {"Unhealthy", With(30, "2"), june17, false},
        {"LeapSecondIsSecond59", "\n57753 16-12-31 23:59:60 00 1 0 50.0 UTC(NIST) * \n",
         sys_days{2016y / 12 / 31} + 23h + 59min + 59s, true},
        {"CenturyFromTheJulianDate", With(1, "51544 00-01-01"),
         sys_days{2000y / 1 / 1} + 12h + 34min + 56s, true},
        {"DateDisagreesWithJulianDate", With(1, "60113"), std::nullopt, false},
        {"LeapSecondNotAtTheEndOfADay", With(16, "12:34:60"), std::nullopt, false},
        {"HourOutOfRange", With(16, "24:00:00"), std::nullopt, false},
        {"NoLeadingLineFeed", kNist.substr(1), std::nullopt, false},
        {"CutInTheTime", kNist.substr(0, 23), std::nullopt, false},
    };
    for (const auto& c : cases) {
        const std::optional<DaytimeAnswer> answer = ReadDaytimeAnswer(c.reply);
        EXPECT_EQ(answer ? std::optional(answer->instant) : std::nullopt, c.instant) << c.name;
        EXPECT_EQ(answer && answer->healthy, c.healthy) << c.name;
    }
}

TEST(DaytimeReply, IsCompleteWhenALineEndsAfterTheTimeFieldOrAtOneKibibyte) {
    DaytimeReply reply;
    EXPECT_FALSE(reply.Append(kNist.substr(0, 10)));  // its leading line feed doesn't count
    EXPECT_FALSE(reply.Append(kNist.substr(10, 30)));
    EXPECT_TRUE(reply.Append(kNist.substr(40)));
    EXPECT_EQ(reply.Text(), kNist);
    reply.Clear();
    EXPECT_FALSE(reply.Append("busy\ntry again later" + std::string(1000, 'x')));
    EXPECT_TRUE(reply.Append(std::string(1000, 'y')));
    EXPECT_EQ(reply.Text().size(), DaytimeReply::kMaxBytes);
}

}  // namespace
}  // namespace tikora
