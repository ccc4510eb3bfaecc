// SPDX-License-Identifier: MIT
#pragma once

namespace tikora {

enum class RegistryAccess { Read, Write };

// A Win32 registry error as the status of platform/registry.h. Those statuses are Win32 codes
// already; any other failure finds nothing when reading and could not write when changing, which
// is what the Linux store answers.
long RegistryStatus(long error, RegistryAccess access);

}  // namespace tikora
