// SPDX-License-Identifier: MIT
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <memory>

#include "platform/file_search.h"
#include "platform/system_files.h"
#include "shared/wildcard.h"

namespace tikora {
namespace {

bool IsRegularFileAt(int folder, const char* name) {
    struct stat info {};
    return fstatat(folder, name, &info, 0) == 0 && S_ISREG(info.st_mode);
}

bool SearchFolder(const std::string& folder, std::string_view pattern) {
    const int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) {
        return false;
    }
    // fdopendir takes over the descriptor; closedir releases both.
    std::unique_ptr<DIR, int (*)(DIR*)> dir(fdopendir(fd), closedir);
    if (!dir) {
        close(fd);
        return false;
    }
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (!IsHiddenName(name) && MatchesWildcard(pattern, name) &&
            IsRegularFileAt(dirfd(dir.get()), entry->d_name)) {
            return true;
        }
    }
    return false;
}

}  // namespace

bool FindOrdinaryFile(const std::string& pattern) {
    const std::optional<SearchPattern> split = SplitSearchPattern(pattern);
    if (!split) {
        return false;
    }
    const auto& [folder, name] = *split;
    if (HasWildcard(name)) {
        return SearchFolder(folder, name);
    }
    struct stat info {};
    return stat(pattern.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

std::optional<std::vector<std::string>> SystemFiles::ListNames(const std::string& folder) const {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (folder.find('\0') != std::string::npos || !dir) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string_view name = entry->d_name;
        if (name != "." && name != "..") {
            names.emplace_back(name);
        }
    }
    return names;
}

}  // namespace tikora
