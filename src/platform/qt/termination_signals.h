// SPDX-License-Identifier: MIT
#pragma once

#include <functional>

namespace tikora {

// Calls `onSignal` from the event loop, never from the signal handler, when SIGTERM, SIGINT or
// SIGHUP arrives: logout, Ctrl+C, a closed terminal. Call once, after the application exists.
void WatchTerminationSignals(std::function<void()> onSignal);

}  // namespace tikora
