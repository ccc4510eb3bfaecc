// SPDX-License-Identifier: MIT
#pragma once

// The arithmetic of docking the clock window into the desktop's clock: sizes in twips and pixels,
// the boxes' sizes and the centred time box. No windows here, only figures.

#include <cstdint>

#include "clock/glyph_layout.h"
#include "shared/window_rect.h"

namespace tikora {

struct DockedSizes {
    // frmMain's Width and Height: the desktop clock's size in twips.
    std::int32_t widthTwips = 0;
    std::int32_t heightTwips = 0;
    // The same size in the screen's pixels: what the window becomes.
    std::int32_t widthPixels = 0;
    std::int32_t heightPixels = 0;
};

// The clock window's size over a desktop clock of the given rectangle. Products beyond the 32-bit
// range stop at its limits; a twips-per-pixel figure of 0 or less gives no pixels.
DockedSizes DockedSizesFor(const WindowRect& clockRect, std::int32_t twipsPerPixelX,
                           std::int32_t twipsPerPixelY);

struct BoxOrigin {
    int left = 0;
    int top = 0;
};

// A box of the given size centred in the window's inner area: each half by integer division
// (toward zero), then one pixel left and one pixel up.
BoxOrigin CentredBoxOrigin(int innerWidth, int innerHeight, int boxWidth, int boxHeight);

struct TraySize {
    int width = 0;
    int height = 0;
};

// The size the clock asks a system tray for: its content with a little room round it, at the
// tray's icon height when the tray tells it (0 when it does not).
TraySize TrayRequestSize(double contentWidth, double contentHeight, int trayIconHeight);

// The wider of the two glyph blocks a skin draws: four cells and the separator cell in the time
// layout, four cells in the beat layout.
double WidestGlyphBlock(const GlyphMetrics& metrics);

}  // namespace tikora
