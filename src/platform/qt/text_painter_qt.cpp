// SPDX-License-Identifier: MIT
#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>
#include <optional>

#include "platform/text_painter.h"

namespace tikora {

struct TextPainter::Cache {
    FontSpec current;
    QFont font;
    std::unique_ptr<QFontMetricsF> metrics;
    QImage device{1, 1, QImage::Format_RGB32};
    // The last text measured in this font and its size: a tick measures the text it shows, which
    // changes once a minute.
    std::optional<std::string> measuredText;
    TextExtent measured;

    void Use(const FontSpec& wanted) {
        if (metrics && wanted == current) {
            return;
        }
        measuredText.reset();
        current = wanted;
        font = QFont(QString::fromStdString(wanted.name));
        if (wanted.pointSize > 0) {
            font.setPointSizeF(wanted.pointSize);
        }
        SetDotsPerInch(device, wanted.dotsPerInch);
        metrics = std::make_unique<QFontMetricsF>(font, &device);
    }

    static void SetDotsPerInch(QImage& image, int dotsPerInch) {
        const int perMetre = static_cast<int>(dotsPerInch / 0.0254 + 0.5);
        image.setDotsPerMeterX(perMetre);
        image.setDotsPerMeterY(perMetre);
    }
};

TextPainter::TextPainter() : cache_(std::make_unique<Cache>()) {}
TextPainter::~TextPainter() = default;

TextExtent TextPainter::Measure(const std::string& utf8, const FontSpec& font) {
    cache_->Use(font);
    if (cache_->measuredText != utf8) {
        cache_->measured = {cache_->metrics->horizontalAdvance(QString::fromStdString(utf8)),
                            cache_->metrics->height()};
        cache_->measuredText = utf8;
    }
    return cache_->measured;
}

void TextPainter::Draw(PixelBuffer& target, const std::string& utf8, const FontSpec& font,
                       Argb colour, Point origin, const PixelRect& area) {
    const PixelRect part = ClipToBuffer(area, target.Width(), target.Height());
    if (part.Empty()) {
        return;
    }
    cache_->Use(font);
    // A QImage over the part's own pixels, its rows as far apart as the buffer's: QPainter draws
    // straight into the buffer, and a whole-pixel shift of the text moves its pixels unchanged.
    Argb* first = target.Data() + static_cast<std::size_t>(part.y) * target.Width() + part.x;
    QImage view(reinterpret_cast<uchar*>(first), part.width, part.height, target.BytesPerLine(),
                QImage::Format_RGB32);
    Cache::SetDotsPerInch(view, font.dotsPerInch);
    QPainter painter(&view);
    painter.setFont(cache_->font);
    painter.setPen(QColor::fromRgb(colour));
    painter.drawText(QPointF(origin.x - part.x, origin.y - part.y + cache_->metrics->ascent()),
                     QString::fromStdString(utf8));
}

}  // namespace tikora
