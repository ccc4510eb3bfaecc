#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace tikora {

// The Windows registry calls the settings code is written against, over one per-user file at
// Platform().settingsFile() in the registry's export format. Only HKEY_CURRENT_USER exists. An
// empty settings path means there is no store: nothing is found and nothing is written.
//
// Every call reads the file afresh; every change rewrites the whole file through a temporary file
// and a rename, so a crash leaves the old file or the new one. A file that cannot be read as an
// export counts as empty, and the first change keeps it beside the new one as
// "<name>.unreadable-YYYYMMDD-HHMMSS" instead of replacing it.

using HKEY = std::uintptr_t;  // 0 = no key
inline constexpr HKEY HKEY_CURRENT_USER = 0x80000001;

inline constexpr std::uint32_t REG_SZ = 1;
inline constexpr std::uint32_t REG_EXPAND_SZ = 2;
inline constexpr std::uint32_t REG_BINARY = 3;
inline constexpr std::uint32_t REG_DWORD = 4;

inline constexpr long ERROR_SUCCESS = 0;
inline constexpr long ERROR_FILE_NOT_FOUND = 2;
inline constexpr long ERROR_INVALID_HANDLE = 6;
inline constexpr long ERROR_INVALID_PARAMETER = 87;
inline constexpr long ERROR_MORE_DATA = 234;
inline constexpr long ERROR_CANTWRITE = 1013;

// Opens an existing key (or the parent of one) below `root`, which is HKEY_CURRENT_USER or an
// open key; an empty subKey gives `root` back. *result is 0 on failure.
long RegOpenKeyA(HKEY root, const std::string& subKey, HKEY* result);

// As RegOpenKeyA, but a missing key is created with its missing parents and the file is written
// at once, so that the key exists (with no values) even if nothing is ever set in it.
long RegCreateKeyA(HKEY root, const std::string& subKey, HKEY* result);

// With data null, reports the value's type and byte count. Otherwise *size is the room in the
// buffer: the bytes are copied into *data when they fit, else ERROR_MORE_DATA gives the type and
// the size needed. Any output is left alone when the key or value is missing.
long RegQueryValueExA(HKEY key, const std::string& valueName, std::uint32_t* type,
                      std::string* data, std::uint32_t* size);

// Sets a value (raw bytes: a REG_SZ text with its terminating NUL) and rewrites the file. Fails,
// leaving the file alone, when the file would grow past what is read back (kRegistryFileLimit).
long RegSetValueExA(HKEY key, const std::string& valueName, std::uint32_t type,
                    const std::string& data);

long RegCloseKey(HKEY key);

// A larger file is not read, and counts as unreadable.
inline constexpr std::size_t kRegistryFileLimit = 1 << 20;

// For tests: how many keys are open, and a function run after the new file is complete on disk
// and before it replaces the old one (null for none).
std::size_t OpenRegistryKeyCount();
void SetRegistryReplaceHook(void (*hook)());

}  // namespace tikora
