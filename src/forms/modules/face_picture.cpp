// SPDX-License-Identifier: MIT
#include "modules/face_picture.h"

#include <cmath>

#include "frmMain.h"
#include "platform/services.h"
#include "shared/modDefs.h"
#include "shared/numeric.h"

namespace tikora {
namespace {

constexpr std::size_t kMostMeasurements = 1024;
constexpr Argb kWhite = 0xFFFFFFFFu;

// The rows of the strip's first `cells` cells that hold ink.
InkRows StripInk(const PixelBuffer& strip, const GlyphMetrics& metrics, int cells) {
    const PixelRect area{0, 0, RoundHalfEven(cells * metrics.charWidth),
                         RoundHalfEven(metrics.charHeight)};
    return RowsWithInk(strip, area, strip.Pixel(0, 0));
}

}  // namespace

FontSpec BufferFontOf(const DrawingBox& picBuffer) {
    const int twipsPerPixel = DockState.TwipsPerPixelY > 0 ? DockState.TwipsPerPixelY : 15;
    return FontSpec{picBuffer.FontName, picBuffer.FontSize, 1440 / twipsPerPixel};
}

FaceLook LookOf(const ClockWindow& clock) {
    return {FaceOf(SkinSettings, ClockSettings), &clock.picSkin.picture, clock.picBuffer.ForeColor,
            clock.picBuffer.BackColor, BufferFontOf(clock.picBuffer)};
}

TickReading ReadClock(const ClockWindow& clock) {
    TickReading reading;
    reading.now = Platform().time->Now();
    clock.Get_TimeZone(reading.zoneOffset);
    return reading;
}

TextInk FacePainter::Measure(const std::string& text, const FontSpec& font) {
    const std::string key = text + '\n' + font.name + '\n' + std::to_string(font.pointSize) + '\n' +
                            std::to_string(font.dotsPerInch);
    if (const auto known = measured_.find(key); known != measured_.end()) {
        return known->second;
    }
    const TextExtent extent = painter_.Measure(text, font);
    // The ink is found by drawing the text with a line's height of room round it.
    const int room = static_cast<int>(std::ceil(extent.height)) + 1;
    scratch_.Reset(static_cast<int>(std::ceil(extent.width)) + 2 * room,
                   static_cast<int>(std::ceil(extent.height)) + 2 * room);
    const PixelRect whole{0, 0, scratch_.Width(), scratch_.Height()};
    painter_.Draw(scratch_, text, font, kWhite, {room, room}, whole);
    InkRows ink = RowsWithInk(scratch_, whole, kOpaque);
    if (ink.Height() > 0) {
        ink = {ink.top - room, ink.bottom - room};
    }
    if (measured_.size() >= kMostMeasurements) {
        measured_.clear();
    }
    return measured_[key] = TextInk{extent.width, extent.height, ink};
}

FaceSkin FacePainter::SkinOf(const FaceLook& look, bool withInk) {
    FaceSkin skin{look.face, look.font, {}, {}};
    // A new skin may reuse the old strip's memory: its ink is looked for every time (a few
    // thousand pixels).
    if (withInk && look.face.displayImage && look.strip != nullptr) {
        skin.digitInk = StripInk(*look.strip, look.face.metrics, 10);
        skin.atInk = StripInk(*look.strip, look.face.metrics, 11);
    }
    return skin;
}

FaceKind FacePainter::KindFor(const FaceLook& look, const FaceSlot& slot) {
    // Asked on every tick: the width is worked out again only for another skin or screen.
    const OneLineNeed need{look.face.displayImage,
                           look.face.separator.Char(),
                           look.face.metrics.charWidth,
                           look.face.metrics.sepWidth,
                           look.font,
                           slot.ratio};
    if (!(need == oneLineNeed_)) {
        oneLineNeed_ = need;
        oneLineWidth_ = OneLineWidth(SkinOf(look, false), slot.ratio, Measurer());
    }
    return slot.width >= oneLineWidth_ ? FaceKind::OneLine : FaceKind::Compact;
}

void FacePainter::Draw(PixelBuffer& picture, const TickReading& reading, const FaceLook& look,
                       const FaceSlot& slot) {
    const FaceFrame frame = ComposeFace(reading, SkinOf(look, true), slot, Measurer());
    picture.Reset(slot.width, slot.height, ColorRefToArgb(look.backColor));
    for (const CellCopy& cell : frame.cells) {
        if (look.strip != nullptr) {
            ScaledBlockCopy(picture, cell.destinationX, cell.destinationY, cell.width, cell.height,
                            *look.strip, cell.sourceX, cell.sourceY, cell.factor);
        }
    }
    for (const TextLine& line : frame.lines) {
        painter_.Draw(picture, line.text, line.font, ColorRefToArgb(look.foreColor), line.origin,
                      line.area);
    }
}

PixelBuffer ClockPicture(const ClockWindow& clock, FacePainter& painter, const FaceSlot& slot) {
    PixelBuffer picture;
    painter.Draw(picture, ReadClock(clock), LookOf(clock), slot);
    return picture;
}

}  // namespace tikora
