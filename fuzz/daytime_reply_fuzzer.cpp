// SPDX-License-Identifier: MIT
// The Daytime reply handling, fed a server's bytes in arbitrary pieces. The first bytes of the
// input choose how the stream is cut, the zone and the moments; the rest is what the server sends.
//
// What the preferences window makes of a reply may depend only on the bytes the server sent, never
// on how the network cut them: the reply assembled piece by piece, taken when it reports itself
// complete (or when the stream ends, as a server hanging up ends it), must give the same answer
// as the whole stream read at once, and never hold more than the cap. The running displays then
// take it: whatever the reply and the moments, they show times of day, and the clock is only ever
// set from a healthy answer, to an instant within about 12 hours that shows what the local
// display shows.

#include <fuzzer/FuzzedDataProvider.h>

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "atomic/daytime_reply.h"
#include "atomic/running_displays.h"
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

// A zone with one offset all year, as the input chooses it.
class FixedOffset final : public tikora::ZoneRules {
  public:
    explicit FixedOffset(std::chrono::seconds offset) : offset_(offset) {}
    std::chrono::seconds OffsetAt(std::chrono::sys_seconds) const override { return offset_; }

  private:
    std::chrono::seconds offset_;
};

// A reading of the clock, anywhere from 1900 to 2200, its steady count later than `after`'s.
tikora::ClockReading Moment(FuzzedDataProvider& input, const tikora::ClockReading& after) {
    using namespace std::chrono;
    const seconds utc{input.ConsumeIntegralInRange<std::int64_t>(-2'208'988'800, 7'258'118'400)};
    const nanoseconds fraction{input.ConsumeIntegralInRange<std::int64_t>(0, 999'999'999)};
    const nanoseconds later{input.ConsumeIntegralInRange<std::int64_t>(0, 1'000'000'000'000'000)};
    return {tikora::UtcTime{utc + fraction}, after.steady + later};
}

void RequireTimesOfDay(const tikora::RunningDisplays& displays, const tikora::ClockReading& now) {
    for (const tikora::DisplayId id : {tikora::DisplayId::Local, tikora::DisplayId::Atomic}) {
        Require(tikora::ParseTimeOfDay(displays.Shown(id)).has_value());
        const std::optional<int> wait = displays.MillisecondsUntilChange(id, now);
        Require(wait.has_value() == displays.Running(id));
        Require(!wait || (*wait >= 1 && *wait <= 1000));
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace std::chrono;
    FuzzedDataProvider input(data, size);
    std::vector<std::size_t> cuts(input.ConsumeIntegralInRange<std::size_t>(0, 64));
    for (std::size_t& cut : cuts) {
        cut = input.ConsumeIntegralInRange<std::size_t>(0, 80);
    }
    const FixedOffset zone(seconds{input.ConsumeIntegralInRange(-14 * 3600, 14 * 3600)});
    const tikora::ClockReading loaded = Moment(input, {});
    const tikora::ClockReading answered = Moment(input, loaded);
    const tikora::ClockReading later = Moment(input, answered);
    const std::string stream = input.ConsumeRemainingBytesAsString();

    const std::string pieces = Assemble(stream, cuts);
    const std::string whole = Assemble(stream, {});
    const std::optional<tikora::DaytimeAnswer> answer = tikora::ReadDaytimeAnswer(pieces);
    const std::optional<tikora::DaytimeAnswer> wholeAnswer = tikora::ReadDaytimeAnswer(whole);
    Require(answer.has_value() == wholeAnswer.has_value());
    Require(!answer ||
            (answer->instant == wholeAnswer->instant && answer->healthy == wholeAnswer->healthy));
    Require(std::string_view(stream).starts_with(pieces));
    tikora::AtomicTimeStateRecord store;
    tikora::RunningDisplays displays(store, zone);
    displays.Load(loaded);
    const tikora::ReplyResult taken = displays.TakeReply(pieces, answered).result;
    Require((taken == tikora::ReplyResult::NotATime) == !answer.has_value());
    RequireTimesOfDay(displays, answered);
    Require((displays.Synchronise(answered) == tikora::SyncResult::Done) == answer.has_value());
    displays.Tick(tikora::DisplayId::Local, later);
    RequireTimesOfDay(displays, later);
    const tikora::UpdatePlan plan = displays.PlanUpdate(later);
    Require((plan.refusal == tikora::UpdateRefusal::None) == (answer && answer->healthy));
    if (plan.refusal == tikora::UpdateRefusal::None) {
        // The answer gives the date: the instant it names, run on to `later`.
        Require(abs(plan.target - (answer->instant + (later.steady - answered.steady))) <=
                hours{12});
        Require(tikora::TimeOfDayText(floor<seconds>(tikora::LocalTimeOfDay(plan.target, zone))) ==
                displays.Shown(tikora::DisplayId::Local));
        displays.Rebase({plan.target, later.steady});
        RequireTimesOfDay(displays, later);
    }
    return 0;
}
