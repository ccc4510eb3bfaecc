// SPDX-License-Identifier: MIT
#pragma once

// A Daytime (RFC 867) reply in the layout of the NIST time service:
// "\nJJJJJ YY-MM-DD HH:MM:SS TT L H msADV UTC(NIST) *": a line feed, the Modified Julian Date, the
// date, the UTC time of day at characters 17 to 24, then the daylight-saving and leap-second
// flags, the server's health (0 when healthy), the advance the server already gave the line so
// that its end arrives at the second it names, the tag and the on-time marker.

#include <chrono>
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

struct DaytimeAnswer {
    // The second the line names, which is now when the line arrives. A leap second (23:59:60) is
    // taken as 23:59:59 of its day, which the system's clock repeats in its place.
    std::chrono::sys_seconds instant;
    // The server says it is healthy. A reply without a health field doesn't say so.
    bool healthy = false;
};

// The answer a reply gives: nothing when its date and time are not where the layout puts them, or
// its date disagrees with its Modified Julian Date (which also gives the century).
std::optional<DaytimeAnswer> ReadDaytimeAnswer(std::string_view reply);

}  // namespace tikora
