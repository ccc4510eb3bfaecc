// SPDX-License-Identifier: MIT
#pragma once

#include "common/registry_settings_store.h"
#include "platform/services.h"
#include "support/temp_folder.h"

namespace tikora::testing {

// While it lives, Platform().settingsFile is "config/tikora/registry.reg" in a fresh temporary
// folder (no folder made yet), the other services unchanged; RegistrySettingsStore then uses it.
class TempSettingsFile {
  public:
    std::string Folder() const { return root_ / "config/tikora"; }
    std::string File() const { return root_ / "config/tikora/registry.reg"; }

  private:
    TempFolder root_;
    ScopedServices services_{[this] {
        Services services = Platform();
        services.settingsFile = [file = File()] { return file; };
        return services;
    }()};
};

}  // namespace tikora::testing
