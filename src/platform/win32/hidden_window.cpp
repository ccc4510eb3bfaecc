// SPDX-License-Identifier: MIT
#include "win32/hidden_window.h"

namespace tikora {
namespace {

constexpr wchar_t kClassName[] = L"TikoraHiddenWindow";

void RegisterClassOnce(HINSTANCE instance, WNDPROC procedure) {
    static const bool registered = [&] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = instance;
        windowClass.lpszClassName = kClassName;
        return RegisterClassExW(&windowClass) != 0;
    }();
    static_cast<void>(registered);
}

}  // namespace

HiddenWindow::HiddenWindow(Handler handler, const wchar_t* name) : handler_(std::move(handler)) {
    const HINSTANCE instance = GetModuleHandleW(nullptr);
    RegisterClassOnce(instance, Procedure);
    // A tool window, so that it could never show in the taskbar or Alt+Tab.
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kClassName, name, WS_POPUP, 0, 0, 0, 0, nullptr,
                              nullptr, instance, this);
}

HiddenWindow::~HiddenWindow() {
    if (window_ != nullptr) {
        // The messages of its destruction no longer reach a handler that is going away.
        SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
        DestroyWindow(window_);
    }
}

LRESULT CALLBACK HiddenWindow::Procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        const auto* creation = reinterpret_cast<const CREATESTRUCTW*>(lParam);
        SetWindowLongPtrW(window, GWLP_USERDATA,
                          reinterpret_cast<LONG_PTR>(creation->lpCreateParams));
    }
    auto* self = reinterpret_cast<HiddenWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self != nullptr && self->handler_) {
        if (const std::optional<LRESULT> answer = self->handler_(message, wParam, lParam)) {
            return *answer;
        }
    }
    // A close from outside would take the window, and the wake or the notices it carries, away
    // for good while the program runs on: only a handler that ends the program may answer it.
    if (message == WM_CLOSE) {
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tikora
