#pragma once

#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace tikora {

// The settings in the user's registry (on Linux the registry file), read with ReadRegString and
// written with WriteRegString. Values are written one after another, so a failure part way
// leaves the values before it written.
class RegistrySettingsStore final : public SettingsStore {
  public:
    std::string ReadText(const std::string& key, const std::string& name) const override;
    // A value that does not read back as written counts as a failure.
    SettingsWriteFailure Write(const std::vector<SettingsValue>& values) override;
};

}  // namespace tikora
