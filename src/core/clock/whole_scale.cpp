// SPDX-License-Identifier: MIT
#include "clock/whole_scale.h"

#include <algorithm>
#include <cmath>

namespace tikora {

namespace {

constexpr double kLargestFactor = 16;  // beyond any screen; keeps the result an int

// The largest whole factor at which `content` fits `room`; any, for no content.
double FitFactor(int content, int room) {
    return content > 0 ? std::floor(static_cast<double>(room) / content) : kLargestFactor;
}

}  // namespace

int WholeScaleFactor(double ratio, int contentWidth, int contentHeight, int roomWidth,
                     int roomHeight) {
    if (!(ratio >= 1)) {  // also a ratio that is not a number
        return 1;
    }
    const double factor =
        std::min({std::floor(ratio + 0.5), kLargestFactor, FitFactor(contentWidth, roomWidth),
                  FitFactor(contentHeight, roomHeight)});
    return std::max(1, static_cast<int>(factor));
}

}  // namespace tikora
