#pragma once

// The desktop's other windows: found by class, measured, and made the parent of one of ours.

#include <cstdint>
#include <string_view>

#include "shared/window_rect.h"

namespace tikora {

// A native window: an X window id, or a window handle; 0 is no window.
using WindowHandle = std::uintptr_t;

class WindowFinder {
  public:
    virtual ~WindowFinder() = default;

    // A window's class is the class part of its WM_CLASS, compared without regard to ASCII case.
    // The top-level client window of that class, looking through window-manager frames; 0 if none.
    virtual WindowHandle FindTopLevel(std::string_view windowClass) const = 0;
    // The first child of `parent` of that class, in stacking order from the bottom; 0 if none or
    // `parent` is 0.
    virtual WindowHandle FindChild(WindowHandle parent, std::string_view windowClass) const = 0;
    // The window's outer rectangle, border included, in root coordinates. False, and `rect`
    // untouched, when there is no such window.
    virtual bool GetWindowRect(WindowHandle window, WindowRect& rect) const = 0;
    // Puts `child` inside `parent` at its present position, which is then relative to `parent`;
    // a parent of 0 makes it top-level again.
    virtual void SetParent(WindowHandle child, WindowHandle parent) = 0;
};

}  // namespace tikora
