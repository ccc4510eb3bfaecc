#pragma once

#include "platform/clock_setter.h"

namespace tikora {

// The machine's clock: set directly when the process may, otherwise through the system's
// time-date service, which asks the user for permission when it needs to.
class SystemClockSetter final : public ClockSetter {
  public:
    bool SetLocalTimeOfDay(int hour, int minute, int second) const override;
};

}  // namespace tikora
