// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>

namespace tikora {

// A skin's INI file, read the way the Windows profile functions read one: section and key names
// without regard to letter case, blanks around names and values dropped, one pair of enclosing
// quotes taken off a value, ";" lines skipped, and the first section of a name and the first key
// in it the only ones that count.
class ProfileFile {
  public:
    // Text after a UTF-8 byte-order mark is UTF-8, after a UTF-16 one (either byte order) UTF-16;
    // text without a mark that is not valid UTF-8 is read as Windows-1252.
    static ProfileFile Parse(std::string_view bytes);

    // Nothing when the section or the key is absent; a present "Key=" gives an empty text.
    std::optional<std::string> Lookup(std::string_view section, std::string_view key) const;

  private:
    using Entries = std::unordered_map<std::string, std::string>;  // by case-folded key

    std::unordered_map<std::string, Entries> sections_;  // by case-folded section name
};

// The callers' buffers hold 256 characters with the terminator.
inline constexpr std::size_t kProfileStringLimit = 255;

// The value when present, else defaultText; either cut to kProfileStringLimit characters (code
// points, never inside one).
std::string ReadProfileValue(const ProfileFile& file, std::string_view section,
                             std::string_view key, std::string_view defaultText);

}  // namespace tikora
