// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tikora {

// ${XDG_CONFIG_HOME:-$HOME/.config}/tikora/registry.reg; empty when neither variable is set.
std::string UserSettingsFile();

}  // namespace tikora
