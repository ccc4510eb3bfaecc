// SPDX-License-Identifier: MIT
#include "shared/wildcard.h"

namespace tikora {

bool MatchesWildcard(std::string_view pattern, std::string_view name) {
    // Greedy matching with one remembered star: linear in practice and never exponential.
    std::size_t p = 0, n = 0;
    std::size_t starPattern = std::string_view::npos, starName = 0;
    while (n < name.size()) {
        if (p < pattern.size() && (pattern[p] == '?' || pattern[p] == name[n])) {
            ++p, ++n;
        } else if (p < pattern.size() && pattern[p] == '*') {
            starPattern = p++;
            starName = n;
        } else if (starPattern != std::string_view::npos) {
            p = starPattern + 1;
            n = ++starName;
        } else {
            return false;
        }
    }
    while (p < pattern.size() && pattern[p] == '*') {
        ++p;
    }
    return p == pattern.size();
}

bool HasWildcard(std::string_view text) {
    return text.find_first_of("*?") != std::string_view::npos;
}

bool IsHiddenName(std::string_view name) {
    return !name.empty() && name.front() == '.';
}

std::optional<SearchPattern> SplitSearchPattern(const std::string& pattern) {
    if (pattern.empty() || pattern.find('\0') != std::string::npos) {
        return std::nullopt;
    }
    const std::size_t slash = pattern.rfind('/');
    SearchPattern split{slash == std::string::npos ? "." : pattern.substr(0, slash + 1),
                        slash == std::string::npos ? pattern : pattern.substr(slash + 1)};
    if (split.name.empty() || IsHiddenName(split.name)) {
        return std::nullopt;
    }
    return split;
}

}  // namespace tikora
