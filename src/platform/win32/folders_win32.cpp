// SPDX-License-Identifier: MIT
#include <windows.h>

#include <algorithm>

#include "platform/folders.h"
#include "skins/folder_lists.h"
#include "win32/directory_search.h"
#include "win32/wide_text.h"

namespace tikora {
namespace {

// The entries `wanted` takes among those FindFirstFileExW finds for `pattern` in `folder` (its own
// matching ignores letter case), hidden and system ones left out as the system's lists leave them.
std::optional<std::vector<std::string>> ListEntries(
    const std::string& folder, const std::string& pattern,
    const std::function<bool(const WIN32_FIND_DATAW&)>& wanted) {
    std::vector<std::string> names;
    const auto visit = [&](const WIN32_FIND_DATAW& entry) {
        const std::wstring_view name = entry.cFileName;
        if (name != L"." && name != L".." && !IsHiddenEntry(entry) && wanted(entry)) {
            names.push_back(Narrow(name));
        }
        return true;
    };
    if (!SearchDirectory(InFolder(folder, pattern), visit)) {
        return std::nullopt;
    }
    std::sort(names.begin(), names.end(), ListsBefore);
    return names;
}

}  // namespace

// The skin chooser lists drives with the system's own drive list: no table of mounts is needed.
std::string ReadMountTable() {
    return {};
}

std::string CurrentFolder() {
    const DWORD needed = GetCurrentDirectoryW(0, nullptr);
    std::wstring folder(needed, L'\0');
    folder.resize(GetCurrentDirectoryW(needed, folder.data()));
    return Narrow(folder);
}

std::optional<std::vector<std::string>> ListSubfolders(const std::string& folder) {
    return ListEntries(folder, "*", IsFolderEntry);
}

std::optional<std::vector<std::string>> ListFilesMatching(const std::string& folder,
                                                          const std::string& pattern) {
    return ListEntries(folder, pattern,
                       [](const WIN32_FIND_DATAW& entry) { return !IsFolderEntry(entry); });
}

}  // namespace tikora
