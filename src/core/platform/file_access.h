// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tikora {

// The files a skin is read from. The core makes no system call of its own: the program hands it
// the real file system, tests and the fuzzer a folder tree held in memory (MemoryFiles).
class FileAccess {
  public:
    virtual ~FileAccess() = default;

    // The whole content of a regular file of at most `maxBytes` bytes. Anything else (a missing
    // file, a folder, a FIFO or device, which are never waited on, or a larger file) gives
    // nothing.
    virtual std::optional<std::string> ReadRegular(const std::string& path,
                                                   std::size_t maxBytes) const = 0;

    // True when a directory search for `pattern` finds an ordinary file: a regular file whose name
    // does not begin with "." (such names count as hidden). "*" and "?" in the last path component
    // act as wildcards. Any error or an empty name gives false.
    virtual bool HasOrdinaryFile(const std::string& pattern) const = 0;

    // The names of every entry in `folder`, in no particular order; nothing when it can't be
    // listed.
    virtual std::optional<std::vector<std::string>> ListNames(const std::string& folder) const = 0;
};

}  // namespace tikora
