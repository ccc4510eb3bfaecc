// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tikora {

// The system's own text for a Win32 error code, in UTF-8 without the line break it ends with;
// "Windows error N" when the system has none.
std::string SystemMessage(unsigned long error);

}  // namespace tikora
