// SPDX-License-Identifier: MIT
#pragma once

// Which face the clock shows in the room it is given, and where its parts go. The one-line face
// (hours, separator, minutes, or "@" and the beat, on the fixed cell grid or as one text) stays
// wherever it fits; a room narrower than that gets the compact face: hours above minutes, or the
// beat's "@" above or before its three digits, whichever is larger. Strip cells are only ever
// enlarged by whole factors; where even their own size does not fit, the skin's font (which every
// skin names) draws the compact face at the size that fits.

#include <functional>
#include <string>
#include <vector>

#include "clock/clock_frame.h"
#include "clock/pixel_buffer.h"
#include "platform/text_painter.h"

namespace tikora {

// The room the picture fills (a tray's slot, the clock window, a preview), in device pixels,
// and how many device pixels make one pixel on that screen.
struct FaceSlot {
    int width = 0;
    int height = 0;
    double ratio = 1;
};

// The rows of a picture that hold ink: from `top` up to, not including, `bottom`.
struct InkRows {
    int top = 0;
    int bottom = 0;
    int Height() const { return bottom - top; }
};

// The rows of `area` in which some pixel differs from `background`; top = bottom = 0 for none.
InkRows RowsWithInk(const PixelBuffer& picture, const PixelRect& area, Argb background);

// A text's advance and line height in a font, and the rows its ink covers from the line's top.
struct TextInk {
    double width = 0;
    double height = 0;
    InkRows ink;
};
using MeasureInk = std::function<TextInk(const std::string& text, const FontSpec& font)>;

// The skin as the layout needs it: the mode, its cells and the rows their ink covers, its font
// at one pixel per device pixel (the dots per inch of an unscaled screen).
struct FaceSkin {
    ClockFace face;
    FontSpec font;
    InkRows digitInk;  // of the strip's digit cells; empty: the whole cell height
    InkRows atInk;     // of the digits and the "@" cell together
};

enum class FaceKind { OneLine, Compact };

// A strip cell (from its rows sourceY on) copied to the picture, each pixel a factor x factor
// square.
struct CellCopy {
    int sourceX = 0;
    int sourceY = 0;
    int width = 0;
    int height = 0;
    int destinationX = 0;
    int destinationY = 0;
    int factor = 1;
    bool operator==(const CellCopy&) const = default;
};

// A line of text with its top-left corner at `origin`, its ink limited to `area`.
struct TextLine {
    std::string text;
    FontSpec font;
    Point origin;
    PixelRect area;
};

// The picture of one reading in one slot: cells of the strip or lines of text, over the skin's
// background colour.
struct FaceFrame {
    FaceKind kind = FaceKind::OneLine;
    std::vector<CellCopy> cells;
    std::vector<TextLine> lines;
};

// The one set of rules for both faces: the one-line face where the slot is as wide as it needs
// at the screen's scale, else the compact face.
FaceFrame ComposeFace(const TickReading& reading, const FaceSkin& skin, const FaceSlot& slot,
                      const MeasureInk& measure);

// The width in device pixels that the one-line face needs in a slot of this ratio.
int OneLineWidth(const FaceSkin& skin, double ratio, const MeasureInk& measure);

}  // namespace tikora
