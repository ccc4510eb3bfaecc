// SPDX-License-Identifier: MIT
#include "qt/frmMain.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

#include "clock/internet_time.h"
#include "clock/text_layout.h"
#include "clock/whole_scale.h"
#include "dock/dock_layout.h"
#include "modules/clock_face.h"
#include "modules/modMain.h"
#include "platform/clock_wake.h"
#include "platform/screen_metrics.h"
#include "platform/services.h"
#include "qt/frmMenu.h"
#include "shared/modDefs.h"
#include "shared/numeric.h"

namespace tikora {

FormInstance<ClockWindow> frmMain;

namespace {

constexpr int kDesignWidthTwips = 1335;
constexpr int kDesignHeightTwips = 885;
constexpr int kTimeBoxWidth = 57;
constexpr int kTimeBoxHeight = 17;

QImage ImageOf(const PixelBuffer& buffer) {
    return QImage(reinterpret_cast<const uchar*>(buffer.Data()), buffer.Width(), buffer.Height(),
                  buffer.BytesPerLine(), QImage::Format_RGB32);
}

}  // namespace

ClockWindow::ClockWindow() {
    setWindowTitle(QStringLiteral(":: Tikora ::"));
    setWindowFlags(Qt::FramelessWindowHint | Qt::Tool);
    // The tick paints every pixel; Qt need not clear the window first.
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(RoundHalfEven(kDesignWidthTwips / ScreenTwipsPerPixelX()),
           RoundHalfEven(kDesignHeightTwips / ScreenTwipsPerPixelY()));
    picBuffer.SetSize(width(), height());
    // The time box's design-time size, in pixels: one line of the clock's text.
    picTime.Width = kTimeBoxWidth;
    picTime.Height = kTimeBoxHeight;
    tmrClock.OnTimer([this] { tmrClock_Timer(); });
}

void ClockWindow::Form_Load() {
    StartProgram();
}

void ClockWindow::tmrClock_Timer() {
    // One reading of the clock and one of the zone serve the whole frame, so that its texts can
    // never straddle a second.
    TickReading reading;
    reading.now = Platform().time->Now();
    Get_TimeZone(reading.zoneOffset);
    const ClockFace face = FaceOf(SkinSettings, ClockSettings);
    const ClockFrame frame = ComposeFrame(reading, face, width(), height());
    picBuffer.Uncover({0, 0, width(), height()});
    if (face.displayImage) {
        DrawShownGlyphs(frame);
    } else {
        DrawShownText(frame.text);
    }
    // The block copy onto the window (see paintEvent), unless the window shows this very frame
    // already, as it does for all but one tick in a minute: no repaint, nothing sent to the
    // display, and no wake-up that follows from it.
    if (!shownFrame_.Shows(picBuffer.image, width(), height(), ColorRefToArgb(backColor_))) {
        update();
    }
    tmrClock.Arm(UntilShownTextChanges(reading, face));
    if (onTick) {
        onTick(frame.text);
    }
}

void ClockWindow::RedrawSoon() {
    if (std::exchange(redrawPending_, true)) {
        return;
    }
    QMetaObject::invokeMethod(
        this,
        [this] {
            redrawPending_ = false;
            if (tmrClock.isActive()) {
                tmrClock_Timer();
            }
        },
        Qt::QueuedConnection);
}

void ClockWindow::DrawShownGlyphs(const ClockFrame& frame) {
    shownText_.reset();
    picBuffer.Clear();
    for (const GlyphCopy& copy : frame.glyphs) {
        DrawGlyph(copy);
    }
}

void ClockWindow::DrawGlyph(const GlyphCopy& copy) {
    CopyGlyph(picBuffer, picSkin.picture, copy);
}

void ClockWindow::DrawShownText(const std::string& text) {
    DrawCentredText(picBuffer, textPainter_, text, BufferFont(), width(), height());
    shownText_ = text;
}

TextExtent ClockWindow::MeasureText(const std::string& text) {
    return textPainter_.Measure(text, BufferFont());
}

FontSpec ClockWindow::BufferFont() const {
    const int twipsPerPixel = DockState.TwipsPerPixelY > 0 ? DockState.TwipsPerPixelY : 15;
    return FontSpec{picBuffer.FontName, picBuffer.FontSize, 1440 / twipsPerPixel};
}

void ClockWindow::Get_TimeZone(std::int32_t& offset) const {
    offset = ZoneOffsetMinutes(Platform().zone->Read());
}

void ClockWindow::SetBackColor(std::uint32_t colorRef) {
    backColor_ = colorRef;
    // Only a skin being applied sets it; the rest of the skin follows in the same handler.
    RedrawSoon();
}

void ClockWindow::paintEvent(QPaintEvent* event) {
    // Also serves exposures between ticks, so an uncovered window shows the last frame at once.
    picBuffer.Uncover({0, 0, width(), height()});
    if (event->rect().contains(rect())) {
        shownFrame_.Remember(picBuffer.image, width(), height(), ColorRefToArgb(backColor_));
    } else {
        shownFrame_.Forget();  // part of the window would show one frame, part another
    }
    QPainter painter(this);
    if (devicePixelRatioF() > 1) {
        PaintOnDevicePixels(painter, devicePixelRatioF());
        return;
    }
    const QImage frame = ImageOf(picBuffer.image);
    painter.drawImage(QPoint(0, 0), frame);
    const QColor background = QColor::fromRgb(ColorRefToArgb(backColor_));
    if (frame.width() < width()) {
        painter.fillRect(frame.width(), 0, width() - frame.width(), height(), background);
    }
    if (frame.height() < height()) {
        painter.fillRect(0, frame.height(), width(), height() - frame.height(), background);
    }
}

// On a scaled screen every pixel is drawn on whole device pixels, never smoothed: a text frame is
// drawn anew in the same font at the screen's resolution, and a frame of strip cells is enlarged
// by a whole factor as far as its glyphs still fit the window, each pixel a sharp square. Either
// sits centred in the window, as the frame does.
void ClockWindow::PaintOnDevicePixels(QPainter& painter, qreal ratio) {
    const int deviceWidth = static_cast<int>(width() * ratio);
    const int deviceHeight = static_cast<int>(height() * ratio);
    QImage picture;
    QSize frameSize(deviceWidth, deviceHeight);  // in device pixels
    if (shownText_) {
        FontSpec font = BufferFont();
        font.dotsPerInch = RoundHalfEven(font.dotsPerInch * ratio);
        const TextExtent extent = deviceTextPainter_.Measure(*shownText_, font);
        const TextPlacement place =
            PlaceText(deviceWidth, deviceHeight, extent.width, extent.height);
        deviceText_.Reset(deviceWidth, deviceHeight, ColorRefToArgb(picBuffer.BackColor));
        deviceTextPainter_.Draw(deviceText_, *shownText_, font, ColorRefToArgb(picBuffer.ForeColor),
                                place.origin, place.area);
        picture = ImageOf(deviceText_);
    } else {
        const GlyphMetrics cells{SkinSettings.CharWidth, SkinSettings.CharHeight,
                                 SkinSettings.SepWidth};
        const int factor = WholeScaleFactor(
            ratio, std::min(width(), static_cast<int>(std::ceil(WidestGlyphBlock(cells)))),
            std::min(height(), RoundHalfEven(cells.charHeight)), deviceWidth, deviceHeight);
        const QImage frame = ImageOf(picBuffer.image)
                                 .copy(0, 0, std::min(width(), picBuffer.Width()),
                                       std::min(height(), picBuffer.Height()));
        picture = frame.scaled(frame.size() * factor);  // nearest neighbour
        frameSize = size() * factor;
    }
    picture.setDevicePixelRatio(ratio);
    painter.fillRect(rect(), QColor::fromRgb(ColorRefToArgb(backColor_)));
    // The frame's top-left corner, in device pixels, so that its middle meets the window's.
    const QPoint corner((deviceWidth - frameSize.width()) / 2,
                        (deviceHeight - frameSize.height()) / 2);
    painter.drawImage(QPointF(corner) / ratio, picture);
}

void ClockWindow::mouseReleaseEvent(QMouseEvent* event) {
    event->accept();
    Form_Click(event->globalPosition().toPoint());
}

void ClockWindow::Form_Click(QPoint mousePosition) {
    QMenu& menu = frmMenu->mnuMain;
    if (watchedMenu_ != &menu) {
        // A command such as "&Internet Time (.beat)" changes what the clock shows; the redraw
        // comes once the command's own handler has run.
        watchedMenu_ = &menu;
        QObject::connect(&menu, &QMenu::triggered, this, [this] { RedrawSoon(); });
    }
    menu.popup(mousePosition);
}

}  // namespace tikora
