#pragma once

#include "app/time_types.h"

namespace tikora {

// Where every "now" of the program comes from; tests install a fixed or stepping clock.
class TimeSource {
  public:
    virtual ~TimeSource() = default;
    virtual LocalTime Now() const = 0;
};

// The machine's real-time clock in the local zone.
class SystemTimeSource final : public TimeSource {
  public:
    LocalTime Now() const override;
};

}  // namespace tikora
