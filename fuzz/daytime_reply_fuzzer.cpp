// The Daytime reply handling, fed a server's bytes in arbitrary pieces. The first bytes of the
// input choose the zone and how the stream is cut; the rest is what the server sends.
//
// What the preferences window makes of a reply may depend only on the bytes the server sent, never
// on how the network cut them: the reply assembled piece by piece, taken when it reports itself
// complete (or when the stream ends, as a server hanging up ends it), must give the same time
// field as the whole stream read at once, and never hold more than the cap.

#include <fuzzer/FuzzedDataProvider.h>

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "atomic/daytime_reply.h"
#include "atomic/time_of_day.h"

namespace {

using tikora::DaytimeReply;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The reply as the window holds it when it handles it.
std::string Assemble(std::string_view stream, const std::vector<std::size_t>& cuts) {
    DaytimeReply reply;
    std::size_t at = 0;
    for (std::size_t i = 0; at < stream.size(); ++i) {
        const std::size_t length = i < cuts.size() ? cuts[i] : stream.size() - at;
        const std::size_t room = reply.Room();
        const std::size_t before = reply.Text().size();
        // The window never asks the socket for more than the room left.
        const std::string_view piece = stream.substr(at, std::min(length, room));
        at += piece.size();
        const bool complete = reply.Append(piece);
        Require(reply.Text().size() == before + piece.size());
        Require(reply.Text().size() <= DaytimeReply::kMaxBytes);
        Require(complete == reply.Complete());
        if (complete) {
            return reply.Text();
        }
        Require(room > 0);
    }
    return reply.Text();  // the server hung up
}

void CheckField(const std::optional<std::string>& field, const tikora::TimeZoneReading& zone,
                float seconds) {
    if (!field) {
        return;
    }
    Require(field->size() == 8 && tikora::ParseTimeOfDay(*field).has_value());
    const std::string local = tikora::UtcToLocalTime(*field, zone);
    Require(tikora::ParseTimeOfDay(local).has_value());
    const std::string advanced = tikora::AdvanceTime(local, seconds);
    Require(tikora::ParseTimeOfDay(advanced).has_value());
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    FuzzedDataProvider input(data, size);
    tikora::TimeZoneReading zone;
    zone.info.Bias = input.ConsumeIntegralInRange<std::int32_t>(-14 * 60, 14 * 60);
    zone.info.DaylightBias = input.ConsumeIntegralInRange<std::int32_t>(-120, 120);
    zone.result = input.ConsumeIntegralInRange<std::int32_t>(-1, 2);
    const float now = input.ConsumeFloatingPointInRange<float>(0, 86400);
    const float base = input.ConsumeFloatingPointInRange<float>(0, 86400);
    std::vector<std::size_t> cuts(input.ConsumeIntegralInRange<std::size_t>(0, 64));
    for (std::size_t& cut : cuts) {
        cut = input.ConsumeIntegralInRange<std::size_t>(0, 80);
    }
    const std::string stream = input.ConsumeRemainingBytesAsString();

    const std::string pieces = Assemble(stream, cuts);
    const std::string whole = Assemble(stream, {});
    const std::optional<std::string> field = tikora::ReplyTimeField(pieces);
    Require(field == tikora::ReplyTimeField(whole));
    Require(std::string_view(stream).starts_with(pieces));
    CheckField(field, zone, tikora::ElapsedSeconds(now, base));
    const int wait = tikora::MillisecondsUntilShownChange(now, base);
    Require(wait >= 1 && wait <= 1000);
    return 0;
}
