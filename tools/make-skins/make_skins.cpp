// SPDX-License-Identifier: MIT
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
#include <utility>
#include <vector>

#include "clock/glyph_layout.h"
#include "skin_table.h"

namespace tikora::make_skins {
namespace {

constexpr int kAtCell = 10;
constexpr int kSeparatorCell = 11;
constexpr double kSegmentGap = 0.5;  // dark seam between neighbouring segments, pixels
constexpr int kHalfInkPercent = 50;  // "+" in a row's pixel "@"
constexpr const char* kFontFolder = "/usr/share/fonts/truetype/dejavu/";

// The clock slot every strip is drawn for: the window a 22-pixel panel gives the clock.
constexpr int kSlotWidth = 60;
constexpr int kSlotHeight = 22;

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
    const QString path = Utf8(kFontFolder) + Utf8(file);
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

// The glyph drawn with its origin `shift` pixels to the right of a whole pixel.
Glyph DrawGlyphAt(const QFont& font, QChar character, const SkinRow& row, double shift) {
    const int size = font.pixelSize() * 3;
    Glyph glyph{QImage(size, size, QImage::Format_RGB32), size * 2 / 3, {}};
    glyph.image.fill(ToColor(row.background));
    QPainter painter(&glyph.image);
    painter.setRenderHint(QPainter::TextAntialiasing);
    painter.setFont(font);
    painter.setPen(ToColor(row.ink));
    painter.drawText(QPointF(size / 3 + shift, glyph.baseline), QString(character));
    painter.end();
    glyph.ink = InkBounds(glyph.image, ToColor(row.background).rgb());
    if (glyph.ink.isEmpty()) {
        Fail(QStringLiteral("%1 draws nothing for \"%2\"").arg(font.family(), character));
    }
    return glyph;
}

// How much of a glyph is neither ink nor background: the sum over its pixels of c x (1 - c),
// c being how far each pixel is from the background towards the ink.
double Greyness(const Glyph& glyph, const SkinRow& row) {
    const double towards[3] = {static_cast<double>(row.ink.r - row.background.r),
                               static_cast<double>(row.ink.g - row.background.g),
                               static_cast<double>(row.ink.b - row.background.b)};
    const double length =
        towards[0] * towards[0] + towards[1] * towards[1] + towards[2] * towards[2];
    double sum = 0;
    for (int y = glyph.ink.top(); y <= glyph.ink.bottom(); ++y) {
        for (int x = glyph.ink.left(); x <= glyph.ink.right(); ++x) {
            const QRgb pixel = glyph.image.pixel(x, y);
            const double c = ((qRed(pixel) - row.background.r) * towards[0] +
                              (qGreen(pixel) - row.background.g) * towards[1] +
                              (qBlue(pixel) - row.background.b) * towards[2]) /
                             length;
            sum += c * (1 - c);
        }
    }
    return sum;
}

// The glyph drawn at the fraction of a pixel that leaves its upright stems sharpest: the font's
// hinting fits the stems' height to the grid, this fits their place across it.
Glyph DrawGlyph(const QFont& font, QChar character, const SkinRow& row) {
    Glyph best = DrawGlyphAt(font, character, row, 0);
    double bestGreyness = Greyness(best, row);
    for (const double shift : {0.25, 0.5, 0.75}) {
        Glyph glyph = DrawGlyphAt(font, character, row, shift);
        const double greyness = Greyness(glyph, row);
        if (greyness < bestGreyness) {
            best = std::move(glyph);
            bestGreyness = greyness;
        }
    }
    return best;
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

// The band `height` rows high whose middle falls on the middle of the clock slot. The clock puts
// a cell's top where the glyph layout says, which is not the middle (it lifts the cells by a
// pixel), so the band sits as far below the cell's middle as that takes.
Band BandFor(const SkinRow& row, int height) {
    const GlyphMetrics metrics{static_cast<float>(row.charWidth),
                               static_cast<float>(row.charHeight),
                               static_cast<float>(row.sepWidth)};
    const int cellTop = PlaceGlyph(U'0', 0, false, metrics, kSlotWidth, kSlotHeight)->destinationY;
    const Band band{(kSlotHeight - 2 * cellTop - height) / 2, height};
    if (band.top < 0 || band.top + band.height > row.charHeight) {
        Fail(QStringLiteral("%1: %2 rows of digits do not fit a cell %3 high")
                 .arg(Utf8(row.name))
                 .arg(height)
                 .arg(row.charHeight));
    }
    return band;
}

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
    const Band band = BandFor(row, bottom - top);
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

// The centre lines of a segment glyph in `cell`: the strokes run along them.
struct SegmentFrame {
    double left;
    double right;
    double top;
    double middle;
    double bottom;

    SegmentFrame(const QRect& cell, const Band& band, const SkinRow& row)
        : left(cell.left() + (cell.width() - row.glyphWidth) / 2 + row.stroke / 2.0),
          right(left + row.glyphWidth - row.stroke),
          top(band.top + row.stroke / 2.0),
          middle(band.top + band.height / 2.0),
          bottom(band.top + band.height - row.stroke / 2.0) {}

    double Centre() const { return (left + right) / 2; }
};

// The seven segments a-g: top, upper right, lower right, bottom, lower left, upper left, middle.
std::vector<QPolygonF> SevenSegments(const SegmentFrame& f, double stroke) {
    return {Segment({f.left, f.top}, {f.right, f.top}, stroke),
            Segment({f.right, f.top}, {f.right, f.middle}, stroke),
            Segment({f.right, f.middle}, {f.right, f.bottom}, stroke),
            Segment({f.left, f.bottom}, {f.right, f.bottom}, stroke),
            Segment({f.left, f.middle}, {f.left, f.bottom}, stroke),
            Segment({f.left, f.top}, {f.left, f.middle}, stroke),
            Segment({f.left, f.middle}, {f.right, f.middle}, stroke)};
}

// Bit n of `lit` lights segment n; the others show as ghosts, if the row has them.
void DrawSegments(QPainter& strip, const std::vector<QPolygonF>& segments, unsigned lit,
                  const SkinRow& row) {
    strip.setPen(Qt::NoPen);
    for (std::size_t s = 0; s < segments.size(); ++s) {
        const bool on = (lit >> s) & 1U;
        if (on || row.ghostPercent > 0) {
            strip.setBrush(on ? ToColor(row.ink) : Mix(row.background, row.ink, row.ghostPercent));
            strip.drawPolygon(segments[s]);
        }
    }
}

Band DrawSegmentDigits(QPainter& strip, const SkinRow& row) {
    const Band band = BandFor(row, row.glyphHeight);
    for (int n = 0; n < 10; ++n) {
        const QRect cell = CellRect(row, n);
        DrawSegments(strip, SevenSegments(SegmentFrame(cell, band, row), row.stroke),
                     kSegmentsOf[n], row);
    }
    return band;
}

// "@" as a fourteen-segment display shows it: the frame open at the lower right, and a stem from
// the top to the middle that turns right into the frame, as the "a" inside an "@" does. The
// halves of the middle and the lower right, which it leaves dark, keep their ghosts.
void DrawSegmentAt(QPainter& strip, const Band& band, const SkinRow& row) {
    const SegmentFrame f(CellRect(row, kAtCell), band, row);
    const double centre = f.Centre();
    const double stroke = row.stroke;
    const std::vector<QPolygonF> segments = {
        Segment({f.left, f.top}, {f.right, f.top}, stroke),
        Segment({f.right, f.top}, {f.right, f.middle}, stroke),
        Segment({f.left, f.bottom}, {f.right, f.bottom}, stroke),
        Segment({f.left, f.middle}, {f.left, f.bottom}, stroke),
        Segment({f.left, f.top}, {f.left, f.middle}, stroke),
        Segment({centre, f.top}, {centre, f.middle}, stroke),
        Segment({centre, f.middle}, {f.right, f.middle}, stroke),
        Segment({f.right, f.middle}, {f.right, f.bottom}, stroke),
        Segment({f.left, f.middle}, {centre, f.middle}, stroke),
    };
    DrawSegments(strip, segments, 0x7F, row);
}

// "@" is wider than a digit, and a font's "@" shrunk into a digit cell comes out thin and grey;
// the row draws its own on the pixel grid instead, centred on the digits.
void DrawPixelAt(QPainter& strip, const Band& band, const SkinRow& row) {
    const QStringList lines = Utf8(row.atPixels).split(u'|');
    const int width = static_cast<int>(lines.front().size());
    const int height = static_cast<int>(lines.size());
    const QRect cell = CellRect(row, kAtCell);
    const QPoint corner(cell.left() + (cell.width() - width) / 2, band.CentreTop(height));
    for (int y = 0; y < height; ++y) {
        if (lines[y].size() != width) {
            Fail(QStringLiteral("%1: the rows of its \"@\" differ in length").arg(Utf8(row.name)));
        }
        for (int x = 0; x < width; ++x) {
            const QChar pixel = lines[y][x];
            if (pixel != u'.') {
                const int percent = pixel == u'#' ? 100 : kHalfInkPercent;
                strip.fillRect(QRect(corner + QPoint(x, y), QSize(1, 1)),
                               Mix(row.background, row.ink, percent));
            }
        }
    }
}

// Two dots at about a third and two thirds of the digits' height, mirrored about their middle:
// squares on the pixel grid, or round ones a pixel larger whose corners are left half-inked.
void DrawSeparator(QPainter& strip, const Band& band, const SkinRow& row) {
    const QRect cell = CellRect(row, kSeparatorCell);
    const int size = row.dots == Dots::Round ? row.stroke + 1 : row.stroke;
    const int x = cell.left() + (cell.width() - size) / 2;
    const int upper = band.top + (band.height * 3 / 10) - size / 2;
    const int lower = 2 * band.top + band.height - upper - size;
    strip.setPen(Qt::NoPen);
    strip.setBrush(ToColor(row.ink));
    for (const int y : {upper, lower}) {
        if (row.dots == Dots::Round) {
            strip.drawEllipse(QRectF(x, y, size, size));
        } else {
            strip.fillRect(QRect(x, y, size, size), ToColor(row.ink));
        }
    }
}

QImage DrawStrip(const SkinRow& row) {
    QImage strip(11 * row.charWidth + row.sepWidth, row.charHeight, QImage::Format_RGB32);
    strip.fill(ToColor(row.background));
    QPainter painter(&strip);
    painter.setRenderHint(QPainter::Antialiasing);
    if (row.digits == Digits::Font) {
        const QFont font =
            FitFont(LoadFont(row.fontFile, row.fontStyle), QStringLiteral("0123456789"),
                    row.glyphWidth, row.glyphHeight, row);
        const Band band = DrawFontDigits(painter, font, row);
        DrawPixelAt(painter, band, row);
        DrawSeparator(painter, band, row);
    } else {
        const Band band = DrawSegmentDigits(painter, row);
        DrawSegmentAt(painter, band, row);
        DrawSeparator(painter, band, row);
    }
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
