// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>

namespace tikora {

// Calls `onSignal` from the event loop, never from the signal handler, when SIGTERM, SIGINT or
// SIGHUP arrives: logout, Ctrl+C, a closed terminal. Call once, after the application exists.
// Whatever happens then (a save that hangs on the disk, a handler busy elsewhere), the process
// ends kSignalGrace after the first signal, with one line on standard error and exit status 1.
inline constexpr std::chrono::seconds kSignalGrace{3};

void WatchTerminationSignals(std::function<void()> onSignal);

}  // namespace tikora
