#include <QFont>
#include <QFontMetricsF>
#include <QImage>
#include <QPainter>

#include "platform/text_painter.h"

namespace tikora {

struct TextPainter::Cache {
    FontSpec spec;
    QFont font;
    std::unique_ptr<QFontMetricsF> metrics;
    QImage device{1, 1, QImage::Format_RGB32};

    void Use(const FontSpec& wanted) {
        if (metrics && wanted == spec) {
            return;
        }
        spec = wanted;
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
    return {cache_->metrics->horizontalAdvance(QString::fromStdString(utf8)),
            cache_->metrics->height()};
}

void TextPainter::Draw(PixelBuffer& target, const std::string& utf8, const FontSpec& font,
                       Argb colour, Point origin) {
    if (target.Empty()) {
        return;
    }
    cache_->Use(font);
    // A QImage over the buffer's own memory: QPainter draws straight into the pixels.
    QImage view(reinterpret_cast<uchar*>(target.Data()), target.Width(), target.Height(),
                target.BytesPerLine(), QImage::Format_RGB32);
    Cache::SetDotsPerInch(view, font.dotsPerInch);
    QPainter painter(&view);
    painter.setFont(cache_->font);
    painter.setPen(QColor::fromRgb(colour));
    painter.drawText(QPointF(origin.x, origin.y + cache_->metrics->ascent()),
                     QString::fromStdString(utf8));
}

}  // namespace tikora
