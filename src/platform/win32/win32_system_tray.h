// SPDX-License-Identifier: MIT
#pragma once

#include "platform/system_tray.h"

namespace tikora {

// Windows has no tray that embeds other programs' windows (its notification area shows icons
// only): no tray runs, none takes a window in, none ever appears.
class Win32SystemTray final : public SystemTray {
  public:
    TrayHost Host() const override { return {}; }
    bool RequestDock(WindowHandle) override { return false; }
    void WatchForNewTray(std::function<void()>) override {}
};

}  // namespace tikora
