// SPDX-License-Identifier: MIT
#include "win32/modMain.h"

#include <windows.h>

#include <cstdio>
#include <cstdlib>

#include "platform/file_search.h"
#include "platform/screen_metrics.h"
#include "shared/modDefs.h"
#include "shared/numeric.h"
#include "win32/frmMain.h"
#include "win32/modSkins.h"
#include "win32/wide_text.h"

namespace tikora {
namespace {

const std::string kProgramName = "Tikora";

ErrorBoxHook& ErrorBox() {
    static ErrorBoxHook hook;
    return hook;
}

void ShowErrorBox(const std::string& title, const std::string& message) {
    if (ErrorBox()) {
        ErrorBox()(title, message);
        return;
    }
    MessageBoxW(nullptr, Widen(message).c_str(), Widen(title).c_str(),
                MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
}

}  // namespace

void StartProgram() {
    InitScreenMetrics();
    FindTrayClock();
    DockToTrayClock();
    LoadSettings();
    if (!LoadSkin(SkinSettings.CurrentSkinPath, SkinSettings.CurrentSkinFile) &&
        !LoadSkin(SkinSettings.DefaultSkinPath, SkinSettings.DefaultSkinFile)) {
        ShowError(kProgramName + " can't load any of the skins properly. " + kProgramName +
                      " will exit! Please submit a valid skin.",
                  true);
    }
    frmMain->tmrClock.start();
}

void InitScreenMetrics() {
    DockState.TwipsPerPixelX = RoundHalfEven(ScreenTwipsPerPixelX());
    DockState.TwipsPerPixelY = RoundHalfEven(ScreenTwipsPerPixelY());
    ClockSettings.BeatTime = true;
}

void ShowError(const std::string& message, bool fatal) {
    ShowErrorBox(":: " + kProgramName + " [ Error Message ] ::", message);
    if (fatal) {
        ExitProgram(EXIT_FAILURE);
    }
}

void ExitProgram(int status) {
    static bool ending = false;
    if (ending) {
        status = EXIT_FAILURE;  // called again while the box of a failed save waits
    } else {
        ending = true;
        if (!SaveSettings()) {
            status = EXIT_FAILURE;
        }
    }
    std::fflush(nullptr);
    // Ends without unwinding: no window's handler and no further tick may run. The system takes
    // the windows down with the process, and the taskbar's own clock shows again.
    std::_Exit(status);
}

bool FileExists(const std::string& path) {
    return FindOrdinaryFile(path);
}

void SetErrorBoxHook(ErrorBoxHook hook) {
    ErrorBox() = std::move(hook);
}

}  // namespace tikora
