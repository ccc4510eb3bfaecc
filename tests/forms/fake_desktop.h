#pragma once

#include <QSize>
#include <QWindow>
#include <algorithm>
#include <cctype>
#include <functional>
#include <string>
#include <vector>

#include "platform/system_tray.h"
#include "platform/window_finder.h"

namespace tikora::testing {

// A desktop of made-up windows: a list in stacking order, each with its parent (0 for top-level),
// class and outer rectangle. Reparenting is recorded, not done.
class FakeWindowFinder final : public WindowFinder {
  public:
    struct Window {
        WindowHandle id = 0;
        WindowHandle parent = 0;
        std::string windowClass;
        WindowRect rect;
    };
    struct Reparenting {
        QWindow* child = nullptr;
        WindowHandle parent = 0;
    };

    std::vector<Window> windows;
    std::vector<Reparenting> reparented;

    // The taskbar chain with its clock window at `clock`; returns the clock window's handle.
    WindowHandle AddTaskbar(WindowRect clock) {
        windows.push_back({0x100, 0, "Shell_TrayWnd", {0, clock.top - 4, 800, clock.bottom + 4}});
        windows.push_back({0x200,
                           0x100,
                           "TrayNotifyWnd",
                           {clock.left - 40, clock.top - 2, 800, clock.bottom + 2}});
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
        const auto found = std::find_if(windows.begin(), windows.end(), [&](const Window& w) {
            return window != 0 && w.id == window;
        });
        if (found == windows.end()) {
            return false;
        }
        rect = found->rect;
        return true;
    }
    void SetParent(QWindow& child, WindowHandle parent) override {
        reparented.push_back({&child, parent});
    }

  private:
    static std::string Lower(std::string_view text) {
        std::string lower(text);
        std::transform(lower.begin(), lower.end(), lower.begin(),
                       [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
        return lower;
    }
    WindowHandle Find(WindowHandle parent, std::string_view windowClass) const {
        for (const Window& window : windows) {
            if (window.parent == parent && Lower(window.windowClass) == Lower(windowClass)) {
                return window.id;
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
    bool RequestDock(QWindow& window) override {
        if (host.owner == 0) {
            return false;
        }
        requestedSizes.push_back(window.size());
        return true;
    }
    void WatchForNewTray(std::function<void()> callback) override {
        onNewTray = std::move(callback);
    }
};

}  // namespace tikora::testing
