// SPDX-License-Identifier: MIT
#include <windows.h>

#include "modules/modMain.h"
#include "win32/wide_text.h"

namespace tikora {

// Task-modal and brought to the front: the clock has no window of its own to own the box.
void ShowModalErrorBox(const std::string& title, const std::string& message) {
    MessageBoxW(nullptr, Widen(message).c_str(), Widen(title).c_str(),
                MB_OK | MB_ICONERROR | MB_TASKMODAL | MB_SETFOREGROUND);
}

// A Windows program's standard error reaches nobody: the reason is shown, once, in the box.
void TellRefusedStartSkin(const std::string& whyNot) {
    ShowError(whyNot, false);
}

}  // namespace tikora
