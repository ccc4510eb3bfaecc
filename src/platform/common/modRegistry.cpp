// SPDX-License-Identifier: MIT
#include "common/modRegistry.h"

#include <cstdint>

namespace tikora {

std::string ReadRegString(RegistryKey root, const std::string& keyPath,
                          const std::string& valueName) {
    RegistryKey key = 0;  // stays 0 when the key is missing, and every query on it then fails
    OpenRegistryKey(root, keyPath, &key);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    QueryRegistryValue(key, valueName, &type, nullptr, &size);
    std::string text;
    if (type == kRegText) {
        std::string buffer(size, '\0');
        if (QueryRegistryValue(key, valueName, &type, &buffer, &size) == kRegOk) {
            // A text stored without its NUL is taken whole.
            text = buffer.substr(0, buffer.find('\0'));
        }
    }
    CloseRegistryKey(key);
    return text;
}

void WriteRegString(RegistryKey root, const std::string& keyPath, const std::string& valueName,
                    const std::string& text) {
    RegistryKey key = 0;
    CreateRegistryKey(root, keyPath, &key);
    SetRegistryValue(key, valueName, kRegText, text + '\0');
    CloseRegistryKey(key);
}

}  // namespace tikora
