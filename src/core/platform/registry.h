#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tikora {

// The Windows registry calls the settings code is written against, over one per-user file at
// Platform().settingsFile() in the registry's export format. Only kCurrentUser exists. An
// empty settings path means there is no store: nothing is found and nothing is written.
//
// Every call reads the file afresh; every change rewrites the whole file through a temporary file
// and a rename, so a crash leaves the old file or the new one. A file that cannot be read as an
// export counts as empty, and the first change keeps it beside the new one as
// "<name>.unreadable-YYYYMMDD-HHMMSS" instead of replacing it.

using RegistryKey = std::uintptr_t;  // 0 = no key
inline constexpr RegistryKey kCurrentUser = 0x80000001;

inline constexpr std::uint32_t kRegText = 1;
inline constexpr std::uint32_t kRegExpandText = 2;
inline constexpr std::uint32_t kRegBinary = 3;
inline constexpr std::uint32_t kRegNumber = 4;

inline constexpr long kRegOk = 0;
inline constexpr long kRegNotFound = 2;
inline constexpr long kRegBadKey = 6;
inline constexpr long kRegBadParameter = 87;
inline constexpr long kRegMoreData = 234;
inline constexpr long kRegCantWrite = 1013;

// Opens an existing key (or the parent of one) below `root`, which is kCurrentUser or an
// open key; an empty subKey gives `root` back. *result is 0 on failure.
long OpenRegistryKey(RegistryKey root, const std::string& subKey, RegistryKey* result);

// As OpenRegistryKey, but a missing key is created with its missing parents and the file is written
// at once, so that the key exists (with no values) even if nothing is ever set in it.
long CreateRegistryKey(RegistryKey root, const std::string& subKey, RegistryKey* result);

// With data null, reports the value's type and byte count. Otherwise *size is the room in the
// buffer: the bytes are copied into *data when they fit, else kRegMoreData gives the type and
// the size needed. Any output is left alone when the key or value is missing.
long QueryRegistryValue(RegistryKey key, const std::string& valueName, std::uint32_t* type,
                        std::string* data, std::uint32_t* size);

// Sets a value (raw bytes: a kRegText text with its terminating NUL) and rewrites the file. Fails,
// leaving the file alone, when the file would grow past what is read back (kRegistryFileLimit).
long SetRegistryValue(RegistryKey key, const std::string& valueName, std::uint32_t type,
                      const std::string& data);

long CloseRegistryKey(RegistryKey key);

// A larger file is not read, and counts as unreadable.
inline constexpr std::size_t kRegistryFileLimit = 1 << 20;

// For tests: how many keys are open, and a function run after the new file is complete on disk
// and before it replaces the old one (null for none).
std::size_t OpenRegistryKeyCount();
void SetRegistryReplaceHook(void (*hook)());

}  // namespace tikora
