// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tikora {

// Directory-search wildcards: "*" matches any run of characters, "?" any one character, and every
// other character only itself (brackets have no special meaning). Byte-wise and case-sensitive.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

bool HasWildcard(std::string_view text);

// A name beginning with "." counts as hidden, as the hidden attribute does elsewhere.
bool IsHiddenName(std::string_view name);

// A file search's pattern split into its folder ("." when it names none, else with its trailing
// "/") and its last component. Nothing when the pattern can find no ordinary file: empty, with a
// NUL, or a last component that is empty or hidden.
struct SearchPattern {
    std::string folder;
    std::string name;
};
std::optional<SearchPattern> SplitSearchPattern(const std::string& pattern);

}  // namespace tikora
