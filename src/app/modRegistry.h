#pragma once

// Text settings in the per-user registry, read and written the way the settings code expects.
// No failure is reported: a text that cannot be read is empty, a write that fails is lost.

#include <string>

#include "platform/registry.h"

namespace tikora {

// The text of a REG_SZ value, up to its first NUL. A missing key or value, and a value of any
// other type (REG_EXPAND_SZ too), give an empty text.
std::string ReadRegString(HKEY root, const std::string& keyPath, const std::string& valueName);

// Stores `text` as a REG_SZ value, creating the key when missing.
void WriteRegString(HKEY root, const std::string& keyPath, const std::string& valueName,
                    const std::string& text);

}  // namespace tikora
