// SPDX-License-Identifier: MIT
#include "atomic/time_of_day.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <vector>

namespace tikora {

using std::chrono::ceil;
using std::chrono::days;
using std::chrono::floor;
using std::chrono::milliseconds;
using std::chrono::nanoseconds;
using std::chrono::seconds;
using std::chrono::sys_days;
using std::chrono::sys_seconds;

namespace {

constexpr std::int64_t kSecondsPerDay = 86400;

// The number at the start of a field, as a numeric reading of a text takes it: blanks skipped, an
// optional sign, then digits. No digits at all read as 0.
std::int64_t FieldValue(std::string_view text, std::size_t position, std::size_t length) {
    const std::string_view field =
        position < text.size() ? text.substr(position, length) : std::string_view();
    std::size_t i = 0;
    while (i < field.size() && field[i] == ' ') {
        ++i;
    }
    bool negative = false;
    if (i < field.size() && (field[i] == '-' || field[i] == '+')) {
        negative = field[i] == '-';
        ++i;
    }
    std::int64_t value = 0;
    for (; i < field.size() && field[i] >= '0' && field[i] <= '9'; ++i) {
        value = value * 10 + (field[i] - '0');
    }
    return negative ? -value : value;
}

std::int64_t Wrap(std::int64_t value, std::int64_t range) {
    const std::int64_t rest = value % range;
    return rest < 0 ? rest + range : rest;
}

// Decimal digits, with one "0" in front of anything that is not two characters long.
std::string TwoDigits(std::int64_t value) {
    std::string digits = std::to_string(value);
    return digits.size() == 2 ? digits : "0" + digits;
}

bool TwoDigitField(std::string_view text, std::size_t position, int highest, int& value) {
    const char tens = text[position];
    const char units = text[position + 1];
    if (tens < '0' || tens > '9' || units < '0' || units > '9') {
        return false;
    }
    value = (tens - '0') * 10 + (units - '0');
    return value <= highest;
}

// The instants at which the local clock shows `local` (a local date and time, counted as if it
// were UTC): one, or two in the hour repeated when the clocks go back. The offsets in force a day
// either side are the only ones that can apply, as no zone changes its offset twice in two days.
std::vector<sys_seconds> InstantsShowing(sys_seconds local, const ZoneRules& zone) {
    const seconds before = zone.OffsetAt(local - days{1});
    const seconds after = zone.OffsetAt(local + days{1});
    std::vector<sys_seconds> found;
    if (zone.OffsetAt(local - before) == before) {
        found.push_back(local - before);
    }
    if (after != before && zone.OffsetAt(local - after) == after) {
        found.push_back(local - after);
    }
    if (found.empty()) {
        // Skipped when the clocks went forward.
        found.push_back(local - before);
    }
    return found;
}

}  // namespace

std::string TimeOfDayText(int hour, int minute, int second) {
    return TwoDigits(hour) + ":" + TwoDigits(minute) + ":" + TwoDigits(second);
}

std::string TimeOfDayText(seconds sinceMidnight) {
    const std::int64_t total = Wrap(sinceMidnight.count(), kSecondsPerDay);
    return TwoDigits(total / 3600) + ":" + TwoDigits(total / 60 % 60) + ":" + TwoDigits(total % 60);
}

std::optional<TimeOfDay> ParseTimeOfDay(std::string_view text) {
    TimeOfDay time;
    if (text.size() != 8 || text[2] != ':' || text[5] != ':' ||
        !TwoDigitField(text, 0, 23, time.hour) || !TwoDigitField(text, 3, 59, time.minute) ||
        !TwoDigitField(text, 6, 60, time.second)) {
        return std::nullopt;
    }
    return time;
}

std::string AdvanceTime(std::string_view text, float elapsed) {
    // Only whole seconds count; a count beyond any real use is held to a few centuries so that the
    // sum below can't overflow.
    const double whole = std::isfinite(elapsed) ? std::floor(static_cast<double>(elapsed)) : 0.0;
    const auto step = static_cast<std::int64_t>(std::fmax(-1e10, std::fmin(1e10, whole)));
    return TimeOfDayText(seconds{FieldValue(text, 0, 2) * 3600 + FieldValue(text, 3, 2) * 60 +
                                 FieldValue(text, 6, 2) + step});
}

nanoseconds LocalTimeOfDay(UtcTime when, const ZoneRules& zone) {
    const UtcTime local = when + zone.OffsetAt(floor<seconds>(when));
    return local - floor<days>(local);
}

UtcTime NearestInstant(nanoseconds timeOfDay, UtcTime now, const ZoneRules& zone) {
    const seconds whole = floor<seconds>(timeOfDay);
    const nanoseconds fraction = timeOfDay - whole;
    const sys_seconds nowSeconds = floor<seconds>(now);
    const sys_days today = floor<days>(nowSeconds + zone.OffsetAt(nowSeconds));
    UtcTime nearest = now;
    nanoseconds distance = nanoseconds::max();
    for (const days day : {days{-1}, days{0}, days{1}}) {
        for (const sys_seconds instant : InstantsShowing(today + day + whole, zone)) {
            const UtcTime candidate = instant + fraction;
            if (abs(candidate - now) < distance) {
                distance = abs(candidate - now);
                nearest = candidate;
            }
        }
    }
    return nearest;
}

int MillisecondsUntilNextSecond(nanoseconds elapsed) {
    const nanoseconds intoSecond = elapsed - floor<seconds>(elapsed);
    const auto until = ceil<milliseconds>(seconds{1} - intoSecond).count();
    return static_cast<int>(std::clamp<std::int64_t>(until, 1, 1000));
}

}  // namespace tikora
