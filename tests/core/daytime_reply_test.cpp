#include <gtest/gtest.h>

#include <string>

#include "atomic/daytime_reply.h"

namespace tikora {
namespace {

// As NIST's servers send it: a line feed, "JJJJJ YR-MO-DA HH:MM:SS TT L H msADV UTC(NIST) OTM".
const std::string kNist = "\n60114 23-06-17 12:34:56 50 0 0 895.5 UTC(NIST) * \n";

std::string WithTime(const char* time) {
    return "\n60114 23-06-17 " + std::string(time) + " 50 0 0 895.5 UTC(NIST) * \n";
}

struct FieldCase {
    const char* name;
    std::string reply;
    const char* field;  // null when the reply has no time of day in its place
};

class TimeField : public ::testing::TestWithParam<FieldCase> {};

TEST_P(TimeField, IsCharacters17To24WhenTheyAreATimeOfDay) {
    const std::optional<std::string> field = ReplyTimeField(GetParam().reply);
    EXPECT_EQ(field.value_or("(none)"), GetParam().field ? GetParam().field : "(none)");
}

INSTANTIATE_TEST_SUITE_P(
    Replies, TimeField,
    ::testing::Values(FieldCase{"NistReply", kNist, "12:34:56"},
                      FieldCase{"CutRightAfterTheField", kNist.substr(0, 24), "12:34:56"},
                      FieldCase{"LeapSecond", WithTime("23:59:60"), "23:59:60"},
                      FieldCase{"WithoutTheLeadingLineFeed", kNist.substr(1), nullptr},
                      FieldCase{"Short", kNist.substr(0, 23), nullptr},
                      FieldCase{"Garbage", "HTTP/1.1 400 Bad Request\r\n\r\n", nullptr},
                      FieldCase{"Hour24", WithTime("24:00:00"), nullptr},
                      FieldCase{"Minute60", WithTime("12:60:00"), nullptr},
                      FieldCase{"Second61", WithTime("12:00:61"), nullptr},
                      FieldCase{"SignedField", WithTime("12:-1:00"), nullptr},
                      FieldCase{"OtherSeparators", WithTime("12.34.56"), nullptr}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(DaytimeReply, IsCompleteWhenALineEndsAfterTheTimeField) {
    DaytimeReply reply;
    EXPECT_FALSE(reply.Append(kNist.substr(0, 10)));  // its leading line feed doesn't count
    EXPECT_FALSE(reply.Append(kNist.substr(10, 30)));
    EXPECT_TRUE(reply.Append(kNist.substr(40)));
    EXPECT_EQ(reply.Text(), kNist);

    DaytimeReply early;
    EXPECT_FALSE(early.Append("busy\ntry again later"));
}

TEST(DaytimeReply, StopsAtOneKibibyte) {
    DaytimeReply reply;
    EXPECT_FALSE(reply.Append(std::string(1000, 'x')));
    EXPECT_TRUE(reply.Append(std::string(1000, 'y')));
    reply.Append("more");
    EXPECT_EQ(reply.Text().size(), DaytimeReply::kMaxBytes);
    EXPECT_EQ(reply.Room(), 0u);
    reply.Clear();
    EXPECT_FALSE(reply.Complete());
}

}  // namespace
}  // namespace tikora
