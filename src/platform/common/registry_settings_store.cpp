#include "common/registry_settings_store.h"

#include "common/modRegistry.h"

namespace tikora {

std::string RegistrySettingsStore::ReadText(const std::string& key, const std::string& name) const {
    return ReadRegString(kCurrentUser, key, name);
}

SettingsWriteFailure RegistrySettingsStore::Write(const std::vector<SettingsValue>& values) {
    for (const SettingsValue& value : values) {
        WriteRegString(kCurrentUser, value.key, value.name, value.text);
    }
    // WriteRegString keeps its failures to itself: reading back is how one shows.
    for (const SettingsValue& value : values) {
        // A text is read up to its first NUL.
        if (ReadRegString(kCurrentUser, value.key, value.name) !=
            value.text.substr(0, value.text.find('\0'))) {
            return "The setting " + value.name + " in HKEY_CURRENT_USER\\" + value.key +
                   " could not be stored.";
        }
    }
    return std::nullopt;
}

}  // namespace tikora
