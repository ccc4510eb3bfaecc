// SPDX-License-Identifier: MIT
#include "clock/face_layout.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

namespace tikora {
namespace {

// A font whose digits are 0.6 of its pixel size wide and whose ink covers 0.7 of it below a
// quarter of it: enough of a font for the rules, the same on every machine.
TextInk FakeMeasure(const std::string& text, const FontSpec& font) {
    const double pixels = font.pointSize * font.dotsPerInch / 72.0;
    const int top = static_cast<int>(std::lround(pixels / 4));
    return {0.6 * pixels * static_cast<double>(text.size()),
            1.2 * pixels,
            {top, top + static_cast<int>(std::lround(0.7 * pixels))}};
}

TickReading At(int hour, int minute) {
    TickReading reading;
    reading.now.hour = hour;
    reading.now.minute = minute;
    return reading;
}

FaceSkin Skin(bool image, bool beat) {
    FaceSkin skin;
    skin.face.beatTime = beat;
    skin.face.displayImage = image;
    skin.face.separator = ":";
    skin.face.metrics = {11, 16, 6};
    skin.font = {"Sans", 11, 96};
    skin.digitInk = {3, 14};
    skin.atInk = {3, 15};
    return skin;
}

// The ink's box: the cells' pixels, or the text lines' ink as the fake font puts it.
PixelRect InkBox(const FaceFrame& frame) {
    PixelRect box;
    for (const CellCopy& c : frame.cells) {
        box = Union(box, {c.destinationX, c.destinationY, c.width * c.factor, c.height * c.factor});
    }
    for (const TextLine& line : frame.lines) {
        const TextInk ink = FakeMeasure(line.text, line.font);
        box = Union(box, {line.origin.x, line.origin.y + ink.ink.top,
                          static_cast<int>(std::lround(ink.width)), ink.ink.Height()});
    }
    return box;
}

TEST(ComposeFace, EachSlotGetsTheFaceThatFitsWholeAndCentred) {
    struct Case {
        const char* name;
        bool image, beat;
        FaceSlot slot;
        FaceKind kind;
        int factor;  // of the cells; 0: drawn in the skin's font
        int lines;   // of text (or of cells, for a strip)
    };
    const Case cases[] = {
        {"strip one line in its 60 x 22 window", true, false, {60, 22, 1}, FaceKind::OneLine, 1, 1},
        {"strip one line doubled at 2x", true, false, {120, 44, 2}, FaceKind::OneLine, 2, 1},
        {"strip too tall for 22: the font", true, false, {22, 22, 1}, FaceKind::Compact, 0, 2},
        {"strip at its own size in 24", true, false, {24, 24, 1}, FaceKind::Compact, 1, 2},
        {"strip doubled in 48", true, false, {48, 48, 1}, FaceKind::Compact, 2, 2},
        {"strip doubled in 48 at 2x", true, false, {48, 48, 2}, FaceKind::Compact, 2, 2},
        {"strip below 2x scale: the font", true, false, {32, 32, 2}, FaceKind::Compact, 0, 2},
        {"strip beat, @ above, in 48", true, true, {48, 48, 1}, FaceKind::Compact, 1, 2},
        {"strip beat, @ before, in 48 x 20", true, true, {48, 20, 1}, FaceKind::Compact, 1, 1},
        {"strip beat in 16: the font", true, true, {16, 16, 1}, FaceKind::Compact, 0, 2},
        {"text one line", false, false, {80, 24, 1}, FaceKind::OneLine, 0, 1},
        {"text in 16", false, false, {16, 16, 1}, FaceKind::Compact, 0, 2},
        {"text in 22", false, false, {22, 22, 1}, FaceKind::Compact, 0, 2},
        {"text in 48 at 2x", false, false, {48, 48, 2}, FaceKind::Compact, 0, 2},
        {"text beat in 20", false, true, {20, 20, 1}, FaceKind::Compact, 0, 2},
        {"text beat in 32", false, true, {32, 32, 1}, FaceKind::Compact, 0, 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const FaceFrame frame = ComposeFace(At(12, 34), Skin(c.image, c.beat), c.slot, FakeMeasure);
        EXPECT_EQ(frame.kind, c.kind);
        const int factor = frame.cells.empty() ? 0 : frame.cells.front().factor;
        EXPECT_EQ(factor, c.factor);
        std::vector<int> rows;
        for (const CellCopy& cell : frame.cells) {
            rows.push_back(cell.destinationY);
        }
        for (const TextLine& line : frame.lines) {
            rows.push_back(line.origin.y);
        }
        std::sort(rows.begin(), rows.end());
        EXPECT_EQ(std::unique(rows.begin(), rows.end()) - rows.begin(), c.lines);
        const PixelRect ink = InkBox(frame);
        if (c.kind == FaceKind::Compact) {
            EXPECT_EQ(Union(ink, {0, 0, c.slot.width, c.slot.height}),
                      (PixelRect{0, 0, c.slot.width, c.slot.height}));
            // Text is sized for zeros and centred on the digits it shows: within a pixel.
            EXPECT_LE(std::abs(2 * ink.y + ink.height - c.slot.height), 2) << ink.y;
            EXPECT_LE(std::abs(2 * ink.x + ink.width - c.slot.width), 2) << ink.x;
            // Whole digits a person can read: at least 6 device pixels high.
            EXPECT_GE(ink.height, c.lines * 7 - 1);
        }
    }
}

// Up to the one-line face, which takes over as soon as it fits (here from 44 pixels on).
TEST(ComposeFace, ALargerSlotNeverGetsASmallerCompactFace) {
    for (const bool image : {true, false}) {
        int last = 0;
        for (const int side : {16, 20, 22, 24, 32, 43}) {
            const FaceFrame frame =
                ComposeFace(At(23, 59), Skin(image, false), {side, side, 1}, FakeMeasure);
            EXPECT_EQ(frame.kind, FaceKind::Compact);
            const PixelRect ink = InkBox(frame);
            EXPECT_GE(ink.height, last) << side;
            last = ink.height;
        }
    }
}

TEST(RowsWithInk, FindsTheRowsThatDifferFromTheBackground) {
    PixelBuffer picture(4, 6, kOpaque);
    EXPECT_EQ(RowsWithInk(picture, {0, 0, 4, 6}, kOpaque).Height(), 0);
    picture.FillRect(2, 1, 1, 3, 0xFFFFFFFFu);
    const InkRows ink = RowsWithInk(picture, {0, 0, 4, 6}, kOpaque);
    EXPECT_EQ(ink.top, 1);
    EXPECT_EQ(ink.bottom, 4);
    EXPECT_EQ(RowsWithInk(picture, {0, 0, 2, 6}, kOpaque).Height(), 0);
}

}  // namespace
}  // namespace tikora
