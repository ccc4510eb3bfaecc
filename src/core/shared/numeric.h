// SPDX-License-Identifier: MIT
#pragma once

#include <cmath>
#include <cstdint>
#include <limits>

namespace tikora {

// Real-to-integer conversion used throughout the program: nearest integer, an exact half going to
// the even neighbour (2.5 -> 2, 3.5 -> 4). Values outside the 32-bit range saturate and a NaN gives
// 0, so no caller can meet undefined behaviour through a conversion.
inline std::int32_t RoundHalfEven(double value) {
    if (std::isnan(value)) {
        return 0;
    }
    const double rounded = std::nearbyint(value);
    if (rounded >= static_cast<double>(std::numeric_limits<std::int32_t>::max())) {
        return std::numeric_limits<std::int32_t>::max();
    }
    if (rounded <= static_cast<double>(std::numeric_limits<std::int32_t>::min())) {
        return std::numeric_limits<std::int32_t>::min();
    }
    return static_cast<std::int32_t>(rounded);
}

}  // namespace tikora
