// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tikora {

// Where the user's settings live, as messages name it: on Linux the store's file
// (${XDG_CONFIG_HOME:-$HOME/.config}/tikora/registry.reg, empty when neither variable is set), on
// Windows the registry key.
std::string UserSettingsFile();

}  // namespace tikora
