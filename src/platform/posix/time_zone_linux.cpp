// SPDX-License-Identifier: MIT
#include <algorithm>
#include <ctime>

#include "posix/system_time_zone.h"

namespace tikora {
namespace {

struct YearOffsets {
    long smallest = 0;
    long largest = 0;
};

long OffsetAt(std::time_t when, int* localYear = nullptr) {
    tm local{};
    if (localtime_r(&when, &local) == nullptr) {
        return 0;
    }
    if (localYear != nullptr) {
        *localYear = local.tm_year + 1900;
    }
    return local.tm_gmtoff;
}

// One sample a day at noon UTC catches every offset the zone uses in the year: no zone keeps an
// offset for less than a day.
YearOffsets SampleYear(int year) {
    tm janFirst{};
    janFirst.tm_year = year - 1900;
    janFirst.tm_mday = 1;
    janFirst.tm_hour = 12;
    const std::time_t start = timegm(&janFirst);
    YearOffsets offsets{OffsetAt(start), OffsetAt(start)};
    for (int day = 1; day < 366; ++day) {
        const long offset = OffsetAt(start + static_cast<std::time_t>(day) * 86400);
        offsets.smallest = std::min(offsets.smallest, offset);
        offsets.largest = std::max(offsets.largest, offset);
    }
    return offsets;
}

TimeZoneReading Reading(YearOffsets year, long now) {
    TimeZoneReading reading;
    reading.info.Bias = static_cast<std::int32_t>(-year.smallest / 60);
    reading.info.StandardBias = 0;
    reading.info.DaylightBias = static_cast<std::int32_t>((year.smallest - year.largest) / 60);
    if (year.smallest == year.largest) {
        reading.result = kZoneNoDaylightRules;
    } else {
        reading.result = now == year.largest ? kZoneDaylightTime : kZoneStandardTime;
    }
    return reading;
}

}  // namespace

TimeZoneReading ReadTimeZoneAt(std::time_t when) {
    int year = 0;
    const long now = OffsetAt(when, &year);
    YearOffsets offsets = SampleYear(year);
    offsets.smallest = std::min(offsets.smallest, now);
    offsets.largest = std::max(offsets.largest, now);
    return Reading(offsets, now);
}

TimeZoneReading SystemTimeZone::Read() const {
    return ReadAt(std::time(nullptr));
}

void SystemTimeZone::Forget() {
    cachedYear_ = -1;
    readUntil_ = readFrom_;
}

TimeZoneReading SystemTimeZone::ReadAt(std::time_t when) const {
    if (when >= readFrom_ && when < readUntil_) {
        return reading_;
    }
    int year = 0;
    const long now = OffsetAt(when, &year);
    if (year != cachedYear_ || now < cachedMin_ || now > cachedMax_) {
        const YearOffsets offsets = SampleYear(year);
        cachedYear_ = year;
        cachedMin_ = std::min(offsets.smallest, now);
        cachedMax_ = std::max(offsets.largest, now);
    }
    reading_ = Reading({cachedMin_, cachedMax_}, now);
    // No zone keeps an offset for less than a minute (nor for less than a day), so the same
    // offset and year a minute from now mean the same offset and year all that minute, and the
    // same reading. Otherwise the offset or the year changes within it: no reading is kept.
    constexpr std::time_t kMinute = 60;
    int laterYear = 0;
    const bool steady = OffsetAt(when + kMinute, &laterYear) == now && laterYear == year;
    readFrom_ = when;
    readUntil_ = steady ? when + kMinute : when;
    return reading_;
}

}  // namespace tikora
