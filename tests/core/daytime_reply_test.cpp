#include <gtest/gtest.h>

#include <string>

#include "atomic/daytime_reply.h"

namespace tikora {
namespace {

// A reply as NIST's servers send it: a line feed, then "JJJJJ YR-MO-DA HH:MM:SS TT L H msADV
// UTC(NIST) OTM" and a line feed.
const std::string kNistReply = "\n60114 23-06-17 12:34:56 50 0 0 895.5 UTC(NIST) * \n";

struct FieldCase {
    const char* name;
    std::string reply;
    const char* field;  // null when the reply has no time of day in its place
};

class TimeField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(TimeField, IsTakenFromCharacters17To24) {
    const std::optional<std::string> field = ReplyTimeField(GetParam().reply);
    if (GetParam().field == nullptr) {
        EXPECT_FALSE(field) << field.value_or("");
    } else {
        ASSERT_TRUE(field);
        EXPECT_EQ(*field, GetParam().field);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Replies, TimeField,
    ::testing::Values(
        FieldCase{"NistReply", kNistReply, "12:34:56"},
        FieldCase{"NistReplyCutAfterTheField", kNistReply.substr(0, 24), "12:34:56"},
        FieldCase{"LeapSecond", "\n60126 23-06-30 23:59:60 50 1 0 895.5 UTC(NIST) * \n",
                  "23:59:60"},
        FieldCase{"WithoutTheLeadingLineFeed", kNistReply.substr(1), nullptr},
        FieldCase{"ShortReply", kNistReply.substr(0, 20), nullptr}, FieldCase{"Empty", "", nullptr},
        FieldCase{"Garbage", "HTTP/1.1 400 Bad Request\r\n\r\n", nullptr},
        FieldCase{"HourOutOfRange", "\n60114 23-06-17 24:00:00 50 0 0 895.5 UTC(NIST) * \n",
                  nullptr},
        FieldCase{"RFC867FreeForm", "Saturday, June 17, 2023 12:34:56-UTC\n", nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DaytimeReply, CollectsPiecesUntilTheLineEndsAfterTheTimeField) {
    DaytimeReply reply;
    // The leading line feed doesn't end the reply.
    EXPECT_FALSE(reply.Append(kNistReply.substr(0, 10)));
    EXPECT_FALSE(reply.Append(kNistReply.substr(10, 20)));
    EXPECT_FALSE(reply.Append(kNistReply.substr(30, kNistReply.size() - 31)));
    EXPECT_TRUE(reply.Append("\n"));
    EXPECT_EQ(reply.Text(), kNistReply);
}

TEST(DaytimeReply, LineFeedRightAfterTheTimeFieldCompletes) {
    DaytimeReply reply;
    EXPECT_TRUE(reply.Append(kNistReply.substr(0, 24) + "\n"));
}

TEST(DaytimeReply, LineFeedBeforeTheTimeFieldDoesNot) {
    DaytimeReply reply;
    EXPECT_FALSE(reply.Append("busy\ntry again later"));
    EXPECT_FALSE(reply.Complete());
}

TEST(DaytimeReply, StopsAtOneKibibyte) {
    DaytimeReply reply;
    EXPECT_FALSE(reply.Append(std::string(1000, 'x')));
    EXPECT_TRUE(reply.Append(std::string(1000, 'y')));
    EXPECT_EQ(reply.Text().size(), DaytimeReply::kMaxBytes);
    EXPECT_EQ(reply.Room(), 0u);
    reply.Append("more");
    EXPECT_EQ(reply.Text().size(), DaytimeReply::kMaxBytes);
    reply.Clear();
    EXPECT_FALSE(reply.Complete());
    EXPECT_EQ(reply.Room(), DaytimeReply::kMaxBytes);
}

}  // namespace
}  // namespace tikora
