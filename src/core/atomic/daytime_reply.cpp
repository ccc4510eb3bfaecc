#include "atomic/daytime_reply.h"

#include "atomic/time_of_day.h"

namespace tikora {
namespace {

constexpr std::size_t kTimeFieldStart = 16;  // character 17, counted from 0
constexpr std::size_t kTimeFieldLength = 8;

}  // namespace

bool DaytimeReply::Append(std::string_view piece) {
    text_.append(piece.substr(0, Room()));
    return Complete();
}

bool DaytimeReply::Complete() const {
    return text_.size() >= kMaxBytes ||
           text_.find('\n', kTimeFieldStart + kTimeFieldLength) != std::string::npos;
}

std::optional<std::string> ReplyTimeField(std::string_view reply) {
    if (reply.size() < kTimeFieldStart + kTimeFieldLength) {
        return std::nullopt;
    }
    const std::string_view field = reply.substr(kTimeFieldStart, kTimeFieldLength);
    if (!ParseTimeOfDay(field)) {
        return std::nullopt;
    }
    return std::string(field);
}

}  // namespace tikora
