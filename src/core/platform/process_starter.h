// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace tikora {

// The full path of `program` as found along PATH, or empty.
std::string FindProgram(const std::string& program);

// Starts a program detached from this process: it outlives the clock and is never waited for.
// False when it could not be started.
bool StartDetached(const std::string& path, const std::vector<std::string>& arguments);

}  // namespace tikora
