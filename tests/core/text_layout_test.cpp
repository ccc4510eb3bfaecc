#include <gtest/gtest.h>

#include "clock/text_layout.h"

namespace tikora {
namespace {

struct OriginCase {
    const char* name;
    double innerWidth, innerHeight, textWidth, textHeight;
    int x, y;
};

class TextOriginCases : public ::testing::TestWithParam<OriginCase> {};

TEST_P(TextOriginCases, CentresWithOnePixelLeftAndUp) {
    const OriginCase& c = GetParam();
    const Point origin = TextOrigin(c.innerWidth, c.innerHeight, c.textWidth, c.textHeight);
    EXPECT_EQ(origin.x, c.x);
    EXPECT_EQ(origin.y, c.y);
}

INSTANTIATE_TEST_SUITE_P(
    Layouts, TextOriginCases,
    ::testing::Values(OriginCase{"Even", 60, 22, 30, 14, 14, 3},
                      OriginCase{"OddSizesDropRemainders", 61, 23, 31, 15, 14, 3},
                      OriginCase{"MeasuredHalvesRoundToEven", 60, 22, 30.5, 14.5, 14, 3},
                      OriginCase{"MeasuredHalfRoundsUpToEven", 60, 22, 31.5, 13.5, 13, 3},
                      OriginCase{"WiderThanTheWindow", 40, 22, 90, 14, -26, 3},
                      OriginCase{"TallerThanTheWindow", 60, 10, 30, 40, 14, -16},
                      OriginCase{"ZeroSizedWindow", 0, 0, 30, 14, -16, -8}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tikora
