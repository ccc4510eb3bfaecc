// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <map>
#include <string>

#include "clock/face_layout.h"
#include "clock/picture_box.h"
#include "platform/text_painter.h"

// The clock's picture for a slot of any size, drawn the one way frmMain, the preview and a tray
// icon all draw it.

namespace tikora {

class ClockWindow;

// What a picture of the clock is drawn with: the mode, the skin's cells, colours and font.
struct FaceLook {
    ClockFace face;
    const PixelBuffer* strip = nullptr;  // the skin's glyph strip, kept by its owner
    std::uint32_t foreColor = 0;         // colour references
    std::uint32_t backColor = 0;
    FontSpec font;  // at the dots per inch of an unscaled screen
};

// The font text is drawn in: picBuffer's, at the screen's dots per inch.
FontSpec BufferFontOf(const DrawingBox& picBuffer);

// The clock window's mode and skin as they are now.
FaceLook LookOf(const ClockWindow& clock);

// One reading of the local clock and the zone, as a tick takes it.
TickReading ReadClock(const ClockWindow& clock);

// Draws pictures of the clock; keeps the fonts and the text measurements from one picture to the
// next, so keep one for each place that draws.
class FacePainter {
  public:
    // The reading as the skin shows it in the slot: `picture` takes the slot's size.
    void Draw(PixelBuffer& picture, const TickReading& reading, const FaceLook& look,
              const FaceSlot& slot);
    // Which face a slot gets.
    FaceKind KindFor(const FaceLook& look, const FaceSlot& slot);

  private:
    TextInk Measure(const std::string& text, const FontSpec& font);
    // The skin for the layout; the rows its strip's ink covers only when asked.
    FaceSkin SkinOf(const FaceLook& look, bool withInk);
    MeasureInk Measurer() {
        return
            [this](const std::string& text, const FontSpec& font) { return Measure(text, font); };
    }

    TextPainter painter_;
    PixelBuffer scratch_;
    std::map<std::string, TextInk> measured_;
    // What the one-line face's width was last worked out from, and that width.
    struct OneLineNeed {
        bool image = false;
        char32_t separator = 0;
        float charWidth = -1;
        float sepWidth = -1;
        FontSpec font;
        double ratio = 0;
        bool operator==(const OneLineNeed&) const = default;
    };
    OneLineNeed oneLineNeed_;
    int oneLineWidth_ = 0;
};

// The clock's picture now, for a slot of `slot.width` x `slot.height` device pixels on a screen of
// `slot.ratio` device pixels a pixel: what the clock window of that size shows.
PixelBuffer ClockPicture(const ClockWindow& clock, FacePainter& painter, const FaceSlot& slot);

}  // namespace tikora
