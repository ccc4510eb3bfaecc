// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <optional>

namespace tikora {

// The cell sizes of a skin's glyph strip, in pixels, as the skin file gives them.
struct GlyphMetrics {
    float charWidth = 0;
    float charHeight = 0;
    float sepWidth = 0;
};

// One cell copied from the strip (at its top edge) into the drawing box.
struct GlyphCopy {
    int sourceX = 0;
    int width = 0;
    int height = 0;
    int destinationX = 0;
    int destinationY = 0;
};

// Where the character at `position` of the shown text goes, on the fixed cell grid centred in a
// window of the given inner size: "@" and three digits in the beat layout, two digits, the
// separator cell and two digits in the time layout. Position 0 of the beat layout is always the
// "@" cell and position 2 of the time layout always the separator cell, whatever the character.
// Nothing for a position outside the layout or a non-digit at a digit position.
std::optional<GlyphCopy> PlaceGlyph(char32_t character, std::int32_t position, bool beatLayout,
                                    const GlyphMetrics& metrics, double innerWidth,
                                    double innerHeight);

}  // namespace tikora
