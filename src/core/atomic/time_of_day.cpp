#include "atomic/time_of_day.h"

#include <cmath>
#include <cstdint>

#include "clock/internet_time.h"

namespace tikora {
namespace {

constexpr std::int64_t kSecondsPerDay = 86400;
constexpr std::int64_t kMinutesPerDay = 1440;

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

}  // namespace

std::string TimeOfDayText(int hour, int minute, int second) {
    return TwoDigits(hour) + ":" + TwoDigits(minute) + ":" + TwoDigits(second);
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

std::string AdvanceTime(std::string_view text, float seconds) {
    // Only whole seconds count; a count beyond any real use is held to a few centuries so that the
    // sum below can't overflow.
    const double whole = std::isfinite(seconds) ? std::floor(static_cast<double>(seconds)) : 0.0;
    const auto step = static_cast<std::int64_t>(std::fmax(-1e10, std::fmin(1e10, whole)));
    const std::int64_t total = Wrap(
        FieldValue(text, 0, 2) * 3600 + FieldValue(text, 3, 2) * 60 + FieldValue(text, 6, 2) + step,
        kSecondsPerDay);
    return TwoDigits(total / 3600) + ":" + TwoDigits(total / 60 % 60) + ":" + TwoDigits(total % 60);
}

float ElapsedSeconds(float now, float base) {
    const float elapsed = now - base;
    return elapsed < 0 ? elapsed + static_cast<float>(kSecondsPerDay) : elapsed;
}

int MillisecondsUntilShownChange(float now, float base) {
    const double elapsed = ElapsedSeconds(now, base);
    if (!std::isfinite(elapsed)) {
        return 1000;
    }
    const double untilNext = std::ceil((1.0 - (elapsed - std::floor(elapsed))) * 1000.0);
    return static_cast<int>(std::fmax(1.0, std::fmin(1000.0, untilNext)));
}

std::string UtcToLocalTime(std::string_view utc, const TimeZoneReading& zone) {
    const std::int32_t offset = ZoneOffsetMinutes(zone);
    const std::int64_t hour = FieldValue(utc, 0, 2);
    if (offset % 60 == 0) {
        const std::string rest(utc.size() > 2 ? utc.substr(2, 6) : std::string_view());
        return TwoDigits(Wrap(hour + offset / 60, 24)) + rest;
    }
    // Half- and quarter-hour zones (India, Nepal, Newfoundland ...) move the minutes as well.
    const std::int64_t minutes = Wrap(hour * 60 + FieldValue(utc, 3, 2) + offset, kMinutesPerDay);
    const std::string seconds(utc.size() > 5 ? utc.substr(5, 3) : std::string_view());
    return TwoDigits(minutes / 60) + ":" + TwoDigits(minutes % 60) + seconds;
}

}  // namespace tikora
