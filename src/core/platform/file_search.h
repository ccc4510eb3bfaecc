// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tikora {

// True when a directory search for `pattern` finds an ordinary file: a regular file (symbolic links
// followed) whose name does not begin with "." (such names count as hidden). "*" and "?" in the
// last path component act as wildcards. Any error (missing folder, unreadable folder, empty or
// malformed name) gives false.
bool FindOrdinaryFile(const std::string& pattern);

}  // namespace tikora
