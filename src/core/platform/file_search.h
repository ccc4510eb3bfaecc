// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tikora {

// True when a directory search for `pattern` finds an ordinary file: a regular file (symbolic links
// followed) that is not hidden (Linux: its name begins with "."; Windows: the hidden or system
// attribute). "*" and "?" in the last path component act as wildcards. Any error (missing folder,
// unreadable folder, empty or malformed name) gives false.
bool FindOrdinaryFile(const std::string& pattern);

}  // namespace tikora
