#include <gtest/gtest.h>

#include "clock/pixel_buffer.h"

namespace tikora {
namespace {

constexpr Argb kBlack = 0xFF000000u;

// A source whose every pixel tells where it came from.
PixelBuffer NumberedSource(int width, int height) {
    PixelBuffer source(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            source.Data()[y * width + x] = kOpaque | static_cast<Argb>(y * 256 + x + 1);
        }
    }
    return source;
}

int CountChanged(const PixelBuffer& buffer) {
    int changed = 0;
    for (int y = 0; y < buffer.Height(); ++y) {
        for (int x = 0; x < buffer.Width(); ++x) {
            changed += buffer.Pixel(x, y) != kBlack;
        }
    }
    return changed;
}

TEST(BlockCopy, CopiesTheRectangleToItsPlace) {
    const PixelBuffer source = NumberedSource(10, 4);
    PixelBuffer target(8, 8, kBlack);
    BlockCopy(target, 2, 3, 3, 2, source, 5, 1);
    EXPECT_EQ(target.Pixel(2, 3), source.Pixel(5, 1));
    EXPECT_EQ(target.Pixel(4, 4), source.Pixel(7, 2));
    EXPECT_EQ(CountChanged(target), 6);
}

struct ClipCase {
    const char* name;
    int dx, dy, width, height, sx, sy;
    int changed;
};

class BlockCopyClipping : public ::testing::TestWithParam<ClipCase> {};

TEST_P(BlockCopyClipping, StaysInsideBothBuffers) {
    const ClipCase& c = GetParam();
    const PixelBuffer source = NumberedSource(10, 4);
    PixelBuffer target(8, 8, kBlack);
    BlockCopy(target, c.dx, c.dy, c.width, c.height, source, c.sx, c.sy);
    EXPECT_EQ(CountChanged(target), c.changed);
}

INSTANTIATE_TEST_SUITE_P(Edges, BlockCopyClipping,
                         ::testing::Values(ClipCase{"LeftOfTarget", -2, 0, 4, 1, 0, 0, 2},
                                           ClipCase{"PastTargetRight", 6, 0, 4, 1, 0, 0, 2},
                                           ClipCase{"PastSourceBottom", 0, 0, 2, 8, 0, 2, 4},
                                           ClipCase{"NegativeSourceStart", 0, 0, 4, 1, -3, 0, 1},
                                           ClipCase{"ZeroWidth", 0, 0, 0, 4, 0, 0, 0},
                                           ClipCase{"NegativeHeight", 0, 0, 4, -4, 0, 0, 0},
                                           ClipCase{"FarOutside", 30000, -30000, 4, 4, 0, 0, 0},
                                           ClipCase{"HugeExtent", 0, 0, 2147483647, 2147483647, 0,
                                                    0, 32}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST(BlockCopy, CopiesColourAndMakesItOpaque) {
    PixelBuffer source(1, 1, 0x00123456u);  // fully transparent, colour kept
    PixelBuffer target(1, 1, kBlack);
    BlockCopy(target, 0, 0, 1, 1, source, 0, 0);
    EXPECT_EQ(target.Pixel(0, 0), 0xFF123456u);
}

TEST(PixelBuffer, CapsItsSides) {
    PixelBuffer huge(100000, -5);
    EXPECT_EQ(huge.Width(), PixelBuffer::kMaxSide);
    EXPECT_EQ(huge.Height(), 0);
    EXPECT_TRUE(huge.Empty());
}

TEST(ColorRef, PutsRedInTheLowByte) {
    EXPECT_EQ(ColorRefToArgb(Rgb(255, 128, 0)), 0xFFFF8000u);
    EXPECT_EQ(Rgb(255, 128, 0), 0x0080FFu);
}

}  // namespace
}  // namespace tikora
