// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <array>
#include <limits>
#include <map>
#include <tuple>

#include "dock/dock_layout.h"
#include "dock/item_icon.h"
#include "dock/placement.h"

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

TEST(DockPlacement, TheTaskbarClockThenAWideSlotThenStatusNotifierThenAnySlotElseFloating) {
    using enum ClockHost;
    using enum FloatReason;
    const TraySize needs{41, 16};
    const std::optional<TraySize> none;
    const TraySize square{22, 22};
    // clang-format off
    const std::tuple<HostFacts, ClockHost, FloatReason> cases[] = {
        {{true, true, square, false, needs, false, true}, TaskbarClock, {}},
        {{false, true, none, false, needs, false, true}, TraySlotWide, {}},
        {{false, true, TraySize{41, 16}, false, needs, false, true}, TraySlotWide, {}},
        {{false, true, square, false, needs, false, true}, StatusNotifierItem, {}},
        {{false, true, square, false, needs, false, false}, TraySlotCompact, {}},
        {{false, true, TraySize{60, 15}, false, needs, false, false}, TraySlotCompact, {}},
        {{false, true, none, true, needs, false, true}, StatusNotifierItem, {}},
        {{false, true, none, true, needs, true, false}, Floating, TrayIgnored},
        {{false, false, none, false, needs, true, false}, Floating, HostGone},
        {{false, false, none, false, needs, false, false}, Floating, NoHost},
    };
    // clang-format on
    for (const auto& [facts, host, reason] : cases) {
        const HostChoice choice = ChooseHost(facts);
        EXPECT_EQ(choice.host, host);
        EXPECT_TRUE(host != Floating || choice.reason == reason);
    }
}

TEST(ItemIcon, PanelSizesAndTheirDoublesOnceEachAndANewPictureOnlyForANewTextOrSkin) {
    const std::vector<ItemIconSize> sizes{{16, 1}, {22, 1}, {24, 1}, {32, 1}, {44, 2},
                                          {48, 1}, {64, 1}, {96, 2}, {128, 2}};
    EXPECT_EQ(ItemIconSizes(), sizes);
    ItemRenewal renewal;
    const std::pair<ItemPictureKey, bool> ticks[] = {
        {{"12:00", "Zefro"}, true}, {{"12:00", "Zefro"}, false}, {{"12:01", "Zefro"}, true},
        {{"12:01", "Plain"}, true}, {{"@500", "Plain"}, true},   {{"@500", "Plain"}, false},
    };
    for (const auto& [shown, due] : ticks) {
        EXPECT_EQ(renewal.Due(shown), due) << shown.text << " " << shown.skin;
    }
    renewal.Forget();  // registered anew: the host needs the picture again
    EXPECT_TRUE(renewal.Due({"@500", "Plain"}));
    EXPECT_EQ(ItemDockedReport("org.kde.StatusNotifierWatcher (waybar)"),
              "tikora: docked in the StatusNotifierItem tray of org.kde.StatusNotifierWatcher "
              "(waybar)");
}

TEST(DockPlacement, FloatsWhereItWasPutElseOffEveryPanelInTheWorkAreaAlwaysOnScreen) {
    const WindowRect screen{0, 0, 640, 240};
    const std::optional<WindowRect> noSlot;
    const WindowRect bottomSlot{477, 214, 499, 236};
    const std::vector<WindowRect> none;
    // A panel at the bottom without a strut, and one down the right side.
    const std::vector<WindowRect> panels{{0, 214, 640, 240}, {600, 0, 640, 214}};
    const char* corner = "at the bottom right of the work area";
    // clang-format off
    const std::tuple<WindowRect, std::vector<WindowRect>, std::optional<WindowRect>,
                     std::optional<Point>, bool, std::array<int, 2>, std::string> cases[] = {
        // The screen shrank under a stored place: kept whole on it.
        {{0, 0, 640, 210}, none, bottomSlot, Point{700, -50}, true, {595, 0},
         "where it was last put"},
        {{0, 0, 640, 210}, none, bottomSlot, {}, true, {432, 215},
         "over the panel beside the system tray"},
        {{0, 27, 640, 240}, none, noSlot, {}, true, {591, 3},
         "over the panel at the top of the screen"},
        {{0, 27, 640, 240}, none, noSlot, {}, false, {591, 216}, corner},
        {screen, panels, noSlot, {}, false, {551, 190}, corner},
        // A panel as big as the work area leaves nothing: the work area it is.
        {screen, {screen}, noSlot, {}, false, {591, 216}, corner},
        // A work area off the screen says nothing.
        {{700, 300, 800, 400}, none, noSlot, {}, false, {591, 216}, corner},
    };
    // clang-format on
    for (const auto& [workArea, panelRects, slot, stored, overPanel, expected, where] : cases) {
        const FloatSpot spot =
            PlaceFloating({screen, workArea, panelRects, slot, stored, {45, 20}, overPanel});
        EXPECT_EQ((std::array{spot.left, spot.top}), expected) << where;
        EXPECT_EQ(spot.where, where);
    }
    EXPECT_EQ(FloatingReport({591, 216, 636, 236}, "here", FloatReason::NoHost),
              "tikora: floating at 591,216 (45 x 20 pixels) here: there is no taskbar clock "
              "window and no system tray");
    EXPECT_EQ(DockedReport(ClockHost::TraySlotCompact, {600, 0, 644, 44}),
              "tikora: docked in the system tray at 600,0 (44 x 44 pixels), compact face: one line "
              "of the time does not fit the slot");
}

TEST(DockPlacement, TheStoredPositionIsTwoWholeNumbersOfASaneSize) {
    struct Store final : SettingsStore {
        std::map<std::string, std::string> texts;
        std::string ReadText(const std::string&, const std::string& name) const override {
            return texts.contains(name) ? texts.at(name) : "";
        }
        SettingsWriteFailure Write(const std::vector<SettingsValue>&) override { return {}; }
    } store;
    for (const SettingsValue& value : FloatPositionValues(-7, 1200)) {
        store.texts[value.name] = value.text;
    }
    const std::optional<Point> read = StoredFloatPosition(store);
    EXPECT_EQ((read ? std::array{read->x, read->y} : std::array{0, 0}), (std::array{-7, 1200}));
    for (const char* top : {"", "12x", " 12", "+12", "2000000", "1e3"}) {
        store.texts[kFloatTopName] = top;
        EXPECT_FALSE(StoredFloatPosition(store).has_value()) << top;
    }
}

}  // namespace
}  // namespace tikora
