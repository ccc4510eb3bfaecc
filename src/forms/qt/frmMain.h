// SPDX-License-Identifier: MIT
#pragma once

#include <QMenu>
#include <QPointer>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>

#include "clock/clock_frame.h"
#include "clock/picture_box.h"
#include "modules/clock_timer.h"
#include "modules/face_picture.h"
#include "platform/text_painter.h"
#include "qt/form_instance.h"

namespace tikora {

// frmMain, the clock face and the program's start-up window. Every tick reads the clock and the
// zone once, has the core compose the frame from them, the mode and the skin, draws the frame into
// the off-screen picBuffer and puts picBuffer on the window in one copy. It then sleeps until the
// shown text changes, unless the clock jumps, the zone changes, or a menu command or a new skin
// changes the picture first. Where its window is too narrow for the one line (a tray's square
// slot), or the screen has more device pixels than pixels, it draws the picture for its size in
// device pixels instead, as every picture of the clock is drawn (FacePainter).
class ClockWindow : public QWidget {
  public:
    ClockWindow();

    void Form_Load();
    void tmrClock_Timer();
    // Opens the popup menu at the mouse pointer.
    void Form_Click(QPoint mousePosition);

    // The local zone's offset from UTC in force now, in minutes: the tick's one reading of the
    // zone.
    void Get_TimeZone(std::int32_t& offset) const;

    // Copies one cell of the strip in picSkin to its place in picBuffer.
    void DrawGlyph(const GlyphCopy& copy);

    // The size of `text` in the font the clock draws its text in, in pixels.
    TextExtent MeasureText(const std::string& text);

    // The window's own background colour, a colour reference.
    void SetBackColor(std::uint32_t colorRef);

    DrawingBox picBuffer;
    PictureHolder picSkin;
    PlacedBox picTime;
    ClockTimer tmrClock;
    // Told the text of every frame a tick composes, after the tick has drawn it.
    std::function<void(const std::string& text)> onTick;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

  private:
    // A tick as soon as the event loop is free again, after the handler at hand has done its
    // changes; one however often it is asked for meanwhile.
    void RedrawSoon();
    void DrawShownGlyphs(const ClockFrame& frame);
    void DrawShownText(const std::string& text);
    // The window's room in device pixels.
    FaceSlot Slot() const;
    // The picture for the window's size in device pixels; true when it differs from the last.
    bool DrawDevicePicture(const TickReading& reading, const FaceSlot& slot);

    std::uint32_t backColor_ = 0;
    TextPainter textPainter_;
    // The last picture in device pixels, and whether the window shows it rather than picBuffer.
    FacePainter facePainter_;
    PixelBuffer devicePicture_;
    bool showsDevicePicture_ = false;
    // What the window shows since its last full repaint; a tick that drew the same frame again
    // leaves the window alone.
    ShownFrame shownFrame_;
    bool redrawPending_ = false;
    // The popup menu whose commands are followed by a redraw.
    QPointer<QMenu> watchedMenu_;
};

extern FormInstance<ClockWindow> frmMain;

}  // namespace tikora
