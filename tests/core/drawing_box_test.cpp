// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <climits>
#include <utility>

#include "clock/picture_box.h"
#include "clock/pixel_buffer.h"

namespace tikora {
namespace {

constexpr Argb kBlack = 0xFF000000u;

int PixelsOtherThan(const PixelBuffer& buffer, Argb colour) {
    int others = 0;
    for (int y = 0; y < buffer.Height(); ++y) {
        for (int x = 0; x < buffer.Width(); ++x) {
            others += buffer.Pixel(x, y) != colour;
        }
    }
    return others;
}

// From a 10 x 4 source whose every pixel tells where it came from, into an 8 x 8 black target:
// what lies inside both buffers is copied to its place, made opaque, and nothing else. Sizes past
// what a buffer may have are cut.
TEST(BlockCopy, CopiesWhatLiesInsideBothBuffers) {
    PixelBuffer source(10, 4);
    for (int i = 0; i < 40; ++i) {
        source.Data()[i] = static_cast<Argb>(i + 1);  // no alpha
    }
    // clang-format off
    for (const auto& [dx, dy, width, height, sx, sy, changed] :
         {std::array{2, 3, 3, 2, 5, 1, 6}, {-2, 0, 4, 1, 0, 0, 2}, {6, 0, 4, 1, 0, 0, 2},
          {0, 0, 2, 8, 0, 2, 4}, {0, 0, 4, 1, -3, 0, 1}, {0, 0, 4, -4, 0, 0, 0},
          {30000, -30000, 4, 4, 0, 0, 0}, {0, 0, INT_MAX, INT_MAX, 0, 0, 32}}) {
        // clang-format on
        PixelBuffer target(8, 8, kBlack);
        BlockCopy(target, dx, dy, width, height, source, sx, sy);
        EXPECT_EQ(PixelsOtherThan(target, kBlack), changed) << dx << "," << dy;
        const int x = std::max({0, dx, dx - sx}), y = std::max({0, dy, dy - sy});
        if (changed > 0) {
            EXPECT_EQ(target.Pixel(x, y), kOpaque | source.Pixel(sx + x - dx, sy + y - dy));
        }
    }
    EXPECT_EQ(PixelBuffer(100000, 5).Width(), PixelBuffer::kMaxSide);
    EXPECT_EQ(ClipToBuffer({-3, -2, 10, 5}, 6, 4), (PixelRect{0, 0, 6, 3}));
    EXPECT_TRUE(ClipToBuffer({INT_MAX - 1, 0, INT_MAX, 1}, 6, 4).Empty());
}

// Clear puts back only what was marked as drawn since the last one, and nothing writes where
// nothing was uncovered; yet every pixel, once uncovered, is in the back colour, also after a new
// colour or a new buffer.
TEST(DrawingBox, ClearLeavesEveryPixelInTheBackColour) {
    DrawingBox box;
    box.SetSize(100, 60);
    for (const auto& [area, back] : {std::pair{PixelRect{-30, -5, 40, 20}, Rgb(0, 0, 64)},
                                     {PixelRect{90, 5, 40, 40}, Rgb(0, 0, 64)},
                                     {PixelRect{}, Rgb(1, 2, 3)}}) {
        for (const PixelRect& part :
             {area, PixelRect{area.x + 50, area.y, area.width, area.height}}) {
            box.Uncover(part);
            box.image.FillRect(part, 0xFFFF0000u);
            box.MarkDrawn(part);
        }
        box.BackColor = back;
        box.Clear();
        EXPECT_EQ(box.image.Pixel(45, 55), 0u);  // never uncovered: not even cleared
        DrawingBox whole = box;
        whole.Uncover({0, 0, 100, 60});
        ASSERT_EQ(PixelsOtherThan(whole.image, ColorRefToArgb(back)), 0) << area.x;
    }
    box.image.Reset(12, 8, 0xFF123456u);
    box.Clear();
    EXPECT_EQ(PixelsOtherThan(box.image, ColorRefToArgb(box.BackColor)), 0);
}

// A 60 x 22 window over a larger buffer shows the buffer's part inside it, and the colour of the
// window's part the buffer does not cover.
TEST(ShownFrame, CountsEveryPixelInsideTheWindowAndNothingOutside) {
    PixelBuffer buffer(90, 33, 0xFF102030u);
    ShownFrame shown;
    EXPECT_FALSE(shown.Shows(buffer, 60, 22, kBlack));  // nothing shown yet
    shown.Remember(buffer, 60, 22, kBlack);
    buffer.FillRect(60, 0, 30, 33, 0xFFFF0000u);
    buffer.FillRect(0, 22, 90, 11, 0xFFFF0000u);
    EXPECT_TRUE(shown.Shows(buffer, 60, 22, kBlack));
    EXPECT_FALSE(shown.Shows(buffer, 60, 22, kBlack + 1));
    EXPECT_FALSE(shown.Shows(buffer, 61, 22, kBlack));
    buffer.FillRect(59, 21, 1, 1, 0xFFFF0000u);
    EXPECT_FALSE(shown.Shows(buffer, 60, 22, kBlack));
}

}  // namespace
}  // namespace tikora
