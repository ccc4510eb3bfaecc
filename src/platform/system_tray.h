#pragma once

// The freedesktop system tray: a panel's notification area that embeds small windows (XEmbed).

#include <functional>
#include <memory>

#include "platform/window_finder.h"

class QWindow;

namespace tikora {

struct TrayHost {
    WindowHandle owner = 0;  // 0: no tray runs
    bool vertical = false;
    int iconHeight = 0;  // the height the tray gives its icons, 0 when it does not say
};

class SystemTray {
  public:
    virtual ~SystemTray() = default;

    // The tray of the screen Qt shows its windows on, as it is now.
    virtual TrayHost Host() const = 0;
    // Asks the tray to embed `window` at the window's present size. False when no tray runs.
    virtual bool RequestDock(QWindow& window) = 0;
    // Calls `onNewTray` from the event loop whenever a tray takes over the screen's tray (a
    // panel started or restarted). Replaces the previous watch; an empty function ends it.
    virtual void WatchForNewTray(std::function<void()> onNewTray) = 0;
};

class X11SystemTray final : public SystemTray {
  public:
    X11SystemTray();
    ~X11SystemTray() override;
    X11SystemTray(const X11SystemTray&) = delete;
    X11SystemTray& operator=(const X11SystemTray&) = delete;

    TrayHost Host() const override;
    bool RequestDock(QWindow& window) override;
    void WatchForNewTray(std::function<void()> onNewTray) override;

  private:
    class ManagerWatch;
    std::unique_ptr<ManagerWatch> watch_;
};

}  // namespace tikora
