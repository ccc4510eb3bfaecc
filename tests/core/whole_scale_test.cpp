// SPDX-License-Identifier: MIT
#include "clock/whole_scale.h"

#include <gtest/gtest.h>

#include <limits>
#include <tuple>

namespace tikora {
namespace {

TEST(WholeScaleFactor, RoundsTheRatioAndKeepsTheContentInsideTheRoom) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    // Ratio, content width and height (pixels), room width and height (device pixels), factor.
    const std::tuple<double, int, int, int, int, int> cases[] = {
        {1.0, 50, 16, 60, 22, 1},  {1.25, 50, 16, 75, 27, 1}, {1.5, 40, 16, 90, 33, 2},
        {2.5, 50, 16, 150, 55, 3}, {3.0, 50, 16, 180, 66, 3}, {1.5, 50, 16, 81, 33, 1},
        {3.0, 50, 20, 180, 44, 2}, {2.0, 0, 0, 1, 1, 2},      {1e300, 0, 0, 0, 0, 16},
        {nan, 50, 16, 60, 22, 1},  {-2.0, 50, 16, 60, 22, 1}};
    for (const auto& [ratio, width, height, roomWidth, roomHeight, factor] : cases) {
        EXPECT_EQ(WholeScaleFactor(ratio, width, height, roomWidth, roomHeight), factor)
            << ratio << ": " << width << "x" << height << " in " << roomWidth << "x" << roomHeight;
    }
}

}  // namespace
}  // namespace tikora
