// SPDX-License-Identifier: MIT
#include "clock/text_layout.h"

#include <algorithm>
#include <cmath>

#include "shared/numeric.h"

namespace tikora {
namespace {

// A measured size in whole pixels, never negative and never past what a buffer could be.
int CoveringPixels(double value) {
    return static_cast<int>(std::clamp(std::ceil(value), 0.0, double{1 << 24}));
}

}  // namespace

Point TextOrigin(double innerWidth, double innerHeight, double textWidth, double textHeight) {
    return {RoundHalfEven(innerWidth) / 2 - RoundHalfEven(textWidth) / 2 - 1,
            RoundHalfEven(innerHeight) / 2 - RoundHalfEven(textHeight) / 2 - 1};
}

TextPlacement PlaceText(double innerWidth, double innerHeight, double textWidth,
                        double textHeight) {
    const Point origin = TextOrigin(innerWidth, innerHeight, textWidth, textHeight);
    const int room = CoveringPixels(textHeight) + 1;
    const PixelRect text{origin.x - room, origin.y - room, CoveringPixels(textWidth) + 2 * room,
                         CoveringPixels(textHeight) + 2 * room};
    const PixelRect window{0, 0, RoundHalfEven(innerWidth), RoundHalfEven(innerHeight)};
    return {origin, Union(text, window)};
}

}  // namespace tikora
