// SPDX-License-Identifier: MIT
#pragma once

// Text settings in the per-user registry, read and written the way the settings code expects.
// No failure is reported: a text that cannot be read is empty, a write that fails is lost.
// Written against the registry calls of platform/registry.h alone, so every build shares it.

#include <string>
#include <vector>

#include "platform/registry.h"
#include "settings/settings_store.h"

namespace tikora {

// The text of a kRegText value, up to its first NUL. A missing key or value, and a value of any
// other type (kRegExpandText too), give an empty text.
std::string ReadRegString(RegistryKey root, const std::string& keyPath,
                          const std::string& valueName);

// Stores `text` as a kRegText value, creating the key when missing.
void WriteRegString(RegistryKey root, const std::string& keyPath, const std::string& valueName,
                    const std::string& text);

// Stores every one of `values` as a kRegText value below kCurrentUser, creating keys when missing,
// in one change: afterwards the store holds all of them, or (on failure, or if the process dies
// on the way) none, and every other value as it was. The failure names the store and the reason.
// Each platform's registry provides it beside the registry calls, since only it can make the
// change one.
SettingsWriteFailure WriteRegStrings(const std::vector<SettingsValue>& values);

}  // namespace tikora
