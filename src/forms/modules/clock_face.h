// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "clock/glyph_layout.h"
#include "clock/picture_box.h"
#include "dock/dock_layout.h"
#include "platform/text_painter.h"

// What frmMain draws and how much room it needs, the same for every set of windows.

namespace tikora {

class ClockWindow;

// Copies one cell of the skin's strip to its place in picBuffer.
void CopyGlyph(DrawingBox& buffer, const PixelBuffer& strip, const GlyphCopy& copy);

// Clears picBuffer, of the window's size, and draws `text` centred in it in the buffer's font and
// colour.
void DrawCentredText(DrawingBox& buffer, TextPainter& painter, const std::string& text,
                     const FontSpec& font, int windowWidth, int windowHeight);

// Centres the hidden picTime in the clock window.
void CentreTimeBox(ClockWindow& clock);

// What the clock draws at most: the skin's wider glyph block, or the wider of its two texts.
TextExtent ContentSize(ClockWindow& clock);

// The content's whole pixels: what a host must hold for the time to show whole.
TraySize NeededSize(ClockWindow& clock);

// Outside the taskbar's clock the window has its own size: picBuffer covers it and the next
// frame is drawn centred in it at once.
void FitToWindow(ClockWindow& clock);

}  // namespace tikora
