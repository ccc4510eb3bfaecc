// SPDX-License-Identifier: MIT
#pragma once

// Start-up and shutdown, and the small procedures the other modules share. The modules in this
// folder are built into each set of windows (Qt, Win32): "frmMain.h" and "frmMenu.h" are that
// set's own.

#include <cstdlib>
#include <functional>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace tikora {

void StartProgram();
void InitScreenMetrics();

// The program's only message to the user: a modal box with the error icon and one OK button. When
// fatal, the program then ends through ExitProgram with a failure status and the call does not
// return.
void ShowError(const std::string& message, bool fatal);

// How a failed save is told: in the error box and on standard error, or on standard error alone
// where nobody may be there to close a box (a termination signal, the session ending).
enum class SaveFailureReport { Box, StandardErrorOnly };

// Saves the settings, then ends the process at once with `status` (a failure status when the save
// failed): no close handlers, no further ticks. Called again while it waits on the box of a failed
// save (another signal, the session ending), it ends at once, with a failure status.
[[noreturn]] void ExitProgram(int status = EXIT_SUCCESS,
                              SaveFailureReport report = SaveFailureReport::Box);

// True when `path` names an ordinary file; "*" and "?" in its last component act as wildcards.
bool FileExists(const std::string& path);

// Lets tests answer the error box without a person: the hook receives the title and message in
// place of the modal box. An empty hook restores the real box.
using ErrorBoxHook = std::function<void(const std::string& title, const std::string& message)>;
void SetErrorBoxHook(ErrorBoxHook hook);
// The modal box itself, with the error icon and one OK button: each set of windows has its own.
void ShowModalErrorBox(const std::string& title, const std::string& message);
// Why the skin of the settings was refused at start-up, in one line: each set of windows says it
// where its users look (standard error on Linux, the error box on Windows).
void TellRefusedStartSkin(const std::string& whyNot);

// Tray clock takeover.
void FindTrayClock();
void DockToTrayClock();

// Settings store. A save writes what this run changed since the settings were read or last saved,
// in one change, and nothing when nothing changed (nor before LoadSettings): every other value
// stays as the store now holds it. One that fails is told on standard error and, unless `report`
// says otherwise, in the error box, naming where the settings live and the reason, and gives
// false; the store then stays as it was, and the next save tries the same changes again.
void LoadSettings();
bool SaveSettings(SaveFailureReport report = SaveFailureReport::Box);
// Stores these values in one change and tells a failure as SaveSettings does.
bool StoreSettings(const std::vector<SettingsValue>& values,
                   SaveFailureReport report = SaveFailureReport::Box);
// The skin in force is the user's own choice: it is saved at once, and by every save after. Only
// such a choice replaces the stored skin, never a skin the program fell back to by itself.
void SaveSkinChoice();

}  // namespace tikora
