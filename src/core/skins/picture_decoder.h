#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "clock/pixel_buffer.h"

namespace tikora {

// Largest picture a skin may bring: either side, and the decoded size at four bytes a pixel.
inline constexpr int kMaxPictureSide = 16384;
inline constexpr std::size_t kMaxPictureBytes = 64u << 20;

// Decodes a BMP, PNG, GIF (first frame) or JPEG picture held in memory. Sizes are checked from the
// header before any pixel is decoded. On failure, `whyNot` says why in a few words.
std::optional<PixelBuffer> DecodePicture(std::string_view bytes, std::string* whyNot = nullptr);

}  // namespace tikora
