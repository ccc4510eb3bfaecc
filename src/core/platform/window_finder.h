// SPDX-License-Identifier: MIT
#pragma once

// The desktop's other windows: found by class, measured, and made the parent of one of ours; and
// what happens to our own windows inside them.

#include <cstdint>
#include <functional>
#include <string_view>
#include <vector>

#include "shared/window_rect.h"

namespace tikora {

// A native window: an X window id, or a window handle; 0 is no window.
using WindowHandle = std::uintptr_t;

// What befell one of our windows that another program may hold.
enum class HostChange {
    Embedded,   // another window took it in (a tray, or a window manager's frame)
    Released,   // it is back directly on the desktop
    Destroyed,  // it went with the window that held it
};

class WindowFinder {
  public:
    virtual ~WindowFinder() = default;

    // A window's class is the class part of its WM_CLASS, compared without regard to ASCII case.
    // The top-level client window of that class, looking through window-manager frames; 0 if none.
    virtual WindowHandle FindTopLevel(std::string_view windowClass) const = 0;
    // The first child of `parent` of that class, in the order the system's own child search takes
    // (from the bottom of the stacking order, or from the top); 0 if none or `parent` is 0.
    virtual WindowHandle FindChild(WindowHandle parent, std::string_view windowClass) const = 0;
    // The window's outer rectangle, border included, in root coordinates. False, and `rect`
    // untouched, when there is no such window.
    virtual bool GetWindowRect(WindowHandle window, WindowRect& rect) const = 0;
    // Puts `child` inside `parent` at its present position, which is then relative to `parent`;
    // a parent of 0 makes it top-level again.
    virtual void SetParent(WindowHandle child, WindowHandle parent) = 0;

    // The services below have do-nothing defaults: a desktop that cannot tell says nothing.

    // Asks the window manager to keep one of our windows, not yet shown, above the others, on
    // every desktop, without a frame, out of the task lists and pagers, and floating as a small
    // utility window where windows are tiled.
    virtual void SetFloatingHints(WindowHandle) {}
    // The desktop's panels where they lie now, in root coordinates, whether they keep an edge of
    // the screen for themselves or not.
    virtual std::vector<WindowRect> Panels() const { return {}; }
    // Calls `onChange` from the event loop when another program embeds or releases `window` (one
    // of ours) or destroys it with its own. Replaces the previous watch; an empty function ends it.
    virtual void WatchHost(WindowHandle, std::function<void(HostChange)>) {}
    // Calls `onNewWindows` from the event loop once new top-level windows have appeared (once for
    // a burst of them). Replaces the previous watch; an empty function ends it.
    virtual void WatchForNewWindows(std::function<void()>) {}
};

}  // namespace tikora
