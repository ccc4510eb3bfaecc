// SPDX-License-Identifier: MIT
#pragma once

#include "platform/time_source.h"

namespace tikora {

// The machine's real-time clock in the local zone.
class SystemTimeSource final : public TimeSource {
  public:
    LocalTime Now() const override;
};

}  // namespace tikora
