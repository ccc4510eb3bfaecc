// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tikora {

// The folder that holds the running executable, without a trailing separator (only "/" itself ends
// with one).
std::string RunningProgramFolder();

}  // namespace tikora
