// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <functional>
#include <optional>

namespace tikora {

// A hidden top-level window that hands its messages to a function. Top-level rather than
// message-only: the system's broadcasts (time changes, power events, registered messages such as
// "TaskbarCreated") reach top-level windows only. It lives on the thread that made it.
class HiddenWindow {
  public:
    // Answers a message, or gives nothing for the default handling.
    using Handler = std::function<std::optional<LRESULT>(UINT, WPARAM, LPARAM)>;

    // `name` is the window's title, by which another program may find it. A WM_CLOSE that the
    // handler does not answer is ignored.
    explicit HiddenWindow(Handler handler, const wchar_t* name = L"");
    ~HiddenWindow();
    HiddenWindow(const HiddenWindow&) = delete;
    HiddenWindow& operator=(const HiddenWindow&) = delete;

    HWND Handle() const { return window_; }

  private:
    static LRESULT CALLBACK Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    Handler handler_;
    HWND window_ = nullptr;
};

}  // namespace tikora
