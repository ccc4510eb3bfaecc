// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "platform/window_finder.h"

namespace tikora {

// The X server that Qt is connected to. With another windowing system it finds nothing.
class X11WindowFinder final : public WindowFinder {
  public:
    X11WindowFinder();
    ~X11WindowFinder() override;
    X11WindowFinder(const X11WindowFinder&) = delete;
    X11WindowFinder& operator=(const X11WindowFinder&) = delete;

    WindowHandle FindTopLevel(std::string_view windowClass) const override;
    WindowHandle FindChild(WindowHandle parent, std::string_view windowClass) const override;
    bool GetWindowRect(WindowHandle window, WindowRect& rect) const override;
    void SetParent(WindowHandle child, WindowHandle parent) override;

    void SetFloatingHints(WindowHandle window) override;
    std::vector<WindowRect> Panels() const override;
    void WatchHost(WindowHandle window, std::function<void(HostChange)> onChange) override;
    void WatchForNewWindows(std::function<void()> onNewWindows) override;

  private:
    class EventWatch;
    EventWatch& Events();
    std::unique_ptr<EventWatch> events_;
};

}  // namespace tikora
