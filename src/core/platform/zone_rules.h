// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

namespace tikora {

// The local zone's rules over its whole history: local time = UTC + the offset in force.
class ZoneRules {
  public:
    virtual ~ZoneRules() = default;
    virtual std::chrono::seconds OffsetAt(std::chrono::sys_seconds when) const = 0;
};

}  // namespace tikora
