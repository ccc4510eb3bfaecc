// SPDX-License-Identifier: MIT
#include "win32/frmMenu.h"

#include <string>
#include <vector>

#include "modules/modMain.h"
#include "platform/process_starter.h"
#include "shared/modDefs.h"
#include "shared/numeric.h"
#include "win32/frmAbout.h"
#include "win32/frmChangeSkin.h"
#include "win32/frmPrefs.h"

namespace tikora {

FormInstance<MenuWindow> frmMenu;

namespace {

constexpr wchar_t kWindowClass[] = L"TikoraMenu";

// The system's date and time applet, started minimised.
const std::string kDateTimeProgram = "rundll32.exe";
const std::vector<std::string> kDateTimeArguments = {"shell32.dll,Control_RunDLL", "timedate.cpl"};

void RegisterWindowClass(WNDPROC procedure) {
    static const bool registered = [procedure] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof(windowClass);
        windowClass.lpfnWndProc = procedure;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpszClassName = kWindowClass;
        return RegisterClassExW(&windowClass) != 0;
    }();
    static_cast<void>(registered);
}

int TwipsToPixels(double twips) {
    const int twipsPerPixel = DockState.TwipsPerPixelX > 0 ? DockState.TwipsPerPixelX : 15;
    return RoundHalfEven(twips / twipsPerPixel);
}

}  // namespace

MenuWindow::MenuWindow() {
    RegisterWindowClass(&MenuWindow::WindowProc);
    window_ = CreateWindowExW(WS_EX_TOOLWINDOW, kWindowClass, L":: Tikora [ Menu ] ::", WS_POPUP, 0,
                              0, TwipsToPixels(2700), TwipsToPixels(30), nullptr, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    mnuMain = CreatePopupMenu();
    AppendMenuW(mnuMain, MF_STRING, mnuAdjust, L"&Adjust Date/Time");
    AppendMenuW(mnuMain, MF_STRING, mnuPreferences, L"&Preferences");
    AppendMenuW(mnuMain, MF_SEPARATOR, mnuSep2, nullptr);
    AppendMenuW(mnuMain, MF_STRING | MF_CHECKED, mnuBeat, L"&Internet Time (.beat)");
    AppendMenuW(mnuMain, MF_SEPARATOR, mnuSep0, nullptr);
    AppendMenuW(mnuMain, MF_STRING, mnuChangeSkin, L"&Change Skin");
    AppendMenuW(mnuMain, MF_SEPARATOR, mnuSep1, nullptr);
    AppendMenuW(mnuMain, MF_STRING, mnuAbout, L"A&bout");
    AppendMenuW(mnuMain, MF_STRING, mnuExit, L"&Exit");
}

MenuWindow::~MenuWindow() {
    DestroyMenu(mnuMain);
    DestroyWindow(window_);
}

void MenuWindow::PopupMenu(POINT at) {
    // The usual pattern for a menu whose owner is not the active window: the owner comes forward
    // first, or the menu ignores its keys and stays open after a click elsewhere; the message
    // posted after lets it close at once.
    SetForegroundWindow(window_);
    const UINT chosen = static_cast<UINT>(TrackPopupMenu(
        mnuMain, TPM_RETURNCMD | TPM_NONOTIFY | TPM_RIGHTBUTTON, at.x, at.y, 0, window_, nullptr));
    PostMessageW(window_, WM_NULL, 0, 0);
    if (chosen != 0) {
        Command(chosen);
    }
}

void MenuWindow::Command(UINT item) {
    switch (item) {
        case mnuAdjust:
            mnuAdjust_Click();
            break;
        case mnuPreferences:
            mnuPreferences_Click();
            break;
        case mnuBeat:
            mnuBeat_Click();
            break;
        case mnuChangeSkin:
            mnuChangeSkin_Click();
            break;
        case mnuAbout:
            mnuAbout_Click();
            break;
        case mnuExit:
            mnuExit_Click();
            break;
        default:
            break;
    }
}

bool MenuWindow::BeatChecked() const {
    return (GetMenuState(mnuMain, mnuBeat, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

void MenuWindow::SetBeatChecked(bool checked) {
    CheckMenuItem(mnuMain, mnuBeat, MF_BYCOMMAND | (checked ? MF_CHECKED : MF_UNCHECKED));
}

void MenuWindow::mnuAdjust_Click() {
    // The design says nothing when the applet can't be started; the user is told all the same.
    if (!StartDetached(kDateTimeProgram, kDateTimeArguments)) {
        std::string commandLine = kDateTimeProgram;
        for (const std::string& argument : kDateTimeArguments) {
            commandLine += " " + argument;
        }
        ShowError("Could not start " + commandLine + ".", false);
    }
}

void MenuWindow::mnuPreferences_Click() {
    ShowPrefs();
}

void MenuWindow::mnuBeat_Click() {
    if (BeatChecked()) {
        SetBeatChecked(false);
        ClockSettings.BeatTime = false;
    } else {
        SetBeatChecked(true);
        ClockSettings.BeatTime = true;
    }
    SaveSettings();  // a choice is kept as soon as it is made
}

void MenuWindow::mnuChangeSkin_Click() {
    ShowChangeSkin();
}

void MenuWindow::mnuAbout_Click() {
    ShowAbout();
}

void MenuWindow::mnuExit_Click() {
    ExitProgram();
}

LRESULT CALLBACK MenuWindow::WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_CLOSE) {
        return 0;  // the program ends through ExitProgram only
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

}  // namespace tikora
