// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "platform/text_painter.h"

namespace tikora {
namespace {

constexpr Argb kWhite = 0xFFFFFFFFu;
constexpr Argb kRed = 0xFFFF0000u;
const FontSpec kFont{"Tahoma", 28, 96};

TEST(TextPainter, DrawsInTheColourWithGreyEdgesOnlyInsideTheArea) {
    TextPainter painter;
    PixelBuffer whole(120, 60, kWhite);
    painter.Draw(whole, "8888", kFont, kRed, {5, 5}, {0, 0, 120, 60});
    PixelBuffer cut(120, 60, kWhite);
    const PixelRect area{30, -10, 100, 40};  // past the top and right edges
    painter.Draw(cut, "8888", kFont, kRed, {5, 5}, area);
    int red = 0;
    for (int y = 0; y < cut.Height(); ++y) {
        for (int x = 0; x < cut.Width(); ++x) {
            const Argb pixel = cut.Pixel(x, y);
            const bool inside = x >= area.x && y < area.y + area.height;
            ASSERT_EQ(pixel, inside ? whole.Pixel(x, y) : kWhite) << x << "," << y;
            // Opaque, and between white and red: grey smoothing, not coloured subpixels.
            ASSERT_EQ(pixel & 0xFFFF0000u, 0xFFFF0000u) << x << "," << y;
            ASSERT_EQ((pixel >> 8) & 0xFFu, pixel & 0xFFu) << x << "," << y;
            red += pixel == kRed;
        }
    }
    EXPECT_GT(red, 10);
}

TEST(TextPainter, WidthGrowsWithTheTextAtOneHeightAndTheFontFollowsItsSizeAndResolution) {
    TextPainter painter;
    const TextExtent none = painter.Measure("", kFont);
    const TextExtent one = painter.Measure("1", kFont);
    const TextExtent two = painter.Measure("11", kFont);
    const TextExtent five = painter.Measure("12:34", kFont);
    EXPECT_EQ(none.width, 0);
    EXPECT_GT(two.width, one.width);
    EXPECT_GT(five.width, two.width);
    EXPECT_GE(one.height, 28 * 96 / 72);
    EXPECT_EQ(none.height, one.height);
    EXPECT_EQ(five.height, one.height);
    const FontSpec twiceTheDots{"Tahoma", 28, 192};
    EXPECT_NEAR(painter.Measure("12:34", twiceTheDots).width, 2 * five.width, 4);
    EXPECT_LT(painter.Measure("12:34", FontSpec{"Tahoma", 10, 96}).width, five.width);
    EXPECT_EQ(painter.Measure("12:34", kFont).width, five.width) << "the first font again";
}

}  // namespace
}  // namespace tikora
