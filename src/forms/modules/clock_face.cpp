// SPDX-License-Identifier: MIT
#include "modules/clock_face.h"

#include <algorithm>
#include <cmath>

#include "clock/clock_text.h"
#include "clock/text_layout.h"
#include "frmMain.h"
#include "shared/modDefs.h"

namespace tikora {

void CopyGlyph(DrawingBox& buffer, const PixelBuffer& strip, const GlyphCopy& copy) {
    const PixelRect cell{copy.destinationX, copy.destinationY, copy.width, copy.height};
    buffer.Uncover(cell);
    BlockCopy(buffer.image, copy.destinationX, copy.destinationY, copy.width, copy.height, strip,
              copy.sourceX, 0);
    buffer.MarkDrawn(cell);
}

void DrawCentredText(DrawingBox& buffer, TextPainter& painter, const std::string& text,
                     const FontSpec& font, int windowWidth, int windowHeight) {
    const TextExtent extent = painter.Measure(text, font);
    const TextPlacement place = PlaceText(windowWidth, windowHeight, extent.width, extent.height);
    buffer.Uncover(place.area);
    buffer.Clear();
    painter.Draw(buffer.image, text, font, ColorRefToArgb(buffer.ForeColor), place.origin,
                 place.area);
    buffer.MarkDrawn(place.area);
}

void CentreTimeBox(ClockWindow& clock) {
    const BoxOrigin origin =
        CentredBoxOrigin(clock.width(), clock.height(), clock.picTime.Width, clock.picTime.Height);
    clock.picTime.Left = origin.left;
    clock.picTime.Top = origin.top;
}

TextExtent ContentSize(ClockWindow& clock) {
    if (SkinSettings.DisplayImage) {
        const GlyphMetrics metrics{SkinSettings.CharWidth, SkinSettings.CharHeight,
                                   SkinSettings.SepWidth};
        return {WidestGlyphBlock(metrics), SkinSettings.CharHeight};
    }
    const TextExtent time = clock.MeasureText(TimeText(0, 0, SkinSettings.Separator));
    const TextExtent beat = clock.MeasureText(BeatText(0));
    return {std::max(time.width, beat.width), std::max(time.height, beat.height)};
}

TraySize NeededSize(ClockWindow& clock) {
    const TextExtent content = ContentSize(clock);
    return {static_cast<int>(std::ceil(content.width)),
            static_cast<int>(std::ceil(content.height))};
}

void FitToWindow(ClockWindow& clock) {
    clock.picBuffer.SetSize(clock.width(), clock.height());
    CentreTimeBox(clock);
    if (clock.tmrClock.isActive()) {
        clock.tmrClock_Timer();
    }
}

}  // namespace tikora
