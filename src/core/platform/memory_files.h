// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <map>
#include <optional>
#include <string>

#include "platform/file_access.h"

namespace tikora {

// A folder tree held in memory, for tests and fuzzing, answering as the real file system does.
// Paths are taken lexically: "a//b" and "a/./b" name "a/b", and "a/x/../b" names it too.
class MemoryFiles final : public FileAccess {
  public:
    // A regular file with these bytes, in place of whatever was at `path`.
    void Put(const std::string& path, std::string bytes);
    // Something at `path` that is no regular file: a folder, a FIFO, a device.
    void PutOther(const std::string& path);
    void Clear();
    // How many times a file has been read, to tell a load that reads a file once from one that
    // reads it again for every value.
    std::size_t Reads() const { return reads_; }

    std::optional<std::string> ReadRegular(const std::string& path,
                                           std::size_t maxBytes) const override;
    bool HasOrdinaryFile(const std::string& pattern) const override;
    // Folders are there when something lies below them.
    std::optional<std::vector<std::string>> ListNames(const std::string& folder) const override;

  private:
    // Nothing in the value: present, but not a regular file.
    std::map<std::string, std::optional<std::string>> entries_;
    mutable std::size_t reads_ = 0;
};

}  // namespace tikora
