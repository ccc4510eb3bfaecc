// SPDX-License-Identifier: MIT
#pragma once

#include "shared/time_types.h"

namespace tikora {

// Where every "now" of the program comes from; tests install a fixed or stepping clock.
class TimeSource {
  public:
    virtual ~TimeSource() = default;
    virtual LocalTime Now() const = 0;
};

}  // namespace tikora
