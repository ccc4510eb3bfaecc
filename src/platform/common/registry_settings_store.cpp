// SPDX-License-Identifier: MIT
#include "common/registry_settings_store.h"

#include "common/modRegistry.h"

namespace tikora {

std::string RegistrySettingsStore::ReadText(const std::string& key, const std::string& name) const {
    return ReadRegString(kCurrentUser, key, name);
}

SettingsWriteFailure RegistrySettingsStore::Write(const std::vector<SettingsValue>& values) {
    return WriteRegStrings(values);
}

}  // namespace tikora
