#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <utility>

#include "dock/dock_layout.h"

namespace tikora {
namespace {

// Width and height in twips, then in pixels.
std::array<std::int32_t, 4> Docked(WindowRect clock, std::int32_t twipsX, std::int32_t twipsY) {
    const DockedSizes s = DockedSizesFor(clock, twipsX, twipsY);
    return {s.widthTwips, s.heightTwips, s.widthPixels, s.heightPixels};
}

TEST(DockLayout, DockedSizesGoThroughTwipsOnEachAxissOwnScale) {
    constexpr std::int32_t big = std::numeric_limits<std::int32_t>::max();
    EXPECT_EQ(Docked({1000, 570, 1060, 592}, 15, 15), (std::array{900, 330, 60, 22}));
    EXPECT_EQ(Docked({0, 0, 60, 22}, 12, 12), (std::array{720, 264, 60, 22}));
    EXPECT_EQ(Docked({0, 0, 60, 22}, 12, 15), (std::array{720, 330, 60, 22}));
    EXPECT_EQ(Docked({}, 15, 15), (std::array{0, 0, 0, 0}));
    EXPECT_EQ(Docked({-big, 0, big, 1}, 15, 15), (std::array{big, 15, big / 15, 1}));
    EXPECT_EQ(Docked({0, 0, 60, 22}, 0, 0), (std::array{0, 0, 0, 0}));
}

TEST(DockLayout, CentredBoxHalvesTowardZeroThenStepsOnePixelUpAndLeft) {
    const auto origin = [](int width, int height, int boxWidth, int boxHeight) {
        const BoxOrigin o = CentredBoxOrigin(width, height, boxWidth, boxHeight);
        return std::pair{o.left, o.top};
    };
    EXPECT_EQ(origin(60, 22, 57, 17), std::pair(30 - 28 - 1, 11 - 8 - 1));
    EXPECT_EQ(origin(0, 0, 57, 17), std::pair(-28 - 1, -8 - 1));
    EXPECT_EQ(origin(61, 23, 3, 3), std::pair(30 - 1 - 1, 11 - 1 - 1));
}

TEST(DockLayout, TrayRequestPadsTheContentAndTakesTheTraysHeightWhenKnown) {
    const auto size = [](double width, double height, int trayIconHeight) {
        const TraySize s = TrayRequestSize(width, height, trayIconHeight);
        return std::pair{s.width, s.height};
    };
    EXPECT_EQ(size(40.2, 15.0, 0), std::pair(41 + 4, 15 + 4));
    EXPECT_EQ(size(40.0, 15.0, 24), std::pair(44, 24));
    EXPECT_EQ(size(std::numeric_limits<double>::quiet_NaN(), -3, 0), std::pair(4, 4));
}

TEST(DockLayout, WidestGlyphBlockIsFourCellsAndTheSeparator) {
    EXPECT_DOUBLE_EQ(WidestGlyphBlock({9, 16, 5}), 41);
    EXPECT_DOUBLE_EQ(WidestGlyphBlock({9, 16, -3}), 36);
}

}  // namespace
}  // namespace tikora
