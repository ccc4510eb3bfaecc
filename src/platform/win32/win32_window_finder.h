// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <memory>

#include "platform/window_finder.h"
#include "win32/hidden_window.h"

namespace tikora {

// The desktop's windows through user32: found by class, measured and reparented. What happens to
// the watched window of ours is heard through a subclass of it, new taskbars through Explorer's
// "TaskbarCreated" broadcast; both are told from the message loop, after the event.
class Win32WindowFinder final : public WindowFinder {
  public:
    Win32WindowFinder();
    ~Win32WindowFinder() override;
    Win32WindowFinder(const Win32WindowFinder&) = delete;
    Win32WindowFinder& operator=(const Win32WindowFinder&) = delete;

    WindowHandle FindTopLevel(std::string_view windowClass) const override;
    WindowHandle FindChild(WindowHandle parent, std::string_view windowClass) const override;
    bool GetWindowRect(WindowHandle window, WindowRect& rect) const override;
    void SetParent(WindowHandle child, WindowHandle parent) override;

    void SetFloatingHints(WindowHandle window) override;
    void WatchHost(WindowHandle window, std::function<void(HostChange)> onChange) override;
    void WatchForNewWindows(std::function<void()> onNewWindows) override;

  private:
    static LRESULT CALLBACK HostWatch(HWND window, UINT message, WPARAM wParam, LPARAM lParam,
                                      UINT_PTR id, DWORD_PTR finder);
    void Unwatch();
    void Tell(HostChange change);
    HWND Notices();
    std::optional<LRESULT> OnNotice(UINT message, WPARAM wParam, LPARAM lParam);

    std::unique_ptr<HiddenWindow> notices_;
    const UINT taskbarCreated_;
    HWND watched_ = nullptr;
    bool held_ = false;       // the watched window has a parent
    LPARAM watchNumber_ = 0;  // tells the notices of an ended watch from those of the present one
    std::function<void(HostChange)> onHostChange_;
    std::function<void()> onNewWindows_;
    bool newWindowsQueued_ = false;
};

}  // namespace tikora
