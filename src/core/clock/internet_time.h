// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

#include "shared/time_types.h"

namespace tikora {

// The zone offset in force, in minutes of local time minus UTC, from a time-zone reading: standard
// bias for "unknown" and "standard", daylight bias for "daylight", and 0 (UTC) for anything else.
std::int32_t ZoneOffsetMinutes(const TimeZoneReading& zone);

// The Internet Time beat value (0..1000) for a reading of the local clock at the given zone offset:
// its time of day in whole seconds, moved to UTC+1, with one wrap into range.
double InternetTime(const LocalTime& now, std::int32_t offsetMinutes);

}  // namespace tikora
