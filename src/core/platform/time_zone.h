// SPDX-License-Identifier: MIT
#pragma once

#include "shared/time_types.h"

namespace tikora {

// The local zone's biases and whether daylight time is in force now.
class TimeZoneSource {
  public:
    virtual ~TimeZoneSource() = default;
    virtual TimeZoneReading Read() const = 0;
};

}  // namespace tikora
