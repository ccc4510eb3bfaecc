// SPDX-License-Identifier: MIT
#include "qt/frmMain.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>
#include <utility>

#include "clock/internet_time.h"
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
    const TickReading reading = ReadClock(*this);
    const ClockFace face = FaceOf(SkinSettings, ClockSettings);
    const FaceSlot slot = Slot();
    if (slot.ratio > 1 || facePainter_.KindFor(LookOf(*this), slot) == FaceKind::Compact) {
        if (DrawDevicePicture(reading, slot) || !showsDevicePicture_) {
            showsDevicePicture_ = true;
            shownFrame_.Forget();
            update();
        }
        tmrClock.Arm(UntilShownTextChanges(reading, face));
        if (onTick) {
            onTick(ShownText(reading, face));
        }
        return;
    }
    if (std::exchange(showsDevicePicture_, false)) {
        shownFrame_.Forget();
    }
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

FaceSlot ClockWindow::Slot() const {
    const qreal ratio = devicePixelRatioF();
    return {static_cast<int>(width() * ratio), static_cast<int>(height() * ratio), ratio};
}

bool ClockWindow::DrawDevicePicture(const TickReading& reading, const FaceSlot& slot) {
    PixelBuffer picture;
    facePainter_.Draw(picture, reading, LookOf(*this), slot);
    const bool changed =
        picture.Width() != devicePicture_.Width() || picture.Height() != devicePicture_.Height() ||
        !std::equal(picture.Data(), picture.Data() + picture.Width() * picture.Height(),
                    devicePicture_.Data());
    devicePicture_ = std::move(picture);
    return changed;
}

void ClockWindow::DrawShownGlyphs(const ClockFrame& frame) {
    picBuffer.Clear();
    for (const GlyphCopy& copy : frame.glyphs) {
        DrawGlyph(copy);
    }
}

void ClockWindow::DrawGlyph(const GlyphCopy& copy) {
    CopyGlyph(picBuffer, picSkin.picture, copy);
}

void ClockWindow::DrawShownText(const std::string& text) {
    DrawCentredText(picBuffer, textPainter_, text, BufferFontOf(picBuffer), width(), height());
}

TextExtent ClockWindow::MeasureText(const std::string& text) {
    return textPainter_.Measure(text, BufferFontOf(picBuffer));
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
    QPainter painter(this);
    if (showsDevicePicture_) {
        // Every device pixel drawn as it is, never smoothed.
        QImage picture = ImageOf(devicePicture_);
        picture.setDevicePixelRatio(devicePixelRatioF());
        painter.drawImage(QPoint(0, 0), picture);
        return;
    }
    // Also serves exposures between ticks, so an uncovered window shows the last frame at once.
    picBuffer.Uncover({0, 0, width(), height()});
    if (event->rect().contains(rect())) {
        shownFrame_.Remember(picBuffer.image, width(), height(), ColorRefToArgb(backColor_));
    } else {
        shownFrame_.Forget();  // part of the window would show one frame, part another
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
