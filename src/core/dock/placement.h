// SPDX-License-Identifier: MIT
#pragma once

// Where the clock window goes when the desktop has no taskbar clock to cover: into a system tray
// that gives it room, or floating over the panel. Only decisions and figures here; the windows
// are moved by the forms.

#include <optional>
#include <string>
#include <vector>

#include "clock/text_layout.h"
#include "dock/dock_layout.h"
#include "settings/settings_store.h"
#include "shared/window_rect.h"

namespace tikora {

// The hosts in the order the clock prefers them when there is no taskbar clock to cover.
enum class ClockHost {
    TaskbarClock,        // the taskbar's clock window
    TraySlotWide,        // an XEmbed tray slot with room for the one-line face
    StatusNotifierItem,  // a StatusNotifierItem host (a watcher on the session bus)
    TraySlotCompact,     // any XEmbed tray slot, with the compact face
    Floating,            // no tray at all
};

// Why the clock floats.
enum class FloatReason {
    NoHost,       // neither a taskbar clock window nor a system tray
    TrayIgnored,  // the tray never took the clock in, or let it go while it ran on
    HostGone,     // the window or tray the clock sat in went away
};

struct HostFacts {
    bool taskbarClock = false;  // a taskbar clock window was found
    bool trayRuns = false;
    // What the running tray gave the clock the last time it held it, if it did.
    std::optional<TraySize> trayGave;
    bool trayIgnoredOffer = false;    // the running tray left the last offer unanswered
    TraySize needs;                   // the one-line face's whole drawing
    bool hostLost = false;            // the clock has just lost the host it sat in
    bool statusNotifierHost = false;  // a StatusNotifierItem host runs
};

struct HostChoice {
    ClockHost host = ClockHost::Floating;
    FloatReason reason = FloatReason::NoHost;  // when floating
};

// The taskbar's clock window; else a tray slot that holds the one-line face (or one not tried
// yet); else a StatusNotifierItem host; else any tray slot, for the compact face; else floating.
HostChoice ChooseHost(const HostFacts& facts);

// True when a slot of `given` pixels shows all of a drawing of `needs` pixels.
bool SlotFits(TraySize given, TraySize needs);

struct FloatFacts {
    WindowRect screen;    // the whole screen
    WindowRect workArea;  // the screen less the edges the panels keep for themselves
    // The panels' windows where they lie now, struts or not: the clock keeps off them.
    std::vector<WindowRect> panels;
    // Where a tray held the clock last, in screen pixels; empty when no tray did.
    std::optional<WindowRect> traySlot;
    // Where the user last dragged the clock (its top-left corner).
    std::optional<Point> stored;
    TraySize size;  // the floating window's own size
    // A clock without a tray of its own may sit on the panel that the work area leaves out (the
    // Windows taskbar, where the clock belongs); elsewhere it keeps off every panel.
    bool overPanel = false;
};

struct FloatSpot {
    int left = 0;
    int top = 0;
    std::string where;  // how the spot was chosen, for the user
};

// Where the floating clock goes: where the user last put it; else beside the tray, centred on the
// panel's height; else, where it may, at the far end of the panel that the work area leaves out;
// else at the bottom right of the work area less every panel. Always kept whole on the screen
// where the screen is big enough.
FloatSpot PlaceFloating(const FloatFacts& facts);

// The one line that tells the user where the clock went, in screen pixels, and why.
std::string FloatingReport(const WindowRect& where, const std::string& how, FloatReason reason);
std::string DockedReport(ClockHost host, const WindowRect& where);
// Docked as a tray item; `host` names who took it in.
std::string ItemDockedReport(const std::string& host);
// On Wayland, with no tray: the compositor alone places windows and keeps none above the rest.
std::string PlainWindowReport();

// The floating clock's position among the settings, beside the design's values.
inline constexpr char kFloatLeftName[] = "FloatLeft";
inline constexpr char kFloatTopName[] = "FloatTop";

// The stored position; nothing unless both values are whole numbers of a sane size.
std::optional<Point> StoredFloatPosition(const SettingsStore& store);
std::vector<SettingsValue> FloatPositionValues(int left, int top);

}  // namespace tikora
