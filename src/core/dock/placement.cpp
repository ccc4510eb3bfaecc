// SPDX-License-Identifier: MIT
#include "dock/placement.h"

#include <algorithm>
#include <charconv>

namespace tikora {
namespace {

// Room between the floating clock and the end of the panel or the corner of the work area.
constexpr int kEdgeRoom = 4;
// Positions further out than this are not a screen's; a stored one is ignored.
constexpr int kFarthestPosition = 1'000'000;

int Width(const WindowRect& rect) {
    return rect.right - rect.left;
}
int Height(const WindowRect& rect) {
    return rect.bottom - rect.top;
}

// From `low`, but no further than `high` allows for a window of `size`; `low` wins when the
// space is smaller than the window.
int KeepWithin(int value, int low, int high, int size) {
    return std::max(low, std::min(value, high - size));
}

// The edge strip of the screen that the work area leaves out: a panel's place. The bottom edge
// is taken first, as on the desktops the program was made for, then the top, right and left.
struct PanelBand {
    WindowRect rect;
    bool vertical = false;
    const char* edge = "";
};

std::optional<PanelBand> FindPanelBand(const WindowRect& screen, const WindowRect& workArea) {
    const PanelBand bands[] = {
        {{screen.left, workArea.bottom, screen.right, screen.bottom}, false, "bottom"},
        {{screen.left, screen.top, screen.right, workArea.top}, false, "top"},
        {{workArea.right, screen.top, screen.right, screen.bottom}, true, "right"},
        {{screen.left, screen.top, workArea.left, screen.bottom}, true, "left"},
    };
    for (const PanelBand& band : bands) {
        if (Width(band.rect) > 0 && Height(band.rect) > 0) {
            return band;
        }
    }
    return std::nullopt;
}

std::optional<int> WholeNumber(const std::string& text) {
    int value = 0;
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    if (text.empty() || error != std::errc() || stop != end || value < -kFarthestPosition ||
        value > kFarthestPosition) {
        return std::nullopt;
    }
    return value;
}

std::string SizeText(TraySize size) {
    return std::to_string(size.width) + " x " + std::to_string(size.height);
}

bool Overlap(const WindowRect& a, const WindowRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

// The work area less each panel that lies in it: the band from the panel to the area's nearer
// edge is cut off, as a strut would have done.
WindowRect FreeArea(WindowRect area, const std::vector<WindowRect>& panels) {
    for (const WindowRect& panel : panels) {
        if (!Overlap(panel, area)) {
            continue;
        }
        WindowRect cut = area;
        if (Width(panel) >= Height(panel)) {
            const bool upper = panel.top + panel.bottom < area.top + area.bottom;
            (upper ? cut.top : cut.bottom) = upper ? panel.bottom : panel.top;
        } else {
            const bool left = panel.left + panel.right < area.left + area.right;
            (left ? cut.left : cut.right) = left ? panel.right : panel.left;
        }
        if (Width(cut) > 0 && Height(cut) > 0) {
            area = cut;
        }
    }
    return area;
}

std::string RectText(const WindowRect& rect) {
    return std::to_string(rect.left) + "," + std::to_string(rect.top) + " (" +
           SizeText({Width(rect), Height(rect)}) + " pixels)";
}

}  // namespace

bool SlotFits(TraySize given, TraySize needs) {
    return given.width >= needs.width && given.height >= needs.height;
}

HostChoice ChooseHost(const HostFacts& facts) {
    if (facts.taskbarClock) {
        return {ClockHost::TaskbarClock};
    }
    const bool trayTakes = facts.trayRuns && !facts.trayIgnoredOffer;
    if (trayTakes && (!facts.trayGave || SlotFits(*facts.trayGave, facts.needs))) {
        return {ClockHost::TraySlotWide};
    }
    if (facts.statusNotifierHost) {
        return {ClockHost::StatusNotifierItem};
    }
    if (trayTakes) {
        return {ClockHost::TraySlotCompact};
    }
    if (facts.trayRuns) {
        return {ClockHost::Floating, FloatReason::TrayIgnored};
    }
    return {ClockHost::Floating, facts.hostLost ? FloatReason::HostGone : FloatReason::NoHost};
}

FloatSpot PlaceFloating(const FloatFacts& facts) {
    const WindowRect& screen = facts.screen;
    // A work area that does not lie on the screen says nothing about the panels.
    WindowRect area{std::max(facts.workArea.left, screen.left),
                    std::max(facts.workArea.top, screen.top),
                    std::min(facts.workArea.right, screen.right),
                    std::min(facts.workArea.bottom, screen.bottom)};
    if (Width(area) <= 0 || Height(area) <= 0) {
        area = screen;
    }
    const int width = facts.size.width;
    const int height = facts.size.height;
    FloatSpot spot;
    const std::optional<PanelBand> band =
        facts.overPanel ? FindPanelBand(screen, area) : std::nullopt;
    if (facts.stored) {
        spot = {facts.stored->x, facts.stored->y, "where it was last put"};
    } else if (facts.traySlot && Width(*facts.traySlot) > 0 && Height(*facts.traySlot) > 0) {
        const WindowRect& slot = *facts.traySlot;
        const char* beside = "over the panel beside the system tray";
        if (slot.left >= area.right || slot.right <= area.left) {
            // A tray in a panel down a side: above the tray, across the panel.
            spot = {slot.left + (Width(slot) - width) / 2, slot.top - height, beside};
        } else {
            spot = {slot.left - width, slot.top + (Height(slot) - height) / 2, beside};
        }
    } else if (band) {
        const WindowRect& panel = band->rect;
        const std::string over =
            std::string("over the panel at the ") + band->edge + " of the screen";
        if (band->vertical) {
            spot = {panel.left + (Width(panel) - width) / 2, panel.bottom - height - kEdgeRoom,
                    over};
        } else {
            spot = {panel.right - width - kEdgeRoom, panel.top + (Height(panel) - height) / 2,
                    over};
        }
    } else {
        const WindowRect free = FreeArea(area, facts.panels);
        spot = {free.right - width - kEdgeRoom, free.bottom - height - kEdgeRoom,
                "at the bottom right of the work area"};
    }
    spot.left = KeepWithin(spot.left, screen.left, screen.right, width);
    spot.top = KeepWithin(spot.top, screen.top, screen.bottom, height);
    return spot;
}

std::string FloatingReport(const WindowRect& where, const std::string& how, FloatReason reason) {
    const char* why = "";
    switch (reason) {
        case FloatReason::NoHost:
            why = "there is no taskbar clock window and no system tray";
            break;
        case FloatReason::TrayIgnored:
            why = "the system tray did not take it in";
            break;
        case FloatReason::HostGone:
            why = "the window it sat in went away";
            break;
    }
    return "tikora: floating at " + RectText(where) + " " + how + ": " + why;
}

std::string DockedReport(ClockHost host, const WindowRect& where) {
    const std::string at = " at " + RectText(where);
    switch (host) {
        case ClockHost::TaskbarClock:
            return "tikora: docked in the taskbar's clock window" + at;
        case ClockHost::TraySlotWide:
            return "tikora: docked in the system tray" + at + ", one line: the slot is wide enough";
        default:
            return "tikora: docked in the system tray" + at +
                   ", compact face: one line of the time does not fit the slot";
    }
}

std::string ItemDockedReport(const std::string& host) {
    return "tikora: docked in the StatusNotifierItem tray of " + host;
}

std::string PlainWindowReport() {
    return "tikora: no tray to dock in: shown as a plain window where the compositor puts it; a "
           "panel with a StatusNotifierItem tray would dock it";
}

std::optional<Point> StoredFloatPosition(const SettingsStore& store) {
    const std::optional<int> left = WholeNumber(store.ReadText(kSettingsKey, kFloatLeftName));
    const std::optional<int> top = WholeNumber(store.ReadText(kSettingsKey, kFloatTopName));
    if (!left || !top) {
        return std::nullopt;
    }
    return Point{*left, *top};
}

std::vector<SettingsValue> FloatPositionValues(int left, int top) {
    return {{kSettingsKey, kFloatLeftName, std::to_string(left)},
            {kSettingsKey, kFloatTopName, std::to_string(top)}};
}

}  // namespace tikora
