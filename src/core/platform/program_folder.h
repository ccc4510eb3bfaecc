// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tikora {

// The folder that holds the running executable, without a trailing separator (only "/" itself ends
// with one).
std::string RunningProgramFolder();

// The separator the system writes between folder names in a path: '/' or '\\'.
extern const char kPathSeparator;

}  // namespace tikora
