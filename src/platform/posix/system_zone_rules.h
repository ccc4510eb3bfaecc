// SPDX-License-Identifier: MIT
#pragma once

#include "platform/clock_setter.h"
#include "platform/zone_rules.h"

namespace tikora {

// The system's time-zone database, through localtime_r: whatever TZ or /etc/localtime names.
class SystemZoneRules final : public ZoneRules {
  public:
    std::chrono::seconds OffsetAt(std::chrono::sys_seconds when) const override;
};

// The real-time clock, with the boot-time count as its steady companion: setting the clock
// doesn't move that count, and it runs on while the machine is suspended.
class SystemWallClock final : public WallClock {
  public:
    ClockReading Read() const override;
};

}  // namespace tikora
