#pragma once

#include "platform/window_finder.h"

namespace tikora {

// The X server that Qt is connected to. With another windowing system it finds nothing.
class X11WindowFinder final : public WindowFinder {
  public:
    WindowHandle FindTopLevel(std::string_view windowClass) const override;
    WindowHandle FindChild(WindowHandle parent, std::string_view windowClass) const override;
    bool GetWindowRect(WindowHandle window, WindowRect& rect) const override;
    void SetParent(WindowHandle child, WindowHandle parent) override;
};

}  // namespace tikora
