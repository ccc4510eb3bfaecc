// SPDX-License-Identifier: MIT
#include "clock/face_layout.h"

#include <algorithm>
#include <cmath>

#include "clock/clock_text.h"
#include "clock/whole_scale.h"
#include "dock/dock_layout.h"
#include "shared/numeric.h"
#include "shared/utf8.h"

namespace tikora {
namespace {

constexpr int kAtCell = 10;
constexpr int kLargestFactor = 16;
constexpr int kLargestPixelSize = 512;

// The compact face's rows, top to bottom; each character is a digit or "@".
using Rows = std::vector<std::string>;

// Hours above minutes; the beat's "@" above its digits, or before them.
std::vector<Rows> CompactArrangements(const std::string& shown, bool beat) {
    if (beat) {
        // Above first: where both come out the same size, it leaves room at the sides.
        return {{shown.substr(0, 1), shown.substr(1)}, {shown}};
    }
    // Two digits, the separator (one character, of any length in UTF-8), two digits.
    if (shown.size() < 4) {
        return {{shown}};
    }
    return {{shown.substr(0, 2), shown.substr(shown.size() - 2)}};
}

// The same rows with every digit a zero: what sizes are chosen for, so that the size stays when
// the time moves on.
Rows Template(Rows rows) {
    for (std::string& row : rows) {
        std::replace_if(
            row.begin(), row.end(), [](char c) { return c >= '1' && c <= '9'; }, '0');
    }
    return rows;
}

// The smallest whole factor at which strip cells are no smaller than the rest of the screen: the
// ratio's whole part (at 250 % the one line may still come out 2 x 2 where 3 x 3 does not fit).
int LeastFactor(double ratio) {
    return ratio >= 1 ? static_cast<int>(std::min(std::floor(ratio), double{kLargestFactor})) : 1;
}

FontSpec ScaledFont(const FontSpec& font, double ratio) {
    FontSpec scaled = font;
    scaled.dotsPerInch = RoundHalfEven(font.dotsPerInch * std::max(ratio, 1.0));
    return scaled;
}

// The design's face: its fixed cell grid in the window's own pixels, enlarged by the whole factor
// that fits and centred, or its text drawn at the screen's resolution.
FaceFrame OneLineFace(const TickReading& reading, const FaceSkin& skin, const FaceSlot& slot,
                      const MeasureInk& measure) {
    FaceFrame frame;
    const std::string shown = ShownText(reading, skin.face);
    const double ratio = slot.ratio;
    if (!skin.face.displayImage) {
        const FontSpec font = ScaledFont(skin.font, ratio);
        const TextInk size = measure(shown, font);
        const TextPlacement place = PlaceText(slot.width, slot.height, size.width, size.height);
        frame.lines.push_back({shown, font, place.origin, place.area});
        return frame;
    }
    const int width = static_cast<int>(slot.width / ratio);
    const int height = static_cast<int>(slot.height / ratio);
    const GlyphMetrics& cells = skin.face.metrics;
    const int factor = WholeScaleFactor(
        ratio, std::min(width, static_cast<int>(std::ceil(WidestGlyphBlock(cells)))),
        std::min(height, RoundHalfEven(cells.charHeight)), slot.width, slot.height);
    const int left = (slot.width - width * factor) / 2;
    const int top = (slot.height - height * factor) / 2;
    std::int32_t position = 0;
    for (const char32_t character : DecodeUtf8(shown)) {
        if (const auto g =
                PlaceGlyph(character, position++, skin.face.beatTime, cells, width, height)) {
            frame.cells.push_back({g->sourceX, 0, g->width, g->height,
                                   left + g->destinationX * factor, top + g->destinationY * factor,
                                   factor});
        }
    }
    return frame;
}

// The largest whole factor at which the strip's cells, cut to the rows their ink covers, show
// `rows` in the slot with a blank row between them; 0 when not even their own size fits.
struct CellFit {
    int factor = 0;
    int width = 0;   // of the widest row, in the strip's pixels
    int height = 0;  // of all rows with the blank rows between
};

CellFit FitCells(const Rows& rows, const FaceSkin& skin, const InkRows& ink, const FaceSlot& slot) {
    const int cellWidth = RoundHalfEven(skin.face.metrics.charWidth);
    CellFit fit;
    for (const std::string& row : rows) {
        fit.width = std::max(fit.width, static_cast<int>(row.size()) * cellWidth);
    }
    fit.height = static_cast<int>(rows.size()) * (ink.Height() + 1) - 1;
    if (fit.width > 0 && fit.height > 0) {
        fit.factor = std::min({kLargestFactor, slot.width / fit.width, slot.height / fit.height});
    }
    return fit;
}

void PlaceCells(FaceFrame& frame, const Rows& rows, const FaceSkin& skin, const InkRows& ink,
                const CellFit& fit, const FaceSlot& slot) {
    const double cw = skin.face.metrics.charWidth;
    const int cellWidth = RoundHalfEven(cw);
    const int f = fit.factor;
    int y = (slot.height - fit.height * f) / 2;
    for (const std::string& row : rows) {
        int x = (slot.width - static_cast<int>(row.size()) * cellWidth * f) / 2;
        for (const char c : row) {
            const int cell = c == '@' ? kAtCell : c - '0';
            frame.cells.push_back(
                {RoundHalfEven(cell * cw), ink.top, cellWidth, ink.Height(), x, y, f});
            x += cellWidth * f;
        }
        y += (ink.Height() + 1) * f;
    }
}

// The rows of text at `pixelSize` pixels: their template's ink heights and widest advance.
struct TextFit {
    std::vector<TextInk> inks;
    double width = 0;
    int height = 0;
    int gap = 0;
};

FontSpec AtPixelSize(const FontSpec& font, int pixelSize) {
    return FontSpec{font.name, static_cast<float>(pixelSize), 72};
}

TextFit MeasureRows(const Rows& rows, const FontSpec& font, const MeasureInk& measure) {
    TextFit fit;
    fit.gap = std::max(1, RoundHalfEven(font.pointSize / 10));
    for (const std::string& row : rows) {
        fit.inks.push_back(measure(row, font));
        fit.width = std::max(fit.width, fit.inks.back().width);
        fit.height += fit.inks.back().ink.Height();
    }
    fit.height += fit.gap * static_cast<int>(rows.size() - 1);
    return fit;
}

bool Fits(const TextFit& fit, const FaceSlot& slot) {
    return fit.width <= slot.width && fit.height <= slot.height;
}

// The largest pixel size (at least 1) at which the template rows fit the slot.
int LargestFittingSize(const Rows& rows, const FontSpec& font, const FaceSlot& slot,
                       const MeasureInk& measure) {
    int fits = 1;
    int fails = std::min(kLargestPixelSize, 2 * std::max(slot.width, slot.height) + 1);
    while (fails - fits > 1) {
        const int middle = (fits + fails) / 2;
        (Fits(MeasureRows(rows, AtPixelSize(font, middle), measure), slot) ? fits : fails) = middle;
    }
    return fits;
}

void PlaceTextRows(FaceFrame& frame, const Rows& rows, const Rows& shape, const FontSpec& font,
                   const FaceSlot& slot, const MeasureInk& measure) {
    const TextFit fit = MeasureRows(shape, font, measure);
    int y = (slot.height - fit.height) / 2;
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const double advance = measure(rows[i], font).width;
        const Point origin{RoundHalfEven((slot.width - advance) / 2), y - fit.inks[i].ink.top};
        frame.lines.push_back({rows[i], font, origin, {0, 0, slot.width, slot.height}});
        y += fit.inks[i].ink.Height() + fit.gap;
    }
}

FaceFrame CompactFace(const TickReading& reading, const FaceSkin& skin, const FaceSlot& slot,
                      const MeasureInk& measure) {
    FaceFrame frame;
    frame.kind = FaceKind::Compact;
    const bool beat = skin.face.beatTime;
    const std::vector<Rows> arrangements = CompactArrangements(ShownText(reading, skin.face), beat);
    if (skin.face.displayImage) {
        InkRows ink = beat ? skin.atInk : skin.digitInk;
        if (ink.Height() <= 0) {
            ink = {0, RoundHalfEven(skin.face.metrics.charHeight)};
        }
        const Rows* best = nullptr;
        CellFit bestFit;
        for (const Rows& rows : arrangements) {
            const CellFit fit = FitCells(rows, skin, ink, slot);
            if (fit.factor > bestFit.factor) {
                best = &rows;
                bestFit = fit;
            }
        }
        // Cells smaller than the screen's own scale would make them are no better than the font.
        if (best != nullptr && bestFit.factor >= LeastFactor(slot.ratio)) {
            PlaceCells(frame, *best, skin, ink, bestFit, slot);
            return frame;
        }
    }
    const Rows* best = nullptr;
    int bestSize = 0;
    for (const Rows& rows : arrangements) {
        const int size = LargestFittingSize(Template(rows), skin.font, slot, measure);
        if (size > bestSize) {
            best = &rows;
            bestSize = size;
        }
    }
    PlaceTextRows(frame, *best, Template(*best), AtPixelSize(skin.font, bestSize), slot, measure);
    return frame;
}

}  // namespace

InkRows RowsWithInk(const PixelBuffer& picture, const PixelRect& area, Argb background) {
    const PixelRect part = ClipToBuffer(area, picture.Width(), picture.Height());
    InkRows ink{part.y + part.height, part.y};
    for (int y = part.y; y < part.y + part.height; ++y) {
        for (int x = part.x; x < part.x + part.width; ++x) {
            if (picture.Pixel(x, y) != background) {
                ink = {std::min(ink.top, y), y + 1};
                break;
            }
        }
    }
    return ink.Height() > 0 ? ink : InkRows{};
}

int OneLineWidth(const FaceSkin& skin, double ratio, const MeasureInk& measure) {
    if (skin.face.displayImage) {
        return static_cast<int>(std::ceil(WidestGlyphBlock(skin.face.metrics))) *
               LeastFactor(ratio);
    }
    const FontSpec font = ScaledFont(skin.font, ratio);
    return static_cast<int>(
        std::ceil(std::max(measure(TimeText(0, 0, skin.face.separator), font).width,
                           measure(BeatText(0), font).width)));
}

FaceFrame ComposeFace(const TickReading& reading, const FaceSkin& skin, const FaceSlot& room,
                      const MeasureInk& measure) {
    // A ratio below 1 or beyond any screen (or not a number) is taken as the nearest sane one.
    const FaceSlot slot{std::max(room.width, 0), std::max(room.height, 0),
                        room.ratio >= 1 ? std::min(room.ratio, double{kLargestFactor}) : 1.0};
    if (slot.width >= OneLineWidth(skin, slot.ratio, measure)) {
        return OneLineFace(reading, skin, slot, measure);
    }
    return CompactFace(reading, skin, slot, measure);
}

}  // namespace tikora
