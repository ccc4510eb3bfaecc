// SPDX-License-Identifier: MIT
#pragma once

// Time-of-day arithmetic of the atomic-time page: texts of the form HH:MM:SS, the local time of
// day of an instant, and the instant nearest to now that shows a given time of day.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock_setter.h"
#include "platform/zone_rules.h"

namespace tikora {

struct TimeOfDay {
    int hour = 0;
    int minute = 0;
    int second = 0;
};

// "HH:MM:SS", each field two digits.
std::string TimeOfDayText(int hour, int minute, int second);
// The same for whole seconds since midnight, wrapped into one day.
std::string TimeOfDayText(std::chrono::seconds sinceMidnight);

// A text that is exactly a time of day: two digits 00-23, ":", 00-59, ":", 00-60 (a leap second).
std::optional<TimeOfDay> ParseTimeOfDay(std::string_view text);

// `text` advanced by the whole seconds of `seconds`. The fields are read at their places
// (characters 1-2, 4-5, 7-8), a field that is not a number counting as 0, and the hours wrap into
// 00-23, so the result is always a time of day.
std::string AdvanceTime(std::string_view text, float seconds);

// The local time of day at `when` under the zone's rules, with its fraction: 0 to just under 24 h.
std::chrono::nanoseconds LocalTimeOfDay(UtcTime when, const ZoneRules& zone);

// The instant nearest to `now` whose local time of day is `timeOfDay`: yesterday's, today's or
// tomorrow's, never much more than 12 hours away. Where the local time occurs twice (the hour
// repeated when the clocks go back) the nearer one is taken. A time the clocks skipped when they
// went forward is read with the offset of before the change, as a display left running across it
// still counts in that offset.
UtcTime NearestInstant(std::chrono::nanoseconds timeOfDay, UtcTime now, const ZoneRules& zone);

// Milliseconds (1 to 1000) until a count that stands at `elapsed` reaches its next whole second.
int MillisecondsUntilNextSecond(std::chrono::nanoseconds elapsed);

}  // namespace tikora
