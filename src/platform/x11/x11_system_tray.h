// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "platform/system_tray.h"

namespace tikora {

// The freedesktop system tray of the X server that Qt is connected to (XEmbed).
class X11SystemTray final : public SystemTray {
  public:
    X11SystemTray();
    ~X11SystemTray() override;
    X11SystemTray(const X11SystemTray&) = delete;
    X11SystemTray& operator=(const X11SystemTray&) = delete;

    TrayHost Host() const override;
    bool RequestDock(WindowHandle window) override;
    void WatchForNewTray(std::function<void()> onNewTray) override;

  private:
    class ManagerWatch;
    std::unique_ptr<ManagerWatch> watch_;
};

}  // namespace tikora
