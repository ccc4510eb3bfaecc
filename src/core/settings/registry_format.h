// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <unordered_map>
#include <utility>
#include <vector>

namespace tikora {

// One registry value: its type number (1 for kRegText, 4 for kRegNumber, ...) and its raw bytes. A
// kRegText text is stored with its terminating NUL, as the registry stores it.
struct RegistryValue {
    std::uint32_t type = 0;
    std::string data;

    bool operator==(const RegistryValue&) const = default;
};

// The keys below kCurrentUser and their values. Key paths are parts joined by "\" ("" is
// kCurrentUser itself); paths and value names compare without regard to ASCII case, and a
// key or value keeps the spelling it was first given, as in the registry. Value name "" is the
// key's default value.
class RegistryTree {
  public:
    struct Key {
        std::string path;
        std::vector<std::pair<std::string, RegistryValue>> values;  // in the order first set
    };

    // Non-empty parts, and no NUL, CR or LF, which the export format cannot hold.
    static bool IsValidKeyPath(std::string_view path);
    static bool IsValidValueName(std::string_view name);

    // A key exists when it was added itself or is the parent of one that was; the root always
    // exists. Only added keys get a header in the export.
    bool HasKey(std::string_view path) const;

    // The index of the key in Keys(), added (after the others) unless it was; nothing for an
    // invalid path.
    std::optional<std::size_t> AddKey(std::string_view path);

    // Sets or replaces a value of the key at `key` in Keys(); false for an invalid name.
    bool SetValue(std::size_t key, std::string_view name, RegistryValue value);

    // Nothing when the key was not added or has no such value.
    const RegistryValue* FindValue(std::string_view path, std::string_view name) const;

    // In the order they were added.
    const std::vector<Key>& Keys() const { return keys_; }

  private:
    std::vector<Key> keys_;
    std::map<std::string, std::size_t, std::less<>> keyByPath_;              // by case-folded path
    std::vector<std::unordered_map<std::string, std::size_t>> valueByName_;  // per key, folded
};

// Reads a registry export file ("REGEDIT4" and the lines after it; a UTF-8 byte-order mark is
// skipped). Keys must lie below kCurrentUser. Any line that cannot be read makes the whole
// file unreadable: nothing is returned, rather than part of it.
std::optional<RegistryTree> ParseRegistryExport(std::string_view text);

// What can still be read of a damaged export (cut short, or with a line spoiled): every key and
// value that reads, leaving out the lines that do not and the values under a header that does
// not. Nothing when the first line is not "REGEDIT4": then it is no export at all.
std::optional<RegistryTree> SalvageRegistryExport(std::string_view text);

// The export file of the tree, which ParseRegistryExport reads back to the same keys and values.
std::string WriteRegistryExport(const RegistryTree& tree);

}  // namespace tikora
