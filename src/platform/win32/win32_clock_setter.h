// SPDX-License-Identifier: MIT
#pragma once

#include "platform/clock_setter.h"

namespace tikora {

// Sets the system clock directly (SetSystemTime, with SE_SYSTEMTIME_NAME enabled): the answer is
// there before SetClock returns.
class Win32ClockSetter final : public ClockSetter {
  public:
    void SetClock(UtcTime when, ClockSetDone done) const override;
};

// How the outcome of setting the clock is reported: 0 is done; a missing privilege or a denied
// access (a standard user) is a refusal; anything else a failure; each in the system's own words.
ClockSetReport ClockSetReportFor(unsigned long error);

}  // namespace tikora
