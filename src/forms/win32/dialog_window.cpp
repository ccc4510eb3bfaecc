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
        windowClass.hIcon = ProgramIcon(SM_CXICON);
        windowClass.hIconSm = ProgramIcon(SM_CXSMICON);
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
    const bool first = !IsWindowVisible(window_);
    ShowWindow(window_, SW_SHOWNORMAL);
    SetForegroundWindow(window_);
    if (first) {
        SetFocus(GetNextDlgTabItem(window_, nullptr, FALSE));
    }
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

// Enter presses the button that has the focus, as in a dialog box, else the window's default.
LRESULT DialogWindow::DefaultButtonAnswer() const {
    const HWND focus = GetFocus();
    constexpr LRESULT kButton = DLGC_DEFPUSHBUTTON | DLGC_UNDEFPUSHBUTTON;
    const int id = IsChild(window_, focus) && (SendMessageW(focus, WM_GETDLGCODE, 0, 0) & kButton)
                       ? GetDlgCtrlID(focus)
                       : DefaultButton();
    return id != 0 ? MAKELRESULT(id, DC_HASDEFID) : 0;
}

LRESULT CALLBACK DialogWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    auto* self = reinterpret_cast<DialogWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    switch (message) {
        case DM_GETDEFID:
            return self->DefaultButtonAnswer();
        case WM_COMMAND:
            if (LOWORD(wParam) == IDCANCEL) {
                return self->OnMessage(WM_CLOSE, 0, 0);  // Escape
            }
            break;
        case WM_ACTIVATE:
            // A plain window forgets which control had the focus when the user goes elsewhere.
            if (LOWORD(wParam) == WA_INACTIVE) {
                const HWND focus = GetFocus();
                self->focus_ = IsChild(window, focus) ? focus : self->focus_;
            } else if (IsChild(window, self->focus_)) {
                SetFocus(self->focus_);
                return 0;
            }
            break;
        default:
            break;
    }
    return self->OnMessage(message, wParam, lParam);
}

bool DialogKey(MSG& message) {
    const HWND active = GetActiveWindow();
    return active != nullptr && IsDialogMessageW(active, &message);
}

// The executable's icon 1 (its resources), the system's application icon where it has none.
HICON ProgramIcon(int metric) {
    const int size = GetSystemMetrics(metric);
    const auto icon = static_cast<HICON>(
        LoadImageW(Instance(), MAKEINTRESOURCEW(1), IMAGE_ICON, size, size, LR_SHARED));
    return icon != nullptr ? icon : LoadIconW(nullptr, IDI_APPLICATION);
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
