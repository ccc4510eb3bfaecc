// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>

namespace tikora {

// A reading of the local clock, broken down. Fractions of a second are kept in nanoseconds.
struct LocalTime {
    int year = 1970;
    int month = 1;  // 1..12
    int day = 1;    // 1..31
    int hour = 0;   // 0..23
    int minute = 0;
    int second = 0;
    std::int32_t nanosecond = 0;

    // Seconds since local midnight, with fractions, in the single precision the displays keep.
    float SecondsSinceMidnight() const {
        return static_cast<float>(hour * 3600 + minute * 60 + second +
                                  static_cast<double>(nanosecond) / 1e9);
    }
};

// The published time-zone record: minutes, with UTC = local time + bias.
struct TimeZoneInformation {
    std::int32_t Bias = 0;
    std::int32_t StandardBias = 0;
    std::int32_t DaylightBias = 0;
};

// Result codes of a time-zone reading.
inline constexpr std::int32_t kZoneNoDaylightRules = 0;  // the zone has no daylight-saving rules
inline constexpr std::int32_t kZoneStandardTime = 1;     // standard time is in force
inline constexpr std::int32_t kZoneDaylightTime = 2;     // daylight time is in force
inline constexpr std::int32_t kZoneUnreadable = -1;      // the zone could not be read

struct TimeZoneReading {
    TimeZoneInformation info;
    std::int32_t result = kZoneUnreadable;
};

}  // namespace tikora
