// SPDX-License-Identifier: MIT
#include <cstdlib>

#include "platform/settings_location.h"

namespace tikora {

std::string UserSettingsFile() {
    const char* configHome = std::getenv("XDG_CONFIG_HOME");
    std::string folder;
    if (configHome != nullptr && *configHome == '/') {
        folder = configHome;
    } else if (const char* home = std::getenv("HOME"); home != nullptr && *home != '\0') {
        folder = std::string(home) + "/.config";
    } else {
        return {};
    }
    return folder + "/tikora/registry.reg";
}

}  // namespace tikora
