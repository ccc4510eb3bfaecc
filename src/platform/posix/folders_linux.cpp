// SPDX-License-Identifier: MIT
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>

#include "platform/folders.h"
#include "shared/wildcard.h"
#include "skins/folder_lists.h"

namespace tikora {
namespace {

using EntryTest = std::function<bool(const struct stat&, const std::string& name)>;

std::string FoldCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return text;
}

std::optional<std::vector<std::string>> ListEntries(const std::string& folder,
                                                    const EntryTest& wanted) {
    std::unique_ptr<DIR, int (*)(DIR*)> dir(opendir(folder.c_str()), closedir);
    if (!dir) {
        return std::nullopt;
    }
    std::vector<std::string> names;
    while (const dirent* entry = readdir(dir.get())) {
        const std::string name = entry->d_name;
        struct stat info {};
        if (name.front() != '.' && fstatat(dirfd(dir.get()), entry->d_name, &info, 0) == 0 &&
            wanted(info, name)) {
            names.push_back(name);
        }
    }
    std::sort(names.begin(), names.end(), ListsBefore);
    return names;
}

}  // namespace

std::string ReadMountTable() {
    constexpr std::size_t kMaxTable = std::size_t{1} << 20;
    std::ifstream table("/proc/self/mounts");
    std::string text;
    for (std::istreambuf_iterator<char> it(table), end; it != end && text.size() < kMaxTable;
         ++it) {
        text.push_back(*it);
    }
    return text;
}

std::string CurrentFolder() {
    std::unique_ptr<char, void (*)(void*)> folder(getcwd(nullptr, 0), std::free);
    return folder ? std::string(folder.get()) : std::string("/");
}

std::optional<std::vector<std::string>> ListSubfolders(const std::string& folder) {
    return ListEntries(
        folder, [](const struct stat& info, const std::string&) { return S_ISDIR(info.st_mode); });
}

std::optional<std::vector<std::string>> ListFilesMatching(const std::string& folder,
                                                          const std::string& pattern) {
    // Skins made on Windows name their files in any letter case: "*.ini" finds SKIN.INI too.
    const std::string wanted = FoldCase(pattern);
    return ListEntries(folder, [&wanted](const struct stat& info, const std::string& name) {
        return S_ISREG(info.st_mode) && MatchesWildcard(wanted, FoldCase(name));
    });
}

}  // namespace tikora
