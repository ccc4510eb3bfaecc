// SPDX-License-Identifier: MIT
#include "atomic/daytime_reply.h"

#include <algorithm>

#include "atomic/time_of_day.h"

namespace tikora {
namespace {

constexpr std::size_t kTimeFieldStart = 16;  // character 17, counted from 0
constexpr std::size_t kTimeFieldLength = 8;

std::optional<int> Digits(std::string_view text) {
    int value = 0;
    for (const char c : text) {
        if (c < '0' || c > '9') {
            return std::nullopt;
        }
        value = value * 10 + (c - '0');
    }
    return value;
}

}  // namespace

bool DaytimeReply::Append(std::string_view piece) {
    text_.append(piece.substr(0, Room()));
    return Complete();
}

bool DaytimeReply::Complete() const {
    return text_.size() >= kMaxBytes ||
           text_.find('\n', kTimeFieldStart + kTimeFieldLength) != std::string::npos;
}

std::optional<DaytimeAnswer> ReadDaytimeAnswer(std::string_view reply) {
    using namespace std::chrono;
    if (reply.size() < kTimeFieldStart + kTimeFieldLength || reply[0] != '\n' ||
        reply.substr(6, 1) != " " || reply.substr(9, 1) != "-" || reply.substr(12, 1) != "-" ||
        reply.substr(15, 1) != " ") {
        return std::nullopt;
    }
    const std::optional<int> mjd = Digits(reply.substr(1, 5));
    const std::optional<int> yy = Digits(reply.substr(7, 2));
    const std::optional<int> mm = Digits(reply.substr(10, 2));
    const std::optional<int> dd = Digits(reply.substr(13, 2));
    const std::optional<TimeOfDay> time = ParseTimeOfDay(reply.substr(kTimeFieldStart, 8));
    if (!mjd || !yy || !mm || !dd || !time ||
        (time->second == 60 && (time->hour != 23 || time->minute != 59))) {
        return std::nullopt;
    }
    constexpr int kMjdOfUnixEpoch = 40587;  // 1970-01-01
    const sys_days day{days{*mjd - kMjdOfUnixEpoch}};
    const year_month_day date{day};
    if (static_cast<int>(date.year()) % 100 != *yy ||
        static_cast<unsigned>(date.month()) != static_cast<unsigned>(*mm) ||
        static_cast<unsigned>(date.day()) != static_cast<unsigned>(*dd)) {
        return std::nullopt;
    }
    DaytimeAnswer answer;
    answer.instant =
        day + hours{time->hour} + minutes{time->minute} + seconds{std::min(time->second, 59)};
    // After the time: TT, L and H, separated by blanks.
    std::size_t at = kTimeFieldStart + kTimeFieldLength;
    std::string_view field;
    for (int i = 0; i < 3; ++i) {
        at = reply.find_first_not_of(' ', at);
        if (at == std::string_view::npos) {
            return answer;
        }
        const std::size_t end = std::min(reply.find_first_of(" \r\n", at), reply.size());
        field = reply.substr(at, end - at);
        at = end;
    }
    answer.healthy = field == "0";
    return answer;
}

}  // namespace tikora
