// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

namespace tikora {

// The registry calls the settings are kept through: keys below the user's root (kCurrentUser, the
// only root) holding typed values, each call answering with a status (kRegOk on success). Key
// paths ("a\\b") and value names compare without regard to ASCII case, as in the Windows registry.

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

// As OpenRegistryKey, but a missing key is created with its missing parents at once, so that the
// key exists (with no values) even if nothing is ever set in it.
long CreateRegistryKey(RegistryKey root, const std::string& subKey, RegistryKey* result);

// With data null, reports the value's type and byte count. Otherwise *size is the room in the
// buffer: the bytes are copied into *data when they fit, else kRegMoreData gives the type and
// the size needed. Any output is left alone when the key or value is missing.
long QueryRegistryValue(RegistryKey key, const std::string& valueName, std::uint32_t* type,
                        std::string* data, std::uint32_t* size);

// Sets a value (raw bytes: a kRegText text with its terminating NUL), replacing an older one.
long SetRegistryValue(RegistryKey key, const std::string& valueName, std::uint32_t type,
                      const std::string& data);

long CloseRegistryKey(RegistryKey key);

}  // namespace tikora
