// SPDX-License-Identifier: MIT
#include "win32/dialog_window.h"

#include "platform/screen_metrics.h"
#include "shared/numeric.h"
#include "win32/wide_text.h"

namespace tikora {
namespace {

constexpr wchar_t kWindowClass[] = L"TikoraDialog";
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU;

HINSTANCE Instance() {
    return GetModuleHandleW(nullptr);
}

void RegisterWindowClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpszClassName = kWindowClass;
        windowClass.hInstance = Instance();
        windowClass.lpfnWndProc = procedure;
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.hbrBackground = GetSysColorBrush(COLOR_BTNFACE);
        return RegisterClassExW(&windowClass) != 0;
    }();
    static_cast<void>(registered);
}

HFONT MakeFont(FontKind kind) {
    // 8.25 points at the screen's logical dots per inch.
    const int height = -RoundHalfEven(8.25 * 1440.0 / ScreenTwipsPerPixelY() / 72.0);
    const bool bold = kind == FontKind::DesignBold;
    return CreateFontW(height, 0, 0, 0, bold ? FW_BOLD : FW_NORMAL, FALSE, FALSE, FALSE,
                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                       DEFAULT_PITCH | FF_SWISS,
                       kind == FontKind::Arial ? L"Arial" : L"Trebuchet MS");
}

}  // namespace

int TwipsToPixelsX(int twips) {
    return RoundHalfEven(twips / ScreenTwipsPerPixelX());
}

int TwipsToPixelsY(int twips) {
    return RoundHalfEven(twips / ScreenTwipsPerPixelY());
}

DialogWindow::DialogWindow(const wchar_t* caption, int widthTwips, int heightTwips) {
    RegisterWindowClass(&WindowProc);
    RECT frame{0, 0, TwipsToPixelsX(widthTwips), TwipsToPixelsY(heightTwips)};
    AdjustWindowRectEx(&frame, kStyle, FALSE, 0);
    window_ = CreateWindowExW(0, kWindowClass, caption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT,
                              frame.right - frame.left, frame.bottom - frame.top, nullptr, nullptr,
                              Instance(), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SendMessageW(window_, WM_SETFONT, reinterpret_cast<WPARAM>(Font(FontKind::Design)), FALSE);
}

DialogWindow::~DialogWindow() {
    // The window's last messages find no object any more.
    SetWindowLongPtrW(window_, GWLP_USERDATA, 0);
    DestroyWindow(window_);
    for (HFONT font : fonts_) {
        if (font != nullptr) {
            DeleteObject(font);
        }
    }
}

void DialogWindow::Show() const {
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
}

HWND DialogWindow::AddControl(const wchar_t* windowClass, const wchar_t* text, DWORD style,
                              Twips place, int id, FontKind font) {
    const HWND control = CreateWindowExW(
        0, windowClass, text, WS_CHILD | WS_VISIBLE | style, TwipsToPixelsX(place.left),
        TwipsToPixelsY(place.top), TwipsToPixelsX(place.width), TwipsToPixelsY(place.height),
        window_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), Instance(), nullptr);
    SendMessageW(control, WM_SETFONT, reinterpret_cast<WPARAM>(Font(font)), FALSE);
    return control;
}

HFONT DialogWindow::Font(FontKind kind) {
    HFONT& font = fonts_[static_cast<std::size_t>(kind)];
    if (font == nullptr) {
        font = MakeFont(kind);
    }
    return font;
}

LRESULT DialogWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    return DefWindowProcW(window_, message, wParam, lParam);
}

LRESULT CALLBACK DialogWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    return self != nullptr ? self->OnMessage(message, wParam, lParam)
                           : DefWindowProcW(window, message, wParam, lParam);
}

std::string TextOf(HWND window) {
    std::wstring text(static_cast<std::size_t>(GetWindowTextLengthW(window)) + 1, L'\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextW(window, text.data(), static_cast<int>(text.size()))));
    return Narrow(text);
}

void SetText(HWND window, const std::string& text) {
    SetWindowTextW(window, Widen(text).c_str());
}

}  // namespace tikora
