// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace tikora {

// The settings in the user's registry (on Linux the registry file), read with ReadRegString and
// written all together with WriteRegStrings.
class RegistrySettingsStore final : public SettingsStore {
  public:
    std::string ReadText(const std::string& key, const std::string& name) const override;
    SettingsWriteFailure Write(const std::vector<SettingsValue>& values) override;
};

}  // namespace tikora
