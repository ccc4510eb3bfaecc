// SPDX-License-Identifier: MIT
// tikora-fixture-taskbar.exe: a stand-in for the Windows taskbar, for the end-to-end test under
// Wine. A strip of class "Shell_TrayWnd" along the bottom of the screen, inside it a
// "TrayNotifyWnd", inside that a 60 x 22 "TrayClockWClass" at its right end. Prints one line with
// the clock window's place on the screen, then one line each time the clock window's children
// change, so that the test sees where the clock docked:
//   clock LEFT TOP WIDTH HEIGHT
//   children first=yes|no [CLASS|CAPTION|X|Y|WIDTH|HEIGHT|visible|hidden] ...
// first= says whether a search for the top-level "Shell_TrayWnd" finds this strip rather than
// Wine's own; X and Y are relative to the clock window's client area. Repaints the clock's children
// as Windows would after an exposure (see RepaintChildren). Tells every top-level window
// "TaskbarCreated" once its windows stand, as Explorer does. Runs until it is ended.

#include <windows.h>

#include <cstdio>
#include <string>

namespace {

constexpr int kClockWidth = 60;
constexpr int kClockHeight = 22;
constexpr int kBarHeight = kClockHeight + 8;
constexpr int kNotifyWidth = kClockWidth + 40;
constexpr UINT_PTR kWatchTimer = 1;
constexpr UINT kWatchMilliseconds = 50;

// Wine 8 draws a child window of another process into the X window it finds in this property of
// the child's parent; only top-level windows get it, so the inner windows carry their strip's.
constexpr char kWineWholeWindow[] = "__wine_x11_whole_window";

HWND taskbar = nullptr;
HWND trayClock = nullptr;
std::string lastReport;

LRESULT CALLBACK FixtureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

void RegisterFixtureClass(const char* name, COLORREF colour) {
    WNDCLASSA windowClass{};
    windowClass.lpfnWndProc = FixtureProc;
    windowClass.hInstance = GetModuleHandleA(nullptr);
    windowClass.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));  // IDC_ARROW
    windowClass.hbrBackground = CreateSolidBrush(colour);
    windowClass.lpszClassName = name;
    RegisterClassA(&windowClass);
}

HWND MakeChild(const char* name, HWND parent, int x, int y, int width, int height) {
    return CreateWindowExA(0, name, name, WS_CHILD | WS_VISIBLE | WS_CLIPCHILDREN, x, y, width,
                           height, parent, nullptr, GetModuleHandleA(nullptr), nullptr);
}

// The names printed are plain ASCII, so the A calls read them as they are.
std::string DescribeChild(HWND child) {
    char className[256] = "";
    char caption[256] = "";
    GetClassNameA(child, className, sizeof className);
    GetWindowTextA(child, caption, sizeof caption);
    RECT place{};
    GetWindowRect(child, &place);
    MapWindowPoints(HWND_DESKTOP, trayClock, reinterpret_cast<POINT*>(&place), 2);
    return " [" + std::string(className) + '|' + caption + '|' + std::to_string(place.left) + '|' +
           std::to_string(place.top) + '|' + std::to_string(place.right - place.left) + '|' +
           std::to_string(place.bottom - place.top) + '|' +
           (IsWindowVisible(child) ? "visible" : "hidden") + ']';
}

void ReportChildren() {
    std::string line = "children first=";
    line += FindWindowA("Shell_TrayWnd", nullptr) == taskbar ? "yes" : "no";
    for (HWND child = GetWindow(trayClock, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        line += DescribeChild(child);
    }
    if (line != lastReport) {
        lastReport = line;
        std::printf("%s\n", line.c_str());
        std::fflush(stdout);
    }
}

// Windows repaints the children of an uncovered window; Wine 8 restores only the strip's own
// pixels, from its copy of them, over a child that another process draws, and tells nobody. So
// when a menu over the clock goes, the clock would show this window's grey until its next tick,
// which in Internet Time can be 86 seconds away. The watch stands in for that repaint.
void RepaintChildren() {
    for (HWND child = GetWindow(trayClock, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        RedrawWindow(child, nullptr, nullptr, RDW_INVALIDATE | RDW_NOERASE);
    }
}

LRESULT CALLBACK FixtureProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_TIMER && wParam == kWatchTimer) {
        ReportChildren();
        RepaintChildren();
        return 0;
    }
    if (message == WM_DESTROY && window == taskbar) {
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

}  // namespace

int main() {
    RegisterFixtureClass("Shell_TrayWnd", RGB(0x3C, 0x4A, 0x5A));
    RegisterFixtureClass("TrayNotifyWnd", RGB(0x26, 0x30, 0x3A));
    RegisterFixtureClass("TrayClockWClass", RGB(0xC0, 0xC0, 0xC0));
    const int screenWidth = GetSystemMetrics(SM_CXSCREEN);
    const int screenHeight = GetSystemMetrics(SM_CYSCREEN);
    // Topmost, so that FindWindow meets it before the hidden taskbar of Wine's own desktop.
    taskbar = CreateWindowExA(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, "Shell_TrayWnd", nullptr,
                              WS_POPUP | WS_VISIBLE | WS_CLIPCHILDREN, 0, screenHeight - kBarHeight,
                              screenWidth, kBarHeight, nullptr, nullptr, GetModuleHandleA(nullptr),
                              nullptr);
    const HWND notify = MakeChild("TrayNotifyWnd", taskbar, screenWidth - kNotifyWidth - 4, 2,
                                  kNotifyWidth, kBarHeight - 4);
    trayClock = MakeChild("TrayClockWClass", notify, kNotifyWidth - kClockWidth - 8, 2, kClockWidth,
                          kClockHeight);
    if (taskbar == nullptr || notify == nullptr || trayClock == nullptr) {
        std::fprintf(stderr, "fixture-taskbar: cannot create the windows\n");
        return 1;
    }
    UpdateWindow(taskbar);
    const HANDLE wholeWindow = GetPropA(taskbar, kWineWholeWindow);
    SetPropA(notify, kWineWholeWindow, wholeWindow);
    SetPropA(trayClock, kWineWholeWindow, wholeWindow);

    RECT place{};
    GetWindowRect(trayClock, &place);
    std::printf("clock %ld %ld %ld %ld\n", place.left, place.top, place.right - place.left,
                place.bottom - place.top);
    ReportChildren();
    SetTimer(taskbar, kWatchTimer, kWatchMilliseconds, nullptr);
    PostMessageA(HWND_BROADCAST, RegisterWindowMessageA("TaskbarCreated"), 0, 0);
    MSG message;
    while (GetMessageA(&message, nullptr, 0, 0) > 0) {
        DispatchMessageA(&message);
    }
    return 0;
}
