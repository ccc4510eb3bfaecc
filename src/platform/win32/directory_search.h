// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <functional>
#include <string>

namespace tikora {

// Hands each entry FindFirstFileExW finds for `pattern` ("*" and "?" in its last part) to `visit`,
// which returns false to stop. False when the folder could not be searched: missing, unreadable,
// or a malformed name; a folder without a matching entry is searched all right.
bool SearchDirectory(const std::string& pattern,
                     const std::function<bool(const WIN32_FIND_DATAW&)>& visit);

// `folder` and a name in it, with one separator between them whatever `folder` ends with.
std::string InFolder(const std::string& folder, const std::string& name);

// Files and folders that Explorer and the program's lists leave out: hidden or system ones.
bool IsHiddenEntry(const WIN32_FIND_DATAW& entry);
bool IsFolderEntry(const WIN32_FIND_DATAW& entry);

}  // namespace tikora
