// SPDX-License-Identifier: MIT
#include "win32/directory_search.h"

#include "win32/wide_text.h"

namespace tikora {

bool SearchDirectory(const std::string& pattern,
                     const std::function<bool(const WIN32_FIND_DATAW&)>& visit) {
    if (pattern.empty() || pattern.find('\0') != std::string::npos) {
        return false;
    }
    WIN32_FIND_DATAW entry{};
    const HANDLE search = FindFirstFileExW(Widen(pattern).c_str(), FindExInfoBasic, &entry,
                                           FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) {
        return GetLastError() == ERROR_FILE_NOT_FOUND;
    }
    while (visit(entry) && FindNextFileW(search, &entry)) {
    }
    FindClose(search);
    return true;
}

std::string InFolder(const std::string& folder, const std::string& name) {
    const bool separated = folder.ends_with('\\') || folder.ends_with('/');
    return folder + (separated ? "" : "\\") + name;
}

bool IsHiddenEntry(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & (FILE_ATTRIBUTE_HIDDEN | FILE_ATTRIBUTE_SYSTEM)) != 0;
}

bool IsFolderEntry(const WIN32_FIND_DATAW& entry) {
    return (entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

}  // namespace tikora
