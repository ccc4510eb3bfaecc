// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "platform/clock_setter.h"

namespace tikora {

// The system's time-date service (org.freedesktop.timedate1), which asks the user for permission
// when it needs to. Its answer comes back on the event loop.
class TimeDateService final : public ClockSetter {
  public:
    // The service on the system bus, or on the bus at `busAddress` when one is given.
    explicit TimeDateService(std::string busAddress = {});
    void SetClock(UtcTime when, ClockSetDone done) const override;

  private:
    std::string busAddress_;
};

// The machine's clock: set directly when the process may, otherwise through the time-date service.
class SystemClockSetter final : public ClockSetter {
  public:
    void SetClock(UtcTime when, ClockSetDone done) const override;

  private:
    TimeDateService service_;
};

}  // namespace tikora
