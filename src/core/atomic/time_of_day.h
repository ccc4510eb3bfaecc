#pragma once

// Time-of-day arithmetic of the atomic-time page: texts of the form HH:MM:SS, the running
// displays' elapsed seconds and when their shown second next changes, and the move from UTC to
// local time.

#include <optional>
#include <string>
#include <string_view>

#include "shared/time_types.h"

namespace tikora {

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// "HH:MM:SS", each field two digits.
std::string TimeOfDayText(int hour, int minute, int second);

// A text that is exactly a time of day: two digits 00-23, ":", 00-59, ":", 00-60 (a leap second).
std::optional<TimeOfDay> ParseTimeOfDay(std::string_view text);

// `text` advanced by the whole seconds of `seconds`. The fields are read at their places
// (characters 1-2, 4-5, 7-8), a field that is not a number counting as 0, and the hours wrap into
// 00-23, so the result is always a time of day.
std::string AdvanceTime(std::string_view text, float seconds);

// Seconds from `base` to `now`, both seconds since local midnight. A negative difference means
// midnight came in between, so the day is counted.
float ElapsedSeconds(float now, float base);

// How long until a display running from `base` shows its next second: at least 1, at most 1000.
int MillisecondsUntilShownChange(float now, float base);

// A UTC time of day in local time. Zones a whole number of hours from UTC only change the hours,
// carrying the rest of the text over as it stands; other zones convert the minutes too.
std::string UtcToLocalTime(std::string_view utc, const TimeZoneReading& zone);

}  // namespace tikora
