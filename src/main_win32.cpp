// SPDX-License-Identifier: MIT
#include <windows.h>

#include <shellapi.h>

#include <cstdio>
#include <optional>
#include <string>
#include <vector>

#include "modules/modMain.h"
#include "platform/settings_location.h"
#include "shared/command_line.h"
#include "win32/dialog_window.h"
#include "win32/frmMain.h"
#include "win32/hidden_window.h"
#include "win32/system_services.h"
#include "win32/wide_text.h"

namespace {

// One clock per user session: the name lives in the session's own namespace.
constexpr wchar_t kInstanceName[] = L"Local\\Vardo Software.Tikora.Clock";
// The title of the hidden window that ends the clock on WM_CLOSE: the installer finds it by that.
constexpr wchar_t kSessionWindowName[] = L"Tikora";

std::vector<std::string> Arguments() {
    int count = 0;
    wchar_t** words = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 1; i < count; ++i) {
        arguments.push_back(tikora::Narrow(words[i]));
    }
    LocalFree(words);
    return arguments;
}

// A program of the Windows subsystem has no console of its own: its answers to --help and
// --version go to the console it was started from, if any.
void Tell(FILE* stream, const std::string& text) {
    if (AttachConsole(ATTACH_PARENT_PROCESS)) {
        static_cast<void>(std::freopen("CONOUT$", "w", stream));
    }
    std::fputs(text.c_str(), stream);
    std::fflush(stream);
}

// The session's end and a request from outside to close (taskkill without /f) end the clock the
// way "Exit" does; the settings are saved already when the session asks whether it may end, in
// case it ends without waiting for the answer of every program.
// Nobody may be there to close an error box: a failed save is told on standard error alone.
constexpr auto kNobodyToAsk = tikora::SaveFailureReport::StandardErrorOnly;

std::optional<LRESULT> OnSessionMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case WM_QUERYENDSESSION:
            tikora::SaveSettings(kNobodyToAsk);
            return TRUE;
        case WM_ENDSESSION:
            if (wParam) {
                tikora::ExitProgram(EXIT_SUCCESS, kNobodyToAsk);
            }
            return 0;
        case WM_CLOSE:
            tikora::ExitProgram(EXIT_SUCCESS, kNobodyToAsk);
        default:
            return std::nullopt;
    }
}

// Where the clock of the copy that runs already is: in the taskbar's clock, or floating.
std::wstring RunningClockPlace() {
    HWND host = FindWindowW(L"Shell_TrayWnd", nullptr);
    for (const wchar_t* inner : {L"TrayNotifyWnd", L"TrayClockWClass"}) {
        host = host != nullptr ? FindWindowExW(host, nullptr, inner, nullptr) : nullptr;
    }
    if (host != nullptr && FindWindowExW(host, nullptr, L"TikoraClock", nullptr) != nullptr) {
        return L"Its clock is in the taskbar, over the taskbar's own clock.";
    }
    const HWND floating = FindWindowW(L"TikoraClock", nullptr);
    RECT place{};
    if (floating != nullptr && IsWindowVisible(floating) && GetWindowRect(floating, &place)) {
        return L"Its clock floats on the screen at " + std::to_wstring(place.left) + L", " +
               std::to_wstring(place.top) + L".";
    }
    return L"Its clock is not shown at the moment.";
}

// A second start tells the user, who would otherwise see nothing happen, where the clock is.
void TellAlreadyRunning() {
    const std::wstring text = L"Tikora is already running. " + RunningClockPlace();
    MessageBoxW(nullptr, text.c_str(), L":: Tikora ::",
                MB_OK | MB_ICONINFORMATION | MB_SETFOREGROUND | MB_TOPMOST);
}

HWND sessionWindow = nullptr;

// Ctrl+C or a closed console window, on a thread of their own: the clock's thread ends it.
BOOL WINAPI OnConsoleEvent(DWORD) {
    PostMessageW(sessionWindow, WM_CLOSE, 0, 0);
    return TRUE;
}

int RunMessageLoop() {
    MSG message;
    while (GetMessageW(&message, nullptr, 0, 0) > 0) {
        if (tikora::DialogKey(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageW(&message);
    }
    return 0;
}

}  // namespace

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
    using tikora::CommandLineRequest;
    switch (tikora::ReadCommandLine(Arguments())) {
        case CommandLineRequest::ShowHelp:
            Tell(stdout, tikora::UsageText("tikora", tikora::UserSettingsFile()));
            return 0;
        case CommandLineRequest::ShowVersion:
            Tell(stdout, "tikora " TIKORA_VERSION "\n");
            return 0;
        case CommandLineRequest::Unknown:
            Tell(stderr, tikora::CommandLineError("tikora", Arguments()) +
                             tikora::UsageText("tikora", tikora::UserSettingsFile()));
            return 2;
        case CommandLineRequest::RunClock:
            break;
    }
    // Held until the process ends; the system closes it then.
    CreateMutexW(nullptr, FALSE, kInstanceName);
    if (GetLastError() == ERROR_ALREADY_EXISTS) {
        TellAlreadyRunning();
        return 0;
    }
    tikora::InstallSystemServices();
    const tikora::HiddenWindow session(OnSessionMessage, kSessionWindowName);
    sessionWindow = session.Handle();
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
    // Creating the clock window runs the whole start-up; it is shown once that has returned.
    tikora::frmMain->Show();
    return RunMessageLoop();
}
