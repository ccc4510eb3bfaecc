#include <gtest/gtest.h>

#include <limits>

#include "app/dock_layout.h"

namespace tikora {
namespace {

TEST(DockedSizes, GiveTheClockWindowsPixelSizeThroughTwips) {
    const DockedSizes at15 = DockedSizesFor({1000, 570, 1060, 592}, 15, 15);
    EXPECT_EQ(at15.widthTwips, 900);
    EXPECT_EQ(at15.heightTwips, 330);
    EXPECT_EQ(at15.widthPixels, 60);
    EXPECT_EQ(at15.heightPixels, 22);

    const DockedSizes at12 = DockedSizesFor({0, 0, 60, 22}, 12, 12);
    EXPECT_EQ(at12.widthTwips, 720);
    EXPECT_EQ(at12.heightTwips, 264);
    EXPECT_EQ(at12.widthPixels, 60);
    EXPECT_EQ(at12.heightPixels, 22);
}

TEST(DockedSizes, UseEachAxissOwnScale) {
    const DockedSizes sizes = DockedSizesFor({0, 0, 60, 22}, 12, 15);
    EXPECT_EQ(sizes.widthTwips, 720);
    EXPECT_EQ(sizes.heightTwips, 330);
}

TEST(DockedSizes, AreZeroForTheUntouchedRectangle) {
    const DockedSizes sizes = DockedSizesFor({}, 15, 15);
    EXPECT_EQ(sizes.widthTwips, 0);
    EXPECT_EQ(sizes.heightTwips, 0);
    EXPECT_EQ(sizes.widthPixels, 0);
    EXPECT_EQ(sizes.heightPixels, 0);
}

TEST(DockedSizes, StayDefinedAtTheEdges) {
    const std::int32_t big = std::numeric_limits<std::int32_t>::max();
    const DockedSizes huge = DockedSizesFor({-big, 0, big, 1}, 15, 15);
    EXPECT_EQ(huge.widthTwips, big);
    EXPECT_EQ(huge.heightTwips, 15);
    const DockedSizes noScale = DockedSizesFor({0, 0, 60, 22}, 0, 0);
    EXPECT_EQ(noScale.widthPixels, 0);
    EXPECT_EQ(noScale.heightPixels, 0);
}

TEST(CentredBoxOrigin, HalvesTowardZeroThenStepsOnePixelUpAndLeft) {
    const BoxOrigin even = CentredBoxOrigin(60, 22, 57, 17);
    EXPECT_EQ(even.left, 30 - 28 - 1);
    EXPECT_EQ(even.top, 11 - 8 - 1);
    const BoxOrigin empty = CentredBoxOrigin(0, 0, 57, 17);
    EXPECT_EQ(empty.left, -28 - 1);
    EXPECT_EQ(empty.top, -8 - 1);
    const BoxOrigin odd = CentredBoxOrigin(61, 23, 3, 3);
    EXPECT_EQ(odd.left, 30 - 1 - 1);
    EXPECT_EQ(odd.top, 11 - 1 - 1);
}

TEST(TrayRequestSize, PadsTheContentAndTakesTheTraysHeightWhenKnown) {
    const TraySize unknown = TrayRequestSize(40.2, 15.0, 0);
    EXPECT_EQ(unknown.width, 41 + 4);
    EXPECT_EQ(unknown.height, 15 + 4);
    const TraySize known = TrayRequestSize(40.0, 15.0, 24);
    EXPECT_EQ(known.width, 44);
    EXPECT_EQ(known.height, 24);
}

TEST(TrayRequestSize, NeverAsksForLessThanThePadding) {
    const TraySize nothing = TrayRequestSize(std::numeric_limits<double>::quiet_NaN(), -3, 0);
    EXPECT_EQ(nothing.width, 4);
    EXPECT_EQ(nothing.height, 4);
}

TEST(WidestGlyphBlock, IsTheTimeLayoutWithItsSeparatorCell) {
    EXPECT_DOUBLE_EQ(WidestGlyphBlock({9, 16, 5}), 41);
    EXPECT_DOUBLE_EQ(WidestGlyphBlock({9, 16, 0}), 36);
}

}  // namespace
}  // namespace tikora
