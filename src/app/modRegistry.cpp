#include "app/modRegistry.h"

#include <cstdint>

namespace tikora {

std::string ReadRegString(HKEY root, const std::string& keyPath, const std::string& valueName) {
    HKEY key = 0;  // stays 0 when the key is missing, and every query on it then fails
    RegOpenKeyA(root, keyPath, &key);
    std::uint32_t type = 0;
    std::uint32_t size = 0;
    RegQueryValueExA(key, valueName, &type, nullptr, &size);
    std::string text;
    if (type == REG_SZ) {
        std::string buffer(size, '\0');
        if (RegQueryValueExA(key, valueName, &type, &buffer, &size) == ERROR_SUCCESS) {
            // A text stored without its NUL is taken whole.
            text = buffer.substr(0, buffer.find('\0'));
        }
    }
    RegCloseKey(key);
    return text;
}

void WriteRegString(HKEY root, const std::string& keyPath, const std::string& valueName,
                    const std::string& text) {
    HKEY key = 0;
    RegCreateKeyA(root, keyPath, &key);
    RegSetValueExA(key, valueName, REG_SZ, text + '\0');
    RegCloseKey(key);
}

}  // namespace tikora
