// SPDX-License-Identifier: MIT
#include "clock/internet_time.h"

namespace tikora {

std::int32_t ZoneOffsetMinutes(const TimeZoneReading& zone) {
    switch (zone.result) {
        case kZoneNoDaylightRules:
        case kZoneStandardTime:
            return -(zone.info.Bias + zone.info.StandardBias);
        case kZoneDaylightTime:
            return -(zone.info.Bias + zone.info.DaylightBias);
        default:
            return 0;
    }
}

double InternetTime(const LocalTime& now, std::int32_t offsetMinutes) {
    // The 60 is the one hour of UTC+1; subtracting the offset moves local time to UTC.
    const std::int64_t seconds =
        3600LL * now.hour + 60LL * (60LL + now.minute - offsetMinutes) + now.second;
    double value = static_cast<double>(1000 * seconds) / 86400.0;
    if (value > 1000) {
        value -= 1000;
    } else if (value < 0) {
        value += 1000;
    }
    return value;
}

}  // namespace tikora
