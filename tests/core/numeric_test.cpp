#include <gtest/gtest.h>

#include <limits>

#include "shared/numeric.h"

namespace tikora {
namespace {

TEST(RoundHalfEven, SendsExactHalvesToTheEvenNeighbour) {
    EXPECT_EQ(RoundHalfEven(2.5), 2);
    EXPECT_EQ(RoundHalfEven(3.5), 4);
    EXPECT_EQ(RoundHalfEven(-2.5), -2);
    EXPECT_EQ(RoundHalfEven(-3.5), -4);
    EXPECT_EQ(RoundHalfEven(2.5000001), 3);
    EXPECT_EQ(RoundHalfEven(0.49999999), 0);
}

TEST(RoundHalfEven, SaturatesInsteadOfOverflowing) {
    EXPECT_EQ(RoundHalfEven(1e30), std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundHalfEven(-1e30), std::numeric_limits<std::int32_t>::min());
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::infinity()),
              std::numeric_limits<std::int32_t>::max());
    EXPECT_EQ(RoundHalfEven(std::numeric_limits<double>::quiet_NaN()), 0);
}

TEST(ToInt16, KeepsTheLowSixteenBits) {
    EXPECT_EQ(ToInt16(32767), 32767);
    EXPECT_EQ(ToInt16(32768), -32768);
    EXPECT_EQ(ToInt16(-1), -1);
    EXPECT_EQ(ToInt16(65536 + 12), 12);
}

}  // namespace
}  // namespace tikora
