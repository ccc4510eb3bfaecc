// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>

namespace tikora {

// What wakes the clock: a one-shot timer on the wall clock, and every change that makes the local
// time jump rather than run on: the wall clock set or stepped, the machine resumed from suspend
// (the wall clock then jumps ahead of the time the program saw pass), the local zone changed. A
// zone change is taken in before the wake, so every reading of the local time from then on is in
// the new zone.
class ClockWake {
  public:
    virtual ~ClockWake() = default;
    // From now on `wake` runs on the program's event loop at each wake, in place of any earlier
    // listener; an empty function ends the waking.
    virtual void Listen(std::function<void()> wake) = 0;
    // One wake once `delay` of wall-clock time has passed, in place of any wake armed before; at
    // once for a delay of zero.
    virtual void Arm(std::chrono::milliseconds delay) = 0;
    // No timed wake; jumps of the local time still wake.
    virtual void Disarm() = 0;
};

}  // namespace tikora
