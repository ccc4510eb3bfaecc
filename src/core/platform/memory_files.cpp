// SPDX-License-Identifier: MIT
#include "platform/memory_files.h"

#include <algorithm>
#include <set>
#include <vector>

#include "shared/wildcard.h"

namespace tikora {
namespace {

// Purely lexical, and byte for byte: no "." parts, no empty ones, ".." taken back. Not
// std::filesystem, which on Windows passes each name through the code page and may change it.
std::string Normal(const std::string& path) {
    const bool absolute = path.starts_with('/');
    std::vector<std::string> parts;
    for (std::size_t start = 0; start <= path.size();) {
        const std::size_t end = std::min(path.find('/', start), path.size());
        std::string part = path.substr(start, end - start);
        start = end + 1;
        if (part == ".." && !parts.empty() && parts.back() != "..") {
            parts.pop_back();
        } else if (part == ".." ? !absolute : !part.empty() && part != ".") {
            parts.push_back(std::move(part));
        }
    }
    std::string normal = absolute ? "/" : "";
    for (const std::string& part : parts) {
        normal += (normal.empty() || normal == "/" ? "" : "/") + part;
    }
    return normal;
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
