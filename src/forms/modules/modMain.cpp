// SPDX-License-Identifier: MIT
#include "modules/modMain.h"

#include <cstdio>
#include <cstdlib>

#include "frmMain.h"
#include "modules/modSkins.h"
#include "platform/file_search.h"
#include "platform/screen_metrics.h"
#include "shared/modDefs.h"
#include "shared/numeric.h"

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
    ShowModalErrorBox(title, message);
}

}  // namespace

void StartProgram() {
    InitScreenMetrics();
    FindTrayClock();
    DockToTrayClock();
    LoadSettings();
    if (!LoadStartSkin(SkinSettings.CurrentSkinPath, SkinSettings.CurrentSkinFile) &&
        !LoadStartSkin(SkinSettings.DefaultSkinPath, SkinSettings.DefaultSkinFile)) {
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

void ExitProgram(int status, SaveFailureReport report) {
    static bool ending = false;
    if (ending) {
        status = EXIT_FAILURE;  // called again while the box of a failed save waits
    } else {
        ending = true;
        if (!SaveSettings(report)) {
            status = EXIT_FAILURE;
        }
    }
    std::fflush(nullptr);
    // Ends without unwinding: no window's close handler and no further timer tick may run.
    std::_Exit(status);
}

bool FileExists(const std::string& path) {
    return FindOrdinaryFile(path);
}

void SetErrorBoxHook(ErrorBoxHook hook) {
    ErrorBox() = std::move(hook);
}

}  // namespace tikora
