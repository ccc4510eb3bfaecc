// SPDX-License-Identifier: MIT
#pragma once

#include <ctime>

#include "platform/time_zone.h"

namespace tikora {

// Derived from the system's time-zone database: the UTC offsets met across the year of `when` give
// standard time (the smaller) and daylight time (the larger). tm_isdst is not consulted, because
// some zones (Europe/Dublin) mark their winter time as daylight time.
TimeZoneReading ReadTimeZoneAt(std::time_t when);

class SystemTimeZone final : public TimeZoneSource {
  public:
    TimeZoneReading Read() const override;
    // The reading at `now`, as ReadTimeZoneAt gives it; Read is ReadAt(std::time(nullptr)).
    TimeZoneReading ReadAt(std::time_t now) const;
    // Drops what it kept, for a zone the C library has just read anew.
    void Forget();

  private:
    // The year's two offsets change only with the year, so they are sampled once per year.
    mutable int cachedYear_ = -1;
    mutable long cachedMin_ = 0;
    mutable long cachedMax_ = 0;
    // The offset holds for months: a reading serves every moment from `readFrom_` up to, not
    // including, `readUntil_`, until the zone itself changes (Forget).
    mutable std::time_t readFrom_ = 0;
    mutable std::time_t readUntil_ = 0;
    mutable TimeZoneReading reading_;
};

}  // namespace tikora
