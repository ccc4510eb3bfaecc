#include <gtest/gtest.h>

#include <climits>
#include <random>

#include "clock/picture_box.h"
#include "clock/pixel_buffer.h"

namespace tikora {
namespace {

TEST(PixelRect, UnionHoldsBothAndIgnoresEmptyOnes) {
    EXPECT_EQ(Union({2, 3, 4, 5}, {10, 1, 2, 2}), (PixelRect{2, 1, 10, 7}));
    EXPECT_EQ(Union({-5, -5, 2, 2}, {0, 0, 1, 1}), (PixelRect{-5, -5, 6, 6}));
    EXPECT_EQ(Union({}, {4, 4, 1, 1}), (PixelRect{4, 4, 1, 1}));
    EXPECT_EQ(Union({4, 4, 1, 1}, {100, 100, 0, 7}), (PixelRect{4, 4, 1, 1}));
    EXPECT_TRUE(Union({}, {1, 1, -3, 2}).Empty());
}

TEST(PixelRect, UnionStopsAtTheIntegerRange) {
    const PixelRect wide = Union({-2'000'000'000, 0, 1, 1}, {2'000'000'000, 0, 1, 1});
    EXPECT_EQ(wide.x, -2'000'000'000);
    EXPECT_EQ(wide.width, INT_MAX);
}

TEST(PixelRect, ClipToBufferKeepsThePartInside) {
    EXPECT_EQ(ClipToBuffer({-3, -2, 10, 5}, 6, 4), (PixelRect{0, 0, 6, 3}));
    EXPECT_EQ(ClipToBuffer({2, 1, 2, 2}, 6, 4), (PixelRect{2, 1, 2, 2}));
    EXPECT_TRUE(ClipToBuffer({6, 0, 3, 3}, 6, 4).Empty());
    EXPECT_TRUE(ClipToBuffer({0, -9, 3, 9}, 6, 4).Empty());
    EXPECT_TRUE(ClipToBuffer({INT_MAX - 1, 0, INT_MAX, 1}, 6, 4).Empty());
}

int PixelsOtherThan(const PixelBuffer& buffer, Argb colour) {
    int others = 0;
    for (int y = 0; y < buffer.Height(); ++y) {
        for (int x = 0; x < buffer.Width(); ++x) {
            others += buffer.Pixel(x, y) != colour;
        }
    }
    return others;
}

// Clear puts back only what was marked as drawn; whatever was drawn, the box must end up all in
// the back colour, as a fill of all of it would leave it.
TEST(DrawingBox, ClearLeavesEveryPixelInTheBackColour) {
    std::mt19937 random(7);
    std::uniform_int_distribution<int> position(-30, 130);
    std::uniform_int_distribution<int> side(0, 40);
    DrawingBox box;
    box.BackColor = Rgb(0, 0, 64);
    box.SetSize(100, 60);
    for (int round = 0; round < 200; ++round) {
        if (round % 50 == 49) {
            box.BackColor = Rgb(round, 255 - round, 9);  // a new skin's colour
        }
        for (int draw = 0; draw < round % 4; ++draw) {
            const PixelRect area{position(random), position(random), side(random), side(random)};
            box.image.FillRect(area, kOpaque | static_cast<Argb>(random()));
            box.MarkDrawn(area);
        }
        box.Clear();
        ASSERT_EQ(PixelsOtherThan(box.image, ColorRefToArgb(box.BackColor)), 0) << round;
    }
}

TEST(DrawingBox, ANewSizeOrAnUnmarkedBackColourClearsAll) {
    DrawingBox box;
    box.SetSize(10, 10);
    box.BackColor = Rgb(1, 2, 3);
    box.Clear();
    EXPECT_EQ(PixelsOtherThan(box.image, ColorRefToArgb(Rgb(1, 2, 3))), 0);
    box.image.Reset(12, 8, kOpaque | 0x123456u);  // a new buffer under the box's feet
    box.Clear();
    EXPECT_EQ(PixelsOtherThan(box.image, ColorRefToArgb(Rgb(1, 2, 3))), 0);
}

class ShownFrameTest : public ::testing::Test {
  protected:
    ShownFrameTest() : buffer_(90, 33, 0xFF102030u) {
        buffer_.FillRect(10, 5, 20, 8, 0xFFEEEEEEu);
        shown_.Remember(buffer_, 60, 22, 0xFF000000u);
    }
    PixelBuffer buffer_;
    ShownFrame shown_;
};

TEST_F(ShownFrameTest, ShowsTheSameFrameAgain) {
    EXPECT_TRUE(shown_.Shows(buffer_, 60, 22, 0xFF000000u));
    const PixelBuffer copy = buffer_;
    EXPECT_TRUE(shown_.Shows(copy, 60, 22, 0xFF000000u));
}

TEST_F(ShownFrameTest, AnyPixelInsideTheWindowCounts) {
    for (const auto& [x, y] : {std::pair{0, 0}, std::pair{59, 0}, std::pair{0, 21},
                               std::pair{59, 21}, std::pair{30, 11}}) {
        PixelBuffer changed = buffer_;
        changed.FillRect(x, y, 1, 1, 0xFF102031u);
        EXPECT_FALSE(shown_.Shows(changed, 60, 22, 0xFF000000u)) << x << "," << y;
    }
}

TEST_F(ShownFrameTest, PixelsOutsideTheWindowDoNotCount) {
    buffer_.FillRect(60, 0, 30, 33, 0xFFFF0000u);
    buffer_.FillRect(0, 22, 90, 11, 0xFFFF0000u);
    EXPECT_TRUE(shown_.Shows(buffer_, 60, 22, 0xFF000000u));
}

TEST_F(ShownFrameTest, ANewWindowSizeOrColourOrForgettingCounts) {
    EXPECT_FALSE(shown_.Shows(buffer_, 61, 22, 0xFF000000u));
    EXPECT_FALSE(shown_.Shows(buffer_, 60, 21, 0xFF000000u));
    EXPECT_FALSE(shown_.Shows(buffer_, 60, 22, 0xFF000001u));
    shown_.Forget();
    EXPECT_FALSE(shown_.Shows(buffer_, 60, 22, 0xFF000000u));
}

TEST(ShownFrame, ABufferSmallerThanTheWindowIsComparedWhereItCovers) {
    PixelBuffer small(20, 10, 0xFF0000FFu);
    ShownFrame shown;
    EXPECT_FALSE(shown.Shows(small, 60, 22, 0xFF000000u));  // nothing shown yet
    shown.Remember(small, 60, 22, 0xFF000000u);
    EXPECT_TRUE(shown.Shows(small, 60, 22, 0xFF000000u));
    small.FillRect(19, 9, 1, 1, 0xFF0000FEu);
    EXPECT_FALSE(shown.Shows(small, 60, 22, 0xFF000000u));
    EXPECT_FALSE(shown.Shows(PixelBuffer(21, 10, 0xFF0000FFu), 60, 22, 0xFF000000u));
    PixelBuffer empty;
    shown.Remember(empty, 5, 5, 0xFF000000u);
    EXPECT_TRUE(shown.Shows(empty, 5, 5, 0xFF000000u));
}

}  // namespace
}  // namespace tikora
