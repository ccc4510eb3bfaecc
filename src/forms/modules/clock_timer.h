// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>
#include <list>

namespace tikora {

// tmrClock, the tick's timer, over the platform's clock wake. Enabled from the end of start-up on;
// while it is, it wakes the tick once at the moment the tick last asked for (Arm), the next change
// of the shown text, instead of at a fixed interval, and at once when the local time jumps.
// Enabling it wakes the tick at once.
class ClockTimer {
  public:
    ClockTimer() = default;
    ~ClockTimer();
    ClockTimer(const ClockTimer&) = delete;
    ClockTimer& operator=(const ClockTimer&) = delete;

    // The tick, called at each wake while the timer is enabled; the timer listens to the clock
    // wake from here to its end.
    void OnTimer(std::function<void()> tick);
    void start();
    void stop();
    bool isActive() const { return enabled_; }
    // The next wake, `delay` from now, in place of any other; none while the timer is disabled.
    void Arm(std::chrono::milliseconds delay);

  private:
    bool enabled_ = false;
    bool listening_ = false;
};

// Runs `follow` at every wake of the clock, enabled or not, for as long as it lives: for what shows
// the computer's clock beside the clock face and must follow its jumps at once.
class ClockWakeFollower {
  public:
    explicit ClockWakeFollower(std::function<void()> follow);
    ~ClockWakeFollower();
    ClockWakeFollower(const ClockWakeFollower&) = delete;
    ClockWakeFollower& operator=(const ClockWakeFollower&) = delete;

  private:
    std::list<std::function<void()>>::iterator entry_;
};

}  // namespace tikora
