#pragma once

// Text settings in the per-user registry, read and written the way the settings code expects.
// No failure is reported: a text that cannot be read is empty, a write that fails is lost.
// Written against the registry calls of platform/registry.h alone, so every build shares it.

#include <string>

#include "platform/registry.h"

namespace tikora {

// The text of a kRegText value, up to its first NUL. A missing key or value, and a value of any
// other type (kRegExpandText too), give an empty text.
std::string ReadRegString(RegistryKey root, const std::string& keyPath,
                          const std::string& valueName);

// Stores `text` as a kRegText value, creating the key when missing.
void WriteRegString(RegistryKey root, const std::string& keyPath, const std::string& valueName,
                    const std::string& text);

}  // namespace tikora
