#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <tuple>

#include "dock/dock_layout.h"

namespace tikora {
namespace {

TEST(DockLayout, SizesGoThroughTwipsOnEachAxissScaleAndTrayRequestsArePadded) {
    constexpr std::int32_t big = std::numeric_limits<std::int32_t>::max();
    for (const auto& [clock, twipsX, twipsY, sizes] :
         {std::tuple{WindowRect{1000, 570, 1060, 592}, 15, 15, std::array{900, 330, 60, 22}},
          {{0, 0, 60, 22}, 12, 15, {720, 330, 60, 22}},
          {{-big, 0, big, 1}, 15, 15, {big, 15, big / 15, 1}},
          {{0, 0, 60, 22}, 0, 0, {0, 0, 0, 0}}}) {
        const DockedSizes s = DockedSizesFor(clock, twipsX, twipsY);
        EXPECT_EQ((std::array{s.widthTwips, s.heightTwips, s.widthPixels, s.heightPixels}), sizes);
    }
    // Four cells and the separator with 2 pixels of room each side; the tray's height if it says.
    const TraySize asked = TrayRequestSize(WidestGlyphBlock({9.05f, 15, 5}), 15, 0);
    EXPECT_EQ((std::array{asked.width, asked.height}), (std::array{42 + 4, 15 + 4}));
    const TraySize told = TrayRequestSize(WidestGlyphBlock({9, 15, -3}), 15, 24);
    EXPECT_EQ((std::array{told.width, told.height}), (std::array{36 + 4, 24}));
}

}  // namespace
}  // namespace tikora
