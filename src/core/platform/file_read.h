// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <optional>
#include <string>

namespace tikora {

// The whole content of a regular file of at most `maxBytes` bytes. Anything else (a missing file,
// a folder, a FIFO or device, which are never opened for blocking reads, or a larger file) gives
// nothing.
std::optional<std::string> ReadRegularFile(const std::string& path, std::size_t maxBytes);

}  // namespace tikora
