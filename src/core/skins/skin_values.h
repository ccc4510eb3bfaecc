// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>
#include <string_view>

namespace tikora {

// "True" or "False" in any letter case, or a number: 0 is false, any other number true.
std::optional<bool> ParseSkinBoolean(std::string_view text);

// A decimal number such as "12", "-3.5", "+.5" or "2.5E-1", in single precision. Nothing for
// anything else, and for a number too large for a float; one too small becomes zero. Always a
// decimal point, whatever the C locale says.
std::optional<float> ParseSkinNumber(std::string_view text);

// "red,green,blue" as red + 256 * green + 65536 * blue. Pieces after the third are ignored; each of
// the three must be a number that rounds (half to even) into 0..32767, and counts as at most 255.
std::optional<std::uint32_t> ParseSkinColour(std::string_view text);

}  // namespace tikora
