// SPDX-License-Identifier: MIT
#pragma once

// The freedesktop system tray: a panel's notification area that embeds small windows (XEmbed).

#include <functional>

#include "platform/window_finder.h"

namespace tikora {

struct TrayHost {
    WindowHandle owner = 0;  // 0: no tray runs
    bool vertical = false;
    int iconHeight = 0;  // the height the tray gives its icons, 0 when it does not say
};

class SystemTray {
  public:
    virtual ~SystemTray() = default;

    // The tray of the screen the program shows its windows on, as it is now.
    virtual TrayHost Host() const = 0;
    // Asks the tray to embed `window` at the window's present size. False when no tray runs.
    virtual bool RequestDock(WindowHandle window) = 0;
    // Calls `onNewTray` from the event loop whenever a tray takes over the screen's tray (a
    // panel started or restarted). Replaces the previous watch; an empty function ends it.
    virtual void WatchForNewTray(std::function<void()> onNewTray) = 0;
};

}  // namespace tikora
