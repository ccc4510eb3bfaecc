// SPDX-License-Identifier: MIT
#pragma once

#include "platform/clock_setter.h"
#include "platform/time_source.h"
#include "platform/time_zone.h"
#include "platform/zone_rules.h"

namespace tikora {

// The system clock in the zone Windows is set to, to the 100 ns it keeps.
class Win32TimeSource final : public TimeSource {
  public:
    LocalTime Now() const override;
};

// The system clock with the interrupt-time count beside it, which setting the clock does not move
// and which runs on while the machine sleeps.
class Win32WallClock final : public WallClock {
  public:
    ClockReading Read() const override;
};

// GetTimeZoneInformation itself: its biases and its answer, read afresh each time, so a change of
// zone counts at once.
class Win32TimeZone final : public TimeZoneSource {
  public:
    TimeZoneReading Read() const override;
};

// The zone's rules for the year of each instant (GetTimeZoneInformationForYear), so that an
// instant in another year is judged by the daylight-saving dates of its own.
class Win32ZoneRules final : public ZoneRules {
  public:
    std::chrono::seconds OffsetAt(std::chrono::sys_seconds when) const override;
};

}  // namespace tikora
