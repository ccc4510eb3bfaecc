#include "qt/frmMain.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>

#include "clock/internet_time.h"
#include "clock/text_layout.h"
#include "platform/screen_metrics.h"
#include "platform/services.h"
#include "qt/frmMenu.h"
#include "qt/modMain.h"
#include "shared/modDefs.h"
#include "shared/numeric.h"

namespace tikora {

FormInstance<ClockWindow> frmMain;

namespace {

constexpr int kTickMilliseconds = 200;
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
    tmrClock.setInterval(kTickMilliseconds);
    QObject::connect(&tmrClock, &QTimer::timeout, this, [this] { tmrClock_Timer(); });
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
}

void ClockWindow::DrawShownGlyphs(const ClockFrame& frame) {
    picBuffer.Clear();
    for (const GlyphCopy& copy : frame.glyphs) {
        DrawGlyph(copy);
    }
}

void ClockWindow::DrawGlyph(const GlyphCopy& copy) {
    BlockCopy(picBuffer.image, copy.destinationX, copy.destinationY, copy.width, copy.height,
              picSkin.picture, copy.sourceX, 0);
    picBuffer.MarkDrawn({copy.destinationX, copy.destinationY, copy.width, copy.height});
}

void ClockWindow::DrawShownText(const std::string& text) {
    const FontSpec font = BufferFont();
    const TextExtent extent = textPainter_.Measure(text, font);
    const TextPlacement place = PlaceText(width(), height(), extent.width, extent.height);
    picBuffer.Clear();
    textPainter_.Draw(picBuffer.image, text, font, ColorRefToArgb(picBuffer.ForeColor),
                      place.origin, place.area);
    picBuffer.MarkDrawn(place.area);
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
}

void ClockWindow::paintEvent(QPaintEvent* event) {
    // Also serves exposures between ticks, so an uncovered window shows the last frame at once.
    if (event->rect().contains(rect())) {
        shownFrame_.Remember(picBuffer.image, width(), height(), ColorRefToArgb(backColor_));
    } else {
        shownFrame_.Forget();  // part of the window would show one frame, part another
    }
    QPainter painter(this);
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
    frmMenu->mnuMain.popup(mousePosition);
}

}  // namespace tikora
