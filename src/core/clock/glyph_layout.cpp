// SPDX-License-Identifier: MIT
#include "clock/glyph_layout.h"

#include <algorithm>

#include "shared/numeric.h"

namespace tikora {
namespace {

constexpr int kAtCell = 10;
constexpr int kSeparatorCell = 11;

// The block's left and top edges are 16-bit figures; out-of-range values stop at the limits
// instead of wrapping round to the other side of the window.
int Clamp16(int value) {
    return std::clamp(value, -32768, 32767);
}

struct Cell {
    bool fixed;      // the "@" or separator cell, whatever the character
    int cellIndex;   // for fixed cells
    double offset;   // from the block's left edge, before rounding
    bool separator;  // its own width
};

std::optional<Cell> CellAt(std::int32_t position, bool beatLayout, const GlyphMetrics& m) {
    const double cw = m.charWidth;
    const double sw = m.sepWidth;
    if (beatLayout) {
        if (position == 0) {
            return Cell{true, kAtCell, 0, false};
        }
        if (position >= 1 && position <= 3) {
            return Cell{false, 0, position * cw, false};
        }
        return std::nullopt;
    }
    switch (position) {
        case 0:
            return Cell{false, 0, 0, false};
        case 1:
            return Cell{false, 0, cw, false};
        case 2:
            return Cell{true, kSeparatorCell, 2 * cw, true};
        case 3:
            return Cell{false, 0, 2 * cw + sw, false};
        case 4:
            return Cell{false, 0, 3 * cw + sw, false};
        default:
            return std::nullopt;
    }
}

}  // namespace

std::optional<GlyphCopy> PlaceGlyph(char32_t character, std::int32_t position, bool beatLayout,
                                    const GlyphMetrics& metrics, double innerWidth,
                                    double innerHeight) {
    const std::optional<Cell> cell = CellAt(position, beatLayout, metrics);
    if (!cell) {
        return std::nullopt;
    }
    int cellIndex = cell->cellIndex;
    if (!cell->fixed) {
        if (character < U'0' || character > U'9') {
            return std::nullopt;
        }
        cellIndex = static_cast<int>(character - U'0');
    }
    const double cw = metrics.charWidth;
    const double blockWidth = beatLayout ? 4 * cw : 4 * cw + metrics.sepWidth;
    const int x0 = Clamp16(RoundHalfEven(innerWidth) / 2 - RoundHalfEven(blockWidth) / 2);
    const int y0 =
        Clamp16(RoundHalfEven(innerHeight) / 2 - RoundHalfEven(metrics.charHeight) / 2 - 1);
    return GlyphCopy{RoundHalfEven(cellIndex * cw),
                     RoundHalfEven(cell->separator ? metrics.sepWidth : cw),
                     RoundHalfEven(metrics.charHeight), RoundHalfEven(x0 + cell->offset), y0};
}

}  // namespace tikora
