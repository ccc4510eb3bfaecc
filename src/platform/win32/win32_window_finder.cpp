// SPDX-License-Identifier: MIT
#include "win32/win32_window_finder.h"

#include <commctrl.h>

#include "win32/wide_text.h"

namespace tikora {
namespace {

constexpr UINT_PTR kSubclassId = 1;
constexpr UINT kHostNotice = WM_APP + 1;        // wParam: the HostChange; lParam: the watch
constexpr UINT kNewWindowsNotice = WM_APP + 2;  // once for a burst of broadcasts

HWND ToHwnd(WindowHandle handle) {
    return reinterpret_cast<HWND>(handle);
}

WindowHandle ToHandle(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

bool HasHost(HWND window) {
    return GetAncestor(window, GA_PARENT) != GetDesktopWindow();
}

}  // namespace

Win32WindowFinder::Win32WindowFinder()
    : taskbarCreated_(RegisterWindowMessageW(L"TaskbarCreated")) {}

Win32WindowFinder::~Win32WindowFinder() {
    Unwatch();
}

// Window classes compare without regard to case in user32 itself.
WindowHandle Win32WindowFinder::FindTopLevel(std::string_view windowClass) const {
    if (windowClass.empty()) {
        return 0;
    }
    return ToHandle(FindWindowW(Widen(windowClass).c_str(), nullptr));
}

WindowHandle Win32WindowFinder::FindChild(WindowHandle parent, std::string_view windowClass) const {
    // FindWindowExW would search the top-level windows for a parent of 0.
    if (parent == 0 || windowClass.empty()) {
        return 0;
    }
    return ToHandle(FindWindowExW(ToHwnd(parent), nullptr, Widen(windowClass).c_str(), nullptr));
}

bool Win32WindowFinder::GetWindowRect(WindowHandle window, WindowRect& rect) const {
    RECT found{};
    if (window == 0 || !::GetWindowRect(ToHwnd(window), &found)) {
        return false;
    }
    rect = {found.left, found.top, found.right, found.bottom};
    return true;
}

// SetParent leaves WS_CHILD and WS_POPUP as they were: a window gets WS_CHILD before it goes
// inside another, and WS_POPUP back once it is on the desktop again.
void Win32WindowFinder::SetParent(WindowHandle childId, WindowHandle parentId) {
    const HWND child = ToHwnd(childId);
    const HWND parent = ToHwnd(parentId);
    if (!IsWindow(child) || (parent != nullptr && !IsWindow(parent))) {
        return;
    }
    const LONG_PTR style = GetWindowLongPtrW(child, GWL_STYLE);
    if (parent == nullptr) {
        ::SetParent(child, nullptr);
        SetWindowLongPtrW(child, GWL_STYLE, (style & ~LONG_PTR{WS_CHILD}) | LONG_PTR{WS_POPUP});
        return;
    }
    SetWindowLongPtrW(child, GWL_STYLE, (style & ~LONG_PTR{WS_POPUP}) | LONG_PTR{WS_CHILD});
    if (::SetParent(child, parent) == nullptr) {
        SetWindowLongPtrW(child, GWL_STYLE, style);
    }
}

void Win32WindowFinder::SetFloatingHints(WindowHandle windowId) {
    const HWND window = ToHwnd(windowId);
    if (!IsWindow(window)) {
        return;
    }
    constexpr LONG_PTR kFrame =
        WS_CAPTION | WS_THICKFRAME | WS_SYSMENU | WS_MINIMIZEBOX | WS_MAXIMIZEBOX;
    constexpr LONG_PTR kFrameEdges =
        WS_EX_DLGMODALFRAME | WS_EX_WINDOWEDGE | WS_EX_CLIENTEDGE | WS_EX_STATICEDGE;
    LONG_PTR style = GetWindowLongPtrW(window, GWL_STYLE) & ~kFrame;
    if ((style & WS_CHILD) == 0) {
        style |= WS_POPUP;
    }
    SetWindowLongPtrW(window, GWL_STYLE, style);
    // A tool window stays out of the taskbar and Alt+Tab.
    const LONG_PTR extended = GetWindowLongPtrW(window, GWL_EXSTYLE);
    SetWindowLongPtrW(window, GWL_EXSTYLE,
                      (extended & ~(kFrameEdges | WS_EX_APPWINDOW)) | WS_EX_TOOLWINDOW);
    // Topmost only through SetWindowPos; the frame change makes the new styles count.
    SetWindowPos(window, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void Win32WindowFinder::WatchHost(WindowHandle windowId, std::function<void(HostChange)> onChange) {
    Unwatch();
    ++watchNumber_;
    onHostChange_ = std::move(onChange);
    const HWND window = ToHwnd(windowId);
    if (!onHostChange_ || !IsWindow(window) || Notices() == nullptr) {
        return;
    }
    if (SetWindowSubclass(window, HostWatch, kSubclassId, reinterpret_cast<DWORD_PTR>(this))) {
        watched_ = window;
        held_ = HasHost(window);
    }
}

void Win32WindowFinder::Unwatch() {
    if (watched_ != nullptr) {
        RemoveWindowSubclass(watched_, HostWatch, kSubclassId);
        watched_ = nullptr;
    }
}

// SetParent sends the window no message of its own, but moves it; the parent is compared at each
// message the window gets. A window destroyed while it has a parent went with that parent.
LRESULT CALLBACK Win32WindowFinder::HostWatch(HWND window, UINT message, WPARAM wParam,
                                              LPARAM lParam, UINT_PTR, DWORD_PTR finderData) {
    auto& finder = *reinterpret_cast<Win32WindowFinder*>(finderData);
    switch (message) {
        case WM_DESTROY:
            if (finder.held_) {
                finder.Tell(HostChange::Destroyed);
            }
            break;
        case WM_NCDESTROY:
            finder.Unwatch();
            break;
        default:
            if (HasHost(window) != finder.held_) {
                finder.held_ = !finder.held_;
                finder.Tell(finder.held_ ? HostChange::Embedded : HostChange::Released);
            }
            break;
    }
    return DefSubclassProc(window, message, wParam, lParam);
}

// Told from the message loop, not from inside SetParent or DestroyWindow: the answer moves and
// makes windows.
void Win32WindowFinder::Tell(HostChange change) {
    PostMessageW(Notices(), kHostNotice, static_cast<WPARAM>(change), watchNumber_);
}

void Win32WindowFinder::WatchForNewWindows(std::function<void()> onNewWindows) {
    onNewWindows_ = std::move(onNewWindows);
    if (onNewWindows_) {
        Notices();
    }
}

HWND Win32WindowFinder::Notices() {
    if (!notices_) {
        notices_ =
            std::make_unique<HiddenWindow>([this](UINT message, WPARAM wParam, LPARAM lParam) {
                return OnNotice(message, wParam, lParam);
            });
        // Let the broadcast through to a program that runs elevated, above Explorer.
        ChangeWindowMessageFilterEx(notices_->Handle(), taskbarCreated_, MSGFLT_ALLOW, nullptr);
    }
    return notices_->Handle();
}

std::optional<LRESULT> Win32WindowFinder::OnNotice(UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kHostNotice) {
        if (lParam == watchNumber_ && onHostChange_) {
            const auto onChange = onHostChange_;
            onChange(static_cast<HostChange>(wParam));
        }
        return 0;
    }
    if (message == kNewWindowsNotice) {
        newWindowsQueued_ = false;
        if (onNewWindows_) {
            const auto onNewWindows = onNewWindows_;
            onNewWindows();
        }
        return 0;
    }
    // Explorer made its taskbar anew. Answered later: Explorer waits on each window's answer.
    if (message == taskbarCreated_ && taskbarCreated_ != 0) {
        if (onNewWindows_ && !newWindowsQueued_) {
            newWindowsQueued_ = PostMessageW(notices_->Handle(), kNewWindowsNotice, 0, 0) != 0;
        }
        return 0;
    }
    return std::nullopt;
}

}  // namespace tikora
