#pragma once

#include <string_view>

namespace tikora {

// Directory-search wildcards: "*" matches any run of characters, "?" any one character, and every
// other character only itself (brackets have no special meaning). Byte-wise and case-sensitive.
bool MatchesWildcard(std::string_view pattern, std::string_view name);

bool HasWildcard(std::string_view text);

}  // namespace tikora
