// SPDX-License-Identifier: MIT
#include "win32/frmMain.h"

#include <commctrl.h>
#include <windowsx.h>

#include <cstring>
#include <utility>

#include "clock/internet_time.h"
#include "modules/clock_face.h"
#include "modules/face_picture.h"
#include "modules/modMain.h"
#include "platform/clock_wake.h"
#include "platform/screen_metrics.h"
#include "platform/services.h"
#include "shared/modDefs.h"
#include "shared/numeric.h"
#include "win32/frmMenu.h"

namespace tikora {

FormInstance<ClockWindow> frmMain;

namespace {

constexpr wchar_t kWindowClass[] = L"TikoraClock";
constexpr UINT kRedrawMessage = WM_APP + 1;
constexpr int kDesignWidthTwips = 1335;
constexpr int kDesignHeightTwips = 885;
constexpr int kTimeBoxWidth = 57;
constexpr int kTimeBoxHeight = 17;

void RegisterWindowClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.hCursor = LoadCursorW(nullptr, IDC_ARROW);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    static_cast<void>(registered);
}

// Puts `frame` on the window's device context: a DIB section takes its pixels (0xAARRGGBB is
// the DIB's own 32-bit layout), and one BitBlt copies it onto the window.
void BlitFrame(HDC target, const PixelBuffer& frame) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof(info.bmiHeader);
    info.bmiHeader.biWidth = frame.Width();
    info.bmiHeader.biHeight = -frame.Height();  // rows top to bottom, as the buffer keeps them
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    HBITMAP section = CreateDIBSection(target, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    if (section == nullptr) {
        return;
    }
    std::memcpy(bits, frame.Data(),
                static_cast<std::size_t>(frame.BytesPerLine()) * frame.Height());
    HDC source = CreateCompatibleDC(target);
    HGDIOBJ previous = SelectObject(source, section);
    BitBlt(target, 0, 0, frame.Width(), frame.Height(), source, 0, 0, SRCCOPY);
    SelectObject(source, previous);
    DeleteDC(source);
    DeleteObject(section);
}

// The date and time in the user's long formats, as the clock's tip shows them.
std::wstring LongDateAndTime(const LocalTime& now) {
    SYSTEMTIME when{};
    when.wYear = static_cast<WORD>(now.year);
    when.wMonth = static_cast<WORD>(now.month);
    when.wDay = static_cast<WORD>(now.day);
    when.wHour = static_cast<WORD>(now.hour);
    when.wMinute = static_cast<WORD>(now.minute);
    when.wSecond = static_cast<WORD>(now.second);
    wchar_t date[128] = L"";
    wchar_t time[64] = L"";
    GetDateFormatEx(LOCALE_NAME_USER_DEFAULT, DATE_LONGDATE, &when, nullptr, date, 128, nullptr);
    GetTimeFormatEx(LOCALE_NAME_USER_DEFAULT, 0, &when, nullptr, time, 64);
    return std::wstring(date) + L" " + time;
}

// A tip over the whole window whose text is asked for each time it shows; shown although the
// clock is never the active window. The tip has no owner: an owned window would come between its
// owner and the topmost band that a floating clock goes into.
HWND AddDateTip(HWND window) {
    static const bool tipsRegistered = [] {
        const INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    static_cast<void>(tipsRegistered);
    HWND tip = CreateWindowExW(WS_EX_TOPMOST, TOOLTIPS_CLASSW, nullptr,
                               WS_POPUP | TTS_ALWAYSTIP | TTS_NOPREFIX, CW_USEDEFAULT,
                               CW_USEDEFAULT, CW_USEDEFAULT, CW_USEDEFAULT, nullptr, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
    TOOLINFOW tool{};
    tool.cbSize = sizeof(tool);
    tool.uFlags = TTF_IDISHWND | TTF_SUBCLASS;
    tool.hwnd = window;
    tool.uId = reinterpret_cast<UINT_PTR>(window);
    tool.lpszText = LPSTR_TEXTCALLBACKW;
    SendMessageW(tip, TTM_ADDTOOLW, 0, reinterpret_cast<LPARAM>(&tool));
    return tip;
}

}  // namespace

ClockWindow::ClockWindow() {
    NewHostWindow();
    Resize(RoundHalfEven(kDesignWidthTwips / ScreenTwipsPerPixelX()),
           RoundHalfEven(kDesignHeightTwips / ScreenTwipsPerPixelY()));
    picBuffer.SetSize(width(), height());
    // The time box's design-time size, in pixels: one line of the clock's text.
    picTime.Width = kTimeBoxWidth;
    picTime.Height = kTimeBoxHeight;
    tmrClock.OnTimer([this] { tmrClock_Timer(); });
}

ClockWindow::~ClockWindow() {
    filter_ = nullptr;
    DestroyOwnWindow();
}

void ClockWindow::Form_Load() {
    StartProgram();
}

void ClockWindow::tmrClock_Timer() {
    // One reading of the clock and one of the zone serve the whole frame, so that its texts can
    // never straddle a second.
    TickReading reading;
    reading.now = Platform().time->Now();
    Get_TimeZone(reading.zoneOffset);
    const ClockFace face = FaceOf(SkinSettings, ClockSettings);
    const ClockFrame frame = ComposeFrame(reading, face, width(), height());
    picBuffer.Uncover({0, 0, width(), height()});
    if (face.displayImage) {
        DrawShownGlyphs(frame);
    } else {
        DrawShownText(frame.text);
    }
    // The copy onto the window (WM_PAINT), unless the window shows this very frame already, as it
    // does for all but one tick in a minute: then nothing is painted at all.
    if (window_ != nullptr &&
        !shownFrame_.Shows(picBuffer.image, width(), height(), ColorRefToArgb(backColor_))) {
        InvalidateRect(window_, nullptr, FALSE);
    }
    tmrClock.Arm(UntilShownTextChanges(reading, face));
}

void ClockWindow::RedrawSoon() {
    if (window_ == nullptr || std::exchange(redrawPending_, true)) {
        return;
    }
    PostMessageW(window_, kRedrawMessage, 0, 0);
}

void ClockWindow::DrawShownGlyphs(const ClockFrame& frame) {
    picBuffer.Clear();
    for (const GlyphCopy& copy : frame.glyphs) {
        DrawGlyph(copy);
    }
}

void ClockWindow::DrawGlyph(const GlyphCopy& copy) {
    CopyGlyph(picBuffer, picSkin.picture, copy);
}

void ClockWindow::DrawShownText(const std::string& text) {
    DrawCentredText(picBuffer, textPainter_, text, BufferFont(), width(), height());
}

TextExtent ClockWindow::MeasureText(const std::string& text) {
    return textPainter_.Measure(text, BufferFont());
}

FontSpec ClockWindow::BufferFont() const {
    return BufferFontOf(picBuffer);
}

void ClockWindow::Get_TimeZone(std::int32_t& offset) const {
    offset = ZoneOffsetMinutes(Platform().zone->Read());
}

void ClockWindow::SetBackColor(std::uint32_t colorRef) {
    backColor_ = colorRef;
    // Only a skin being applied sets it; the rest of the skin follows in the same handler.
    RedrawSoon();
}

int ClockWindow::width() const {
    RECT client{};
    return window_ != nullptr && GetClientRect(window_, &client) ? client.right : 0;
}

int ClockWindow::height() const {
    RECT client{};
    return window_ != nullptr && GetClientRect(window_, &client) ? client.bottom : 0;
}

void ClockWindow::Move(int left, int top) {
    SetWindowPos(window_, nullptr, left, top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void ClockWindow::Resize(int width, int height) {
    SetWindowPos(window_, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
    shownFrame_.Forget();
}

void ClockWindow::Show() {
    ShowWindow(window_, SW_SHOWNOACTIVATE);
}

void ClockWindow::NewHostWindow() {
    const int oldWidth = width();
    const int oldHeight = height();
    DestroyOwnWindow();
    RegisterWindowClass(&ClockWindow::WindowProc);
    shownFrame_.Forget();
    redrawPending_ = false;
    CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L":: Tikora ::", WS_POPUP, 0, 0, oldWidth,
                    oldHeight, nullptr, nullptr, GetModuleHandleW(nullptr), this);
    if (window_ != nullptr) {
        dateTipWindow_ = AddDateTip(window_);
    }
}

void ClockWindow::MakeChild() {
    // A window that another one takes in is a child window, not a popup. Its other styles, such
    // as being shown, stay as they are.
    const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    SetWindowLongPtrW(window_, GWL_STYLE, (style & ~WS_POPUP) | WS_CHILD | WS_CLIPSIBLINGS);
    SetWindowPos(window_, nullptr, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void ClockWindow::MakeFloating() {
    const LONG_PTR style = GetWindowLongPtrW(window_, GWL_STYLE);
    SetWindowLongPtrW(window_, GWL_STYLE, (style & ~WS_CHILD) | WS_POPUP);
    const LONG_PTR extended = GetWindowLongPtrW(window_, GWL_EXSTYLE);
    SetWindowLongPtrW(window_, GWL_EXSTYLE, extended | WS_EX_TOOLWINDOW | WS_EX_NOACTIVATE);
    // Topmost only through SetWindowPos.
    SetWindowPos(window_, HWND_TOPMOST, 0, 0, 0, 0,
                 SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE | SWP_FRAMECHANGED);
}

void ClockWindow::DestroyOwnWindow() {
    // Forgotten first: the messages of its going are not a host taking it away.
    if (HWND old = std::exchange(window_, nullptr)) {
        DestroyWindow(old);
    }
    if (HWND tip = std::exchange(dateTipWindow_, nullptr)) {
        DestroyWindow(tip);
    }
}

PixelBuffer ClockWindow::Frame() {
    const int frameWidth = width();
    const int frameHeight = height();
    picBuffer.Uncover({0, 0, frameWidth, frameHeight});
    PixelBuffer frame(frameWidth, frameHeight, ColorRefToArgb(backColor_));
    BlockCopy(frame, 0, 0, frameWidth, frameHeight, picBuffer.image, 0, 0);
    return frame;
}

void ClockWindow::OnPaint() {
    PAINTSTRUCT paint;
    HDC target = BeginPaint(window_, &paint);
    const int frameWidth = width();
    const int frameHeight = height();
    // Also serves exposures between ticks, so an uncovered window shows the last frame at once.
    const PixelBuffer frame = Frame();
    if (paint.rcPaint.left <= 0 && paint.rcPaint.top <= 0 && paint.rcPaint.right >= frameWidth &&
        paint.rcPaint.bottom >= frameHeight) {
        shownFrame_.Remember(picBuffer.image, frameWidth, frameHeight, ColorRefToArgb(backColor_));
    } else {
        shownFrame_.Forget();  // part of the window would show one frame, part another
    }
    if (!frame.Empty()) {
        BlitFrame(target, frame);
    }
    EndPaint(window_, &paint);
}

LRESULT CALLBACK ClockWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_NCCREATE) {
        auto* clock =
            static_cast<ClockWindow*>(reinterpret_cast<CREATESTRUCTW*>(lParam)->lpCreateParams);
        clock->window_ = window;
        SetWindowLongPtrW(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(clock));
    }
    auto* clock = reinterpret_cast<ClockWindow*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (clock == nullptr || clock->window_ != window) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (clock->filter_ && clock->filter_(message, wParam, lParam)) {
        return 0;
    }
    return clock->OnMessage(window, message, wParam, lParam);
}

LRESULT ClockWindow::OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_ERASEBKGND:
            return 1;  // the frame covers every pixel
        case kRedrawMessage:
            redrawPending_ = false;
            if (tmrClock.isActive()) {
                tmrClock_Timer();
            }
            return 0;
        case WM_MOUSEACTIVATE:
            return MA_NOACTIVATE;  // the clock never takes the focus from the user's window
        case WM_LBUTTONUP:
        case WM_RBUTTONUP: {
            POINT at{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)};
            ClientToScreen(window, &at);
            Form_Click(at);
            return 0;
        }
        case WM_NOTIFY:
            if (auto* tip = reinterpret_cast<NMTTDISPINFOW*>(lParam);
                tip->hdr.code == TTN_GETDISPINFOW) {
                dateTip_ = LongDateAndTime(Platform().time->Now());
                tip->lpszText = dateTip_.data();
                return 0;
            }
            break;
        case WM_CLOSE:
            return 0;  // the program ends through ExitProgram only
        case WM_NCDESTROY:
            window_ = nullptr;  // its host took it down
            break;
        default:
            break;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void ClockWindow::Form_Click(POINT mousePosition) {
    frmMenu->PopupMenu(mousePosition);
    // A command such as "&Internet Time (.beat)" changes what the clock shows; the redraw comes
    // once the command's own handler has run.
    RedrawSoon();
}

}  // namespace tikora
