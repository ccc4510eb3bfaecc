// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <functional>
#include <string>

namespace tikora {

// An instant in UTC to the nanosecond, counted as the system's clock counts it (no leap seconds).
using UtcTime = std::chrono::sys_time<std::chrono::nanoseconds>;

// One reading of the computer's clock: the time it shows, and a steady count taken with it that
// setting the clock does not move and that runs on through a suspend.
struct ClockReading {
    UtcTime utc;
    std::chrono::nanoseconds steady{0};
};

class WallClock {
  public:
    virtual ~WallClock() = default;
    virtual ClockReading Read() const = 0;
};

enum class ClockSetResult {
    Done,
    NotAllowed,     // no permission, or the user did not give it
    AutomaticSync,  // the system keeps the clock itself and refuses changes by hand
    ServiceAbsent,  // nothing that could set the clock answered
    Failed,         // anything else; the detail says what
};

struct ClockSetReport {
    ClockSetResult result = ClockSetResult::Done;
    std::string detail;  // the system's own words, when it gave any
};

using ClockSetDone = std::function<void(const ClockSetReport&)>;

// Sets the computer's clock to an instant. `done` hears how it went, once, on the program's
// event loop: before SetClock returns when the clock is set directly, later when a service that
// may first ask the user for permission does it.
class ClockSetter {
  public:
    virtual ~ClockSetter() = default;
    virtual void SetClock(UtcTime when, ClockSetDone done) const = 0;
};

// For programs that must never touch the clock.
class RefusingClockSetter final : public ClockSetter {
  public:
    void SetClock(UtcTime, ClockSetDone done) const override {
        done({ClockSetResult::NotAllowed, {}});
    }
};

}  // namespace tikora
