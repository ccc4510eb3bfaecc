// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "clock/pixel_buffer.h"

namespace tikora {

// Largest picture a skin may bring: either side, the decoded size at four bytes a pixel (a strip of
// the largest cells needs 1440 x 120 pixels, 0.7 MiB), and the file.
inline constexpr int kMaxPictureSide = 4096;
inline constexpr std::size_t kMaxPictureBytes = 4u << 20;
inline constexpr std::size_t kMaxPictureFileBytes = 8u << 20;

// Decodes a BMP, PNG, GIF (first frame) or JPEG picture held in memory. Sizes are checked from the
// header before any pixel is decoded, and the decoding takes no more memory than a picture of the
// declared size needs: compressed data that unpacks to more (an inflate bomb) is refused as soon
// as it goes past that. On failure, `whyNot` says why in a few words.
std::optional<PixelBuffer> DecodePicture(std::string_view bytes, std::string* whyNot = nullptr);

}  // namespace tikora
