// SPDX-License-Identifier: MIT
// The picture decoder alone, at the speed the skin load can't reach: any bytes as a skin's strip
// (BMP, PNG, GIF or JPEG). A picture it accepts is one the clock can hold; one it refuses says why.
// fuzz/run caps each allocation and the process's memory, so data that unpacks past the size a
// picture declares is a finding, not a pass.

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "skins/picture_decoder.h"

namespace {

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    std::string whyNot;
    const std::optional<tikora::PixelBuffer> picture = tikora::DecodePicture(bytes, &whyNot);
    if (!picture) {
        Require(!whyNot.empty());
        return 0;
    }
    Require(picture->Width() >= 1 && picture->Width() <= tikora::kMaxPictureSide);
    Require(picture->Height() >= 1 && picture->Height() <= tikora::kMaxPictureSide);
    Require(static_cast<std::size_t>(picture->Width()) * picture->Height() * 4 <=
            tikora::kMaxPictureBytes);
    // Every pixel is there to be read: reading them all is clean under the sanitizers.
    const tikora::Argb* pixels = picture->Data();
    tikora::Argb mix = 0;
    for (std::size_t i = 0, n = std::size_t(picture->Width()) * picture->Height(); i < n; ++i) {
        mix ^= pixels[i];
    }
    static volatile tikora::Argb sink;
    sink = mix;
    static_cast<void>(sink);
    return 0;
}
