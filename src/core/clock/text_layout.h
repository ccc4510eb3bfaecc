// SPDX-License-Identifier: MIT
#pragma once

#include "clock/pixel_buffer.h"

namespace tikora {

struct Point {
    int x = 0;
    int y = 0;
};

// Top-left corner for text of the measured size centred in the window: each figure rounded, the
// halves taken with integer division, then one pixel left and one pixel up.
Point TextOrigin(double innerWidth, double innerHeight, double textWidth, double textHeight);

// Text mode's place in picBuffer: the origin above, and the area its ink may cover, which is the
// measured box with a line's height of room on every side (for glyphs that reach past their
// advance or above their ascent) joined with the window's part of picBuffer, so that what the
// window shows comes out as it would without a limit.
struct TextPlacement {
    Point origin;
    PixelRect area;
};
TextPlacement PlaceText(double innerWidth, double innerHeight, double textWidth, double textHeight);

}  // namespace tikora
