// SPDX-License-Identifier: MIT
#pragma once

#include "platform/file_access.h"

namespace tikora {

// The machine's own file system.
class SystemFiles final : public FileAccess {
  public:
    std::optional<std::string> ReadRegular(const std::string& path,
                                           std::size_t maxBytes) const override;
    bool HasOrdinaryFile(const std::string& pattern) const override;
    std::optional<std::vector<std::string>> ListNames(const std::string& folder) const override;
};

// One for the whole program.
const FileAccess& SystemFileAccess();

}  // namespace tikora
