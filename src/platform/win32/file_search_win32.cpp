// SPDX-License-Identifier: MIT
#include "platform/file_search.h"
#include "platform/system_files.h"
#include "win32/directory_search.h"
#include "win32/wide_text.h"

namespace tikora {

// Files with the hidden or system attribute and folders do not count; read-only and archived
// files do. Wine gives names that begin with "." the hidden attribute.
bool FindOrdinaryFile(const std::string& pattern) {
    bool found = false;
    SearchDirectory(pattern, [&found](const WIN32_FIND_DATAW& entry) {
        found = !IsFolderEntry(entry) && !IsHiddenEntry(entry);
        return !found;
    });
    return found;
}

std::optional<std::vector<std::string>> SystemFiles::ListNames(const std::string& folder) const {
    std::vector<std::string> names;
    const bool searched =
        SearchDirectory(InFolder(folder, "*"), [&names](const WIN32_FIND_DATAW& entry) {
            const std::wstring_view name = entry.cFileName;
            if (name != L"." && name != L"..") {
                names.push_back(Narrow(name));
            }
            return true;
        });
    return searched ? std::optional(std::move(names)) : std::nullopt;
}

}  // namespace tikora
