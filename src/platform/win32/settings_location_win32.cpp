// SPDX-License-Identifier: MIT
#include "platform/settings_location.h"

namespace tikora {

// The settings live in the registry itself; this is the name messages give the store.
std::string UserSettingsFile() {
    return "HKEY_CURRENT_USER\\Software\\Vardo Software\\Tikora";
}

}  // namespace tikora
