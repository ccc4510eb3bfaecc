// SPDX-License-Identifier: MIT
#include "platform/memory_files.h"

#include <filesystem>
#include <set>

#include "shared/wildcard.h"

namespace tikora {
namespace {

// Purely lexical: nothing here asks the operating system.
std::string Normal(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().generic_string();
}

}  // namespace

void MemoryFiles::Put(const std::string& path, std::string bytes) {
    entries_[Normal(path)] = std::move(bytes);
}

void MemoryFiles::PutOther(const std::string& path) {
    entries_[Normal(path)] = std::nullopt;
}

void MemoryFiles::Clear() {
    entries_.clear();
    reads_ = 0;
}

std::optional<std::string> MemoryFiles::ReadRegular(const std::string& path,
                                                    std::size_t maxBytes) const {
    ++reads_;
    if (path.empty() || path.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    const auto found = entries_.find(Normal(path));
    if (found == entries_.end() || !found->second || found->second->size() > maxBytes) {
        return std::nullopt;
    }
    return found->second;
}

bool MemoryFiles::HasOrdinaryFile(const std::string& pattern) const {
    const std::optional<SearchPattern> split = SplitSearchPattern(pattern);
    if (!split) {
        return false;
    }
    const auto& [folder, name] = *split;
    if (!HasWildcard(name)) {
        const auto found = entries_.find(Normal(pattern));
        return found != entries_.end() && found->second.has_value();
    }
    const std::string prefix = Normal(folder + "x");  // the folder as its entries begin
    const std::string within = prefix.substr(0, prefix.size() - 1);
    for (const auto& [path, bytes] : entries_) {
        if (bytes && path.starts_with(within) &&
            path.find('/', within.size()) == std::string::npos) {
            const std::string entry = path.substr(within.size());
            if (!IsHiddenName(entry) && MatchesWildcard(name, entry)) {
                return true;
            }
        }
    }
    return false;
}

std::optional<std::vector<std::string>> MemoryFiles::ListNames(const std::string& folder) const {
    const std::string prefix = Normal(folder + "/x");
    const std::string within = prefix.substr(0, prefix.size() - 1);
    std::set<std::string> names;
    for (const auto& entry : entries_) {
        if (entry.first.starts_with(within) && entry.first.size() > within.size()) {
            names.insert(entry.first.substr(within.size(),
                                            entry.first.find('/', within.size()) - within.size()));
        }
    }
    if (names.empty()) {
        return std::nullopt;
    }
    return std::vector<std::string>(names.begin(), names.end());
}

}  // namespace tikora
