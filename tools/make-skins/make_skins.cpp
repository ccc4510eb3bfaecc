// tikora-make-skins: draws the strip and writes the INI file of every skin in skin_table.h.
//
//   tikora-make-skins [--diagram FILE.png] [FOLDER]
//
// FOLDER defaults to Skins/ in the source tree. --diagram also writes the default strip enlarged,
// with its cell borders, for the skin authors' guide.

#include <QCommandLineParser>
#include <QDir>
#include <QFile>
#include <QFontDatabase>
#include <QFontInfo>
#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPolygonF>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "skin_table.h"

namespace tikora::make_skins {
namespace {

constexpr int kAtCell = 10;
constexpr int kSeparatorCell = 11;
constexpr double kSegmentGap = 0.5;  // dark seam between neighbouring segments, pixels

[[noreturn]] void Fail(const QString& message) {
    std::fprintf(stderr, "tikora-make-skins: %s\n", qPrintable(message));
    std::exit(EXIT_FAILURE);
}

QColor ToColor(Rgb c) {
    return QColor(c.r, c.g, c.b);
}

QColor Mix(Rgb base, Rgb ink, int percent) {
    const auto blend = [percent](int from, int to) { return from + (to - from) * percent / 100; };
    return QColor(blend(base.r, ink.r), blend(base.g, ink.g), blend(base.b, ink.b));
}

QString Utf8(const char* text) {
    return QString::fromUtf8(text);
}

QString StripFileName(const SkinRow& row) {
    return Utf8(row.name).toLower() + QStringLiteral(".png");
}

QRect CellRect(const SkinRow& row, int cell) {
    const int width = cell == kSeparatorCell ? row.sepWidth : row.charWidth;
    return {cell * row.charWidth, 0, width, row.charHeight};
}

// The fonts come from their files, so the strips do not depend on what fontconfig prefers.
QFont LoadFont(const char* file, const char* style) {
    const QString path = Utf8(file);
    const int id = QFontDatabase::addApplicationFont(path);
    if (id < 0) {
        Fail(QStringLiteral("cannot load %1 (is its font package installed?)").arg(path));
    }
    const QString family = QFontDatabase::applicationFontFamilies(id).value(0);
    QFont font = QFontDatabase::font(family, Utf8(style), 12);
    if (QFontInfo(font).styleName() != Utf8(style)) {
        Fail(QStringLiteral("%1 has no style \"%2\"").arg(path, Utf8(style)));
    }
    // Full hinting snaps stems to whole pixels; grey antialiasing keeps colour fringes out.
    font.setHintingPreference(QFont::PreferFullHinting);
    font.setStyleStrategy(QFont::NoSubpixelAntialias);
    return font;
}

// One glyph drawn alone on the skin's background, and where its ink fell.
struct Glyph {
    QImage image;
    int baseline = 0;
    QRect ink;

    int Top() const { return ink.top() - baseline; }  // relative to the baseline
    int Bottom() const { return ink.bottom() + 1 - baseline; }
};

QRect InkBounds(const QImage& image, QRgb background) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
        for (int x = 0; x < image.width(); ++x) {
            if (line[x] != background) {
                bounds |= QRect(x, y, 1, 1);
            }
        }
    }
    return bounds;
}

Glyph DrawGlyph(const QFont& font, QChar character, const SkinRow& row) {
    const int size = font.pixelSize() * 3;
    Glyph glyph{QImage(size, size, QImage::Format_RGB32), size * 2 / 3, {}};
    glyph.image.fill(ToColor(row.background));
    QPainter painter(&glyph.image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(ToColor(row.ink));
    painter.drawText(QPoint(size / 3, glyph.baseline), QString(character));
    painter.end();
    glyph.ink = InkBounds(glyph.image, ToColor(row.background).rgb());
    if (glyph.ink.isEmpty()) {
        Fail(QStringLiteral("%1 draws nothing for \"%2\"").arg(font.family(), character));
    }
    return glyph;
}

// The largest pixel size at which every glyph of `text` fits width x height.
QFont FitFont(QFont font, const QString& text, int width, int height, const SkinRow& row) {
    for (int pixels = height * 2; pixels >= 4; --pixels) {
        font.setPixelSize(pixels);
        int top = 0;
        int bottom = 0;
        int widest = 0;
        for (const QChar character : text) {
            const Glyph glyph = DrawGlyph(font, character, row);
            top = std::min(top, glyph.Top());
            bottom = std::max(bottom, glyph.Bottom());
            widest = std::max(widest, glyph.ink.width());
        }
        if (widest <= width && bottom - top <= height) {
            return font;
        }
    }
    Fail(QStringLiteral("no size of %1 fits %2x%3").arg(font.family()).arg(width).arg(height));
}

// Copies a glyph's ink so that its box starts at `topLeft`; the rest of the cell stays background.
void Blit(QPainter& strip, const Glyph& glyph, QPoint topLeft) {
    strip.drawImage(topLeft, glyph.image, glyph.ink);
}

// The rows the digits occupy in a cell; other glyphs centre on the same middle.
struct Band {
    int top;
    int height;

    // Top row for something `other` high centred on the band; a half pixel goes upwards.
    int CentreTop(int other) const { return (2 * top + height - other) / 2; }
};

Band DrawFontDigits(QPainter& strip, const QFont& font, const SkinRow& row) {
    Glyph digits[10];
    int top = 0;
    int bottom = 0;
    for (int n = 0; n < 10; ++n) {
        digits[n] = DrawGlyph(font, QChar(u'0' + n), row);
        top = std::min(top, digits[n].Top());
        bottom = std::max(bottom, digits[n].Bottom());
    }
    // All digits share one baseline, so round and flat tops overshoot as the font intends.
    const Band band{(row.charHeight - (bottom - top)) / 2, bottom - top};
    for (int n = 0; n < 10; ++n) {
        const QRect cell = CellRect(row, n);
        const int x = cell.left() + (cell.width() - digits[n].ink.width()) / 2;
        Blit(strip, digits[n], QPoint(x, band.top + digits[n].Top() - top));
    }
    return band;
}

// Segments a-g as bits 0-6: top, upper right, lower right, bottom, lower left, upper left, middle.
constexpr unsigned kSegmentsOf[10] = {0x3F, 0x06, 0x5B, 0x4F, 0x66, 0x6D, 0x7D, 0x07, 0x7F, 0x6F};

// A segment along the line from `from` to `to`, `thickness` wide, with pointed ends.
QPolygonF Segment(QPointF from, QPointF to, double thickness) {
    const double half = thickness / 2;
    const bool across = from.y() == to.y();
    const QPointF along = across ? QPointF(1, 0) : QPointF(0, 1);
    const QPointF side = across ? QPointF(0, half) : QPointF(half, 0);
    const QPointF start = from + along * kSegmentGap;
    const QPointF end = to - along * kSegmentGap;
    return QPolygonF({start, start + along * half - side, end - along * half - side, end,
                      end - along * half + side, start + along * half + side});
}

Band DrawSegmentDigits(QPainter& strip, const SkinRow& row) {
    const Band band{(row.charHeight - row.glyphHeight) / 2, row.glyphHeight};
    const double half = row.stroke / 2.0;
    const QColor lit = ToColor(row.ink);
    const QColor unlit = Mix(row.background, row.ink, row.ghostPercent);
    strip.setPen(Qt::NoPen);
    for (int n = 0; n < 10; ++n) {
        const QRect cell = CellRect(row, n);
        // The centre lines of the segments: left, right, top, middle and bottom.
        const double left = cell.left() + (cell.width() - row.glyphWidth) / 2 + half;
        const double right = left + row.glyphWidth - row.stroke;
        const double top = band.top + half;
        const double bottom = band.top + band.height - half;
        const double middle = (top + bottom) / 2;
        const QPolygonF segments[7] = {
            Segment({left, top}, {right, top}, row.stroke),
            Segment({right, top}, {right, middle}, row.stroke),
            Segment({right, middle}, {right, bottom}, row.stroke),
            Segment({left, bottom}, {right, bottom}, row.stroke),
            Segment({left, middle}, {left, bottom}, row.stroke),
            Segment({left, top}, {left, middle}, row.stroke),
            Segment({left, middle}, {right, middle}, row.stroke),
        };
        for (int s = 0; s < 7; ++s) {
            const bool on = (kSegmentsOf[n] >> s) & 1U;
            if (on || row.ghostPercent > 0) {
                strip.setBrush(on ? lit : unlit);
                strip.drawPolygon(segments[s]);
            }
        }
    }
    return band;
}

void DrawAt(QPainter& strip, const Band& band, const SkinRow& row) {
    // "@" is wider than a digit, so it has its own font and size, keeping a pixel from its
    // neighbour.
    const QString at = QStringLiteral("@");
    const QFont font = LoadFont(row.atFontFile, row.atFontStyle);
    const Glyph glyph =
        DrawGlyph(FitFont(font, at, row.charWidth - 1, row.glyphHeight, row), at.front(), row);
    const QRect cell = CellRect(row, kAtCell);
    const int x = cell.left() + (cell.width() - glyph.ink.width()) / 2;
    Blit(strip, glyph, QPoint(x, band.CentreTop(glyph.ink.height())));
}

void DrawSeparator(QPainter& strip, const QFont& font, const Band& band, const SkinRow& row) {
    const QRect cell = CellRect(row, kSeparatorCell);
    if (row.dots == Dots::Font) {
        const Glyph glyph = DrawGlyph(font, QString::fromUtf8(row.separator).front(), row);
        const int x = cell.left() + (cell.width() - glyph.ink.width()) / 2;
        Blit(strip, glyph, QPoint(x, band.CentreTop(glyph.ink.height())));
        return;
    }
    // Square dots at about a third and two thirds of the digit height, mirrored about the middle.
    const int size = row.stroke;
    const int x = cell.left() + (cell.width() - size) / 2;
    const int upper = band.top + (band.height * 3 / 10) - size / 2;
    const int lower = 2 * band.top + band.height - upper - size;
    strip.fillRect(QRect(x, upper, size, size), ToColor(row.ink));
    strip.fillRect(QRect(x, lower, size, size), ToColor(row.ink));
}

QImage DrawStrip(const SkinRow& row) {
    QImage strip(11 * row.charWidth + row.sepWidth, row.charHeight, QImage::Format_RGB32);
    strip.fill(ToColor(row.background));
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    QFont font = LoadFont(row.fontFile, row.fontStyle);
    Band band{};
    if (row.digits == Digits::Font) {
        font = FitFont(font, QStringLiteral("0123456789"), row.glyphWidth, row.glyphHeight, row);
        band = DrawFontDigits(painter, font, row);
    } else {
        font.setPixelSize(row.glyphHeight);
        band = DrawSegmentDigits(painter, row);
    }
    DrawAt(painter, band, row);
    DrawSeparator(painter, font, band, row);
    return strip;
}

QString ColourValue(Rgb c) {
    return QStringLiteral("%1,%2,%3").arg(c.r).arg(c.g).arg(c.b);
}

QByteArray IniText(const SkinRow& row) {
    const QString text =
        QStringLiteral(
            "[General]\nDisplayImage=%1\nSeparator=%2\n\n"
            "[Image Files]\nMain=%3\n\n"
            "[Image Info]\nCharWidth=%4\nCharHeight=%5\nSepWidth=%6\n\n"
            "[Text]\nTextColor=%7\nBgColor=%8\nFont=%9\nFontSize=%10\n")
            .arg(row.displayImage ? QStringLiteral("True") : QStringLiteral("False"),
                 Utf8(row.separator), StripFileName(row))
            .arg(row.charWidth)
            .arg(row.charHeight)
            .arg(row.sepWidth)
            .arg(ColourValue(row.ink), ColourValue(row.background), Utf8(row.textFont))
            .arg(row.textPointSize);
    return text.toUtf8();
}

void WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(bytes) != bytes.size()) {
        Fail(QStringLiteral("cannot write %1").arg(path));
    }
}

void WriteSkin(const QDir& target, const SkinRow& row) {
    const QString name = Utf8(row.name);
    if (!target.mkpath(name)) {
        Fail(QStringLiteral("cannot create %1").arg(target.filePath(name)));
    }
    const QDir folder(target.filePath(name));
    const QImage strip = DrawStrip(row);
    if (!strip.save(folder.filePath(StripFileName(row)), "PNG")) {
        Fail(QStringLiteral("cannot write %1").arg(folder.filePath(StripFileName(row))));
    }
    WriteFile(folder.filePath(name + QStringLiteral(".ini")), IniText(row));
    std::printf("%s\n", qPrintable(folder.filePath(name + QStringLiteral(".ini"))));
}

// The first skin's strip, enlarged, with a line between cells in the ink colour dimmed.
void WriteDiagram(const QString& path, const SkinRow& row) {
    constexpr int kScale = 6;
    const QImage strip = DrawStrip(row);
    QImage big = strip.scaled(strip.size() * kScale);  // by default pixels stay sharp squares
    QPainter painter(&big);
    painter.setPen(Mix(row.background, row.ink, 45));
    for (int cell = 1; cell <= kSeparatorCell; ++cell) {
        const int x = CellRect(row, cell).left() * kScale;
        painter.drawLine(x, 0, x, big.height() - 1);
    }
    painter.end();
    if (!big.save(path, "PNG")) {
        Fail(QStringLiteral("cannot write %1").arg(path));
    }
}

}  // namespace
}  // namespace tikora::make_skins

int main(int argc, char** argv) {
    using namespace tikora::make_skins;
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QGuiApplication app(argc, argv);
    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Draws and writes Tikora's shipped skins."));
    parser.addHelpOption();
    const QCommandLineOption diagram(QStringLiteral("diagram"),
                                     QStringLiteral("Also write the enlarged default strip."),
                                     QStringLiteral("FILE.png"));
    parser.addOption(diagram);
    parser.addPositionalArgument(
        QStringLiteral("FOLDER"),
        QStringLiteral("Where the skins go (default: Skins/ in the source tree)."));
    parser.process(app);

    const QStringList folders = parser.positionalArguments();
    const QDir target(folders.isEmpty() ? QStringLiteral(TIKORA_SOURCE_DIR "/Skins")
                                        : folders.front());
    for (const SkinRow& row : kSkins) {
        WriteSkin(target, row);
    }
    if (parser.isSet(diagram)) {
        WriteDiagram(parser.value(diagram), kSkins[0]);
    }
    return EXIT_SUCCESS;
}
