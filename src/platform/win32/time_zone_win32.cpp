// SPDX-License-Identifier: MIT
#include <windows.h>

#include <optional>

#include "win32/file_time.h"
#include "win32/system_time.h"

namespace tikora {
namespace {

std::optional<UtcTime> FromSystemTime(const SYSTEMTIME& broken) {
    FILETIME time{};
    if (!SystemTimeToFileTime(&broken, &time)) {
        return std::nullopt;
    }
    return FromFileTime(time);
}

}  // namespace

TimeZoneReading Win32TimeZone::Read() const {
    TIME_ZONE_INFORMATION zone{};
    const DWORD result = GetTimeZoneInformation(&zone);
    TimeZoneReading reading;
    if (result == TIME_ZONE_ID_INVALID) {
        return reading;
    }
    reading.info = {static_cast<std::int32_t>(zone.Bias),
                    static_cast<std::int32_t>(zone.StandardBias),
                    static_cast<std::int32_t>(zone.DaylightBias)};
    reading.result = static_cast<std::int32_t>(result);
    return reading;
}

std::chrono::seconds Win32ZoneRules::OffsetAt(std::chrono::sys_seconds when) const {
    const SYSTEMTIME utc = ToSystemTime(when);
    // The rules of the local year: near New Year it may differ from the UTC one.
    USHORT year = utc.wYear;
    for (int pass = 0; pass < 2; ++pass) {
        TIME_ZONE_INFORMATION zone{};
        SYSTEMTIME local{};
        if (!GetTimeZoneInformationForYear(year, nullptr, &zone) ||
            !SystemTimeToTzSpecificLocalTime(&zone, &utc, &local)) {
            break;
        }
        const std::optional<UtcTime> shifted = FromSystemTime(local);
        if (shifted && (local.wYear == year || pass == 1)) {
            return std::chrono::floor<std::chrono::seconds>(*shifted - UtcTime{when});
        }
        year = local.wYear;
    }
    return std::chrono::seconds{0};
}

}  // namespace tikora
