// SPDX-License-Identifier: MIT
#pragma once

#include <QSize>
#include <QWidget>
#include <QWindow>
#include <functional>
#include <string>
#include <vector>

#include "platform/system_tray.h"
#include "platform/window_finder.h"

namespace tikora::testing {

// A desktop of made-up windows in stacking order, each with its parent (0 for top-level), class
// and outer rectangle. Reparenting is recorded, not done.
class FakeWindowFinder final : public WindowFinder {
  public:
    struct Window {
        WindowHandle id = 0;
        WindowHandle parent = 0;
        std::string windowClass;
        WindowRect rect;
    };

    std::vector<Window> windows;
    std::vector<WindowHandle> reparented;  // the new parent of each call to SetParent
    std::function<void()> onSetParent;     // called at each SetParent, when set

    // The taskbar chain with its clock window at `clock`; returns the clock window's handle.
    WindowHandle AddTaskbar(WindowRect clock) {
        windows.push_back({0x100, 0, "Shell_TrayWnd", {}});
        windows.push_back({0x200, 0x100, "TrayNotifyWnd", {}});
        windows.push_back({0x300, 0x200, "TrayClockWClass", clock});
        return 0x300;
    }

    WindowHandle FindTopLevel(std::string_view windowClass) const override {
        return Find(0, windowClass);
    }
    WindowHandle FindChild(WindowHandle parent, std::string_view windowClass) const override {
        return parent == 0 ? 0 : Find(parent, windowClass);
    }
    bool GetWindowRect(WindowHandle window, WindowRect& rect) const override {
        for (const Window& w : windows) {
            if (window != 0 && w.id == window) {
                rect = w.rect;
                return true;
            }
        }
        return false;
    }
    void SetParent(WindowHandle, WindowHandle parent) override {
        reparented.push_back(parent);
        if (onSetParent) {
            onSetParent();
        }
    }

  private:
    WindowHandle Find(WindowHandle parent, std::string_view windowClass) const {
        for (const Window& w : windows) {
            if (w.parent == parent && w.windowClass == windowClass) {
                return w.id;
            }
        }
        return 0;
    }
};

// A system tray that records the dock requests and lets the test announce a new tray.
class FakeSystemTray final : public SystemTray {
  public:
    TrayHost host;  // no tray runs until a test gives it an owner
    std::vector<QSize> requestedSizes;
    std::function<void()> onNewTray;

    TrayHost Host() const override { return host; }
    bool RequestDock(WindowHandle window) override {
        if (host.owner == 0) {
            return false;
        }
        requestedSizes.push_back(QWidget::find(static_cast<WId>(window))->size());
        return true;
    }
    void WatchForNewTray(std::function<void()> callback) override {
        onNewTray = std::move(callback);
    }
};

}  // namespace tikora::testing
