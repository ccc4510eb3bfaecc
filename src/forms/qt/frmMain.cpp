#include "qt/frmMain.h"

#include <QMouseEvent>
#include <QPaintEvent>
#include <QPainter>
#include <algorithm>
#include <cmath>

#include "clock/clock_text.h"
#include "clock/glyph_layout.h"
#include "clock/internet_time.h"
#include "clock/text_layout.h"
#include "platform/screen_metrics.h"
#include "platform/services.h"
#include "qt/frmMenu.h"
#include "qt/modMain.h"
#include "shared/modDefs.h"
#include "shared/numeric.h"
#include "shared/utf8.h"

namespace tikora {

FormInstance<ClockWindow> frmMain;

namespace {

constexpr int kTickMilliseconds = 200;
constexpr int kDesignWidthTwips = 1335;
constexpr int kDesignHeightTwips = 885;
constexpr int kTimeBoxWidth = 57;
constexpr int kTimeBoxHeight = 17;

// Where a tick's text may leave ink: its measured box with a line's height of room on every side,
// for glyphs that reach past their advance or above their ascent, and the whole of the window's
// part of picBuffer, so that what the window shows is drawn exactly as without a limit.
PixelRect TextArea(Point origin, const TextExtent& extent, int windowWidth, int windowHeight) {
    const auto pixels = [](double value) {
        return static_cast<int>(std::clamp(std::ceil(value), 0.0, double{1 << 24}));
    };
    const int room = pixels(extent.height) + 1;
    const PixelRect text{origin.x - room, origin.y - room, pixels(extent.width) + 2 * room,
                         pixels(extent.height) + 2 * room};
    return Union(text, PixelRect{0, 0, windowWidth, windowHeight});
}

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
    const LocalTime now = Platform().time->Now();
    const std::string timeText = TimeText(now.hour, now.minute, SkinSettings.Separator);
    const std::string beatText = BeatText(InternetTime());
    const std::string& shown = ClockSettings.BeatTime ? beatText : timeText;
    if (SkinSettings.DisplayImage) {
        DrawShownGlyphs(shown);
    } else {
        DrawShownText(shown);
    }
    // The block copy onto the window (see paintEvent), unless the window shows this very frame
    // already, as it does for all but one tick in a minute: no repaint, nothing sent to the
    // display, and no wake-up that follows from it.
    if (!shownFrame_.Shows(picBuffer.image, width(), height(), ColorRefToArgb(backColor_))) {
        update();
    }
}

void ClockWindow::DrawShownGlyphs(const std::string& text) {
    picBuffer.Clear();
    std::int32_t position = 0;
    for (const char32_t character : DecodeUtf8(text)) {
        DrawGlyph(character, position++);
    }
}

void ClockWindow::DrawGlyph(char32_t character, std::int32_t position) {
    const GlyphMetrics metrics{SkinSettings.CharWidth, SkinSettings.CharHeight,
                               SkinSettings.SepWidth};
    const std::optional<GlyphCopy> copy =
        PlaceGlyph(character, position, ClockSettings.BeatTime, metrics, width(), height());
    if (copy) {
        BlockCopy(picBuffer.image, copy->destinationX, copy->destinationY, copy->width,
                  copy->height, picSkin.picture, copy->sourceX, 0);
        picBuffer.MarkDrawn({copy->destinationX, copy->destinationY, copy->width, copy->height});
    }
}

void ClockWindow::DrawShownText(const std::string& text) {
    const FontSpec font = BufferFont();
    const TextExtent extent = textPainter_.Measure(text, font);
    const Point origin = TextOrigin(width(), height(), extent.width, extent.height);
    picBuffer.Clear();
    const PixelRect area = TextArea(origin, extent, width(), height());
    textPainter_.Draw(picBuffer.image, text, font, ColorRefToArgb(picBuffer.ForeColor), origin,
                      area);
    picBuffer.MarkDrawn(area);
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

double ClockWindow::InternetTime() const {
    const LocalTime now = Platform().time->Now();
    std::int32_t offset = 0;
    Get_TimeZone(offset);
    return InternetTimeAt(now.hour, now.minute, now.second, offset);
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
