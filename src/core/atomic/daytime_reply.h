#pragma once

// A Daytime (RFC 867) reply in the layout of the NIST time service: a line feed, the Modified
// Julian Date, the date YY-MM-DD and, at characters 17 to 24, the UTC time of day HH:MM:SS,
// followed by the service's flags and the "UTC(NIST)" tag.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace tikora {

// The reply as it arrives, possibly in several pieces. It is complete once its line has ended
// after the time field or it has reached kMaxBytes; a server that closes the connection ends it
// too, which the caller sees for itself.
class DaytimeReply {
  public:
    static constexpr std::size_t kMaxBytes = 1024;

    // Adds a piece, keeping no more than kMaxBytes in all. True when the reply is now complete.
    bool Append(std::string_view piece);
    bool Complete() const;
    std::size_t Room() const { return kMaxBytes - text_.size(); }
    const std::string& Text() const { return text_; }
    void Clear() { text_.clear(); }

  private:
    std::string text_;
};

// Characters 17 to 24 of a reply when they are a time of day; nothing otherwise.
std::optional<std::string> ReplyTimeField(std::string_view reply);

}  // namespace tikora
