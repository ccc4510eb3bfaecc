#pragma once

// Start-up and shutdown, and the small procedures the other modules share.

#include <functional>
#include <string>

namespace tikora {

void StartProgram();
void InitScreenMetrics();

// The program's only message to the user: a modal box with the error icon and one OK button. When
// fatal, the program then ends through ExitProgram and the call does not return.
void ShowError(const std::string& message, bool fatal);

// Saves the settings, then ends the process at once: no close handlers, no further ticks.
[[noreturn]] void ExitProgram();

// True when `path` names an ordinary file; "*" and "?" in its last component act as wildcards.
bool FileExists(const std::string& path);

// Lets tests answer the error box without a person: the hook receives the title and message in
// place of the modal box. An empty hook restores the real box.
using ErrorBoxHook = std::function<void(const std::string& title, const std::string& message)>;
void SetErrorBoxHook(ErrorBoxHook hook);

// Tray clock takeover.
void FindTrayClock();
void DockToTrayClock();

// Settings store.
void LoadSettings();
void SaveSettings();

}  // namespace tikora
