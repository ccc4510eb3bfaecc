// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace tikora {

// The outer rectangle of a window in screen pixels: left and top inclusive, right and bottom one
// past the last pixel.
struct WindowRect {
    std::int32_t left = 0;
    std::int32_t top = 0;
    std::int32_t right = 0;
    std::int32_t bottom = 0;
};

}  // namespace tikora
