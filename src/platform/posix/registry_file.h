// SPDX-License-Identifier: MIT
#pragma once

// The registry calls of platform/registry.h over one per-user file at Platform().settingsFile(),
// in the registry's export format. An empty settings path means there is no store: nothing is
// found and nothing is written.
//
// Every call reads the file afresh; every change rewrites the whole file through a temporary file
// and a rename, so a crash leaves the old file or the new one. Of a file that cannot be read as an
// export, what still reads counts (a file cut short keeps the values before the cut), and the
// first change keeps it beside the new one as "<name>.unreadable-YYYYMMDD-HHMMSS" instead of
// replacing it. WriteRegStrings (common/modRegistry.h) changes several values in one such
// rewrite. A change that would make the file
// larger than kRegistryFileLimit fails and leaves the file alone.

#include <chrono>
#include <cstddef>
#include <functional>

#include "platform/registry.h"

namespace tikora {

// A larger file is not read, and counts as unreadable.
inline constexpr std::size_t kRegistryFileLimit = 1 << 20;

// How long a change waits for another writer's lock on the settings folder before it fails.
inline constexpr std::chrono::seconds kRegistryLockWait{2};

// For tests: how many keys are open, and a function run after the new file is complete on disk
// and before it replaces the old one (null for none).
std::size_t OpenRegistryKeyCount();
void SetRegistryReplaceHook(void (*hook)());
// For tests: the clock the lock wait is measured with (null restores the real one).
using RegistryLockClock = std::function<std::chrono::steady_clock::time_point()>;
void SetRegistryLockClock(RegistryLockClock clock);

}  // namespace tikora
