// SPDX-License-Identifier: MIT
#pragma once

// The two running displays of the atomic-time page: the local time and the time server's. Each
// shows a base time of day advanced by the whole seconds elapsed since the base was taken. The
// elapsed time is counted on the clock's steady count, so setting the clock doesn't move a
// display, and the part of a second past its base text is carried along, so that nothing is lost
// between an answer, a synchronisation and setting the clock. The base texts and the moments they
// were taken (in seconds since local midnight) are written to the shared record; what each
// display shows, and what it runs from, belongs to one opening of the window.
//
// Nothing here reads a clock: every "now" is the caller's reading of the computer's clock.

#include <chrono>
#include <optional>
#include <string>
#include <string_view>

#include "platform/clock_setter.h"
#include "platform/zone_rules.h"
#include "shared/modDefs.h"

namespace tikora {

enum class DisplayId { Local, Atomic };

enum class ReplyResult { Taken, TakenUnhealthy, TakenLate, NotATime };
enum class SyncResult { Done, NoAnswer };
enum class UpdateRefusal { None, NotSynchronised, Unhealthy, Late };

// A line that took longer than this from its first byte to its end no longer names the moment it
// ended: shown, but not trusted to set the clock.
inline constexpr std::chrono::seconds kLateLine{1};

// How a reply was taken; `otherDate` is the answer's local date where it is not the computer's.
struct ReplyTaken {
    ReplyResult result = ReplyResult::NotATime;
    std::chrono::nanoseconds took{0};
    std::optional<std::chrono::year_month_day> otherDate;
};

// What "Update Local Time" would do at a moment: set the clock to `target`, moving it by `change`,
// to the local date `otherDate` where that is not the computer's.
struct UpdatePlan {
    UpdateRefusal refusal = UpdateRefusal::None;
    UtcTime target;
    std::chrono::nanoseconds change{0};
    std::optional<std::chrono::year_month_day> otherDate;
};

class RunningDisplays {
  public:
    // What both displays show before they have a base.
    static constexpr std::string_view kStandingStill = "00:00:00";

    // `store` holds the bases; the program passes AtomicTimeState. `zone` converts instants.
    RunningDisplays(AtomicTimeStateRecord& store, const ZoneRules& zone);
    RunningDisplays(const RunningDisplays&) = delete;
    RunningDisplays& operator=(const RunningDisplays&) = delete;

    // The window has loaded: the local display runs from the clock's time of day; the atomic one
    // stands still until an answer gives it a base.
    void Load(const ClockReading& now);

    // A display's timer came due: a running display shows its base advanced to `now`, recomputed
    // from the base every time so that nothing accumulates between ticks.
    void Tick(DisplayId display, const ClockReading& now);

    // The computer's clock may have been set or its zone changed: a local display that shows the
    // clock (not an answer it was synchronised to) takes the clock's time of day again.
    void ClockMayHaveJumped(const ClockReading& now);

    // A complete Daytime reply, arrived at `now`, `took` from its first byte to its end: the local
    // time of day of the instant it names becomes the atomic display's base. A reply that is not a
    // time leaves the display running from the answer before.
    ReplyTaken TakeReply(std::string_view reply, const ClockReading& now,
                         std::chrono::nanoseconds took = {});

    // "Syncronise Time": the local display follows the running atomic one, to the fraction of a
    // second. Nothing happens while the atomic display has no answer running.
    SyncResult Synchronise(const ClockReading& now);

    // "Update Local Time": the instant, nearest to the answer's own, whose local time of day is
    // what the local display shows, with its fraction: the answer gives the date. Only a local
    // display that follows a healthy answer that came in time sets the clock.
    UpdatePlan PlanUpdate(const ClockReading& now) const;
    // The clock was set: the displays run from the atomic one again, stamped with `now` as the
    // clock reads after the change.
    void Rebase(const ClockReading& now);

    const std::string& Shown(DisplayId display) const;
    bool Running(DisplayId display) const;
    // Milliseconds (1 to 1000) until the display's shown second next changes; nothing while it
    // stands still, as there is nothing to wake for.
    std::optional<int> MillisecondsUntilChange(DisplayId display, const ClockReading& now) const;

  private:
    enum class Origin { None, Clock, Answer, UnhealthyAnswer, LateAnswer };
    struct Base {
        std::string text{kStandingStill};
        std::chrono::nanoseconds fraction{0};  // how far past `text` the display was at `steady`
        std::chrono::nanoseconds steady{0};
        Origin origin = Origin::None;
        UtcTime instant{};  // the instant the display stood for at `steady`
    };
    struct Display {
        std::string& recordText;
        float& recordStamp;
        Base base{};
        std::string shown{kStandingStill};
        bool running = false;
    };

    Display& Of(DisplayId display);
    const Display& Of(DisplayId display) const;
    // The display's base moved on to `now`: what it shows then, with the fraction past it.
    static Base MovedOn(const Display& display, const ClockReading& now);
    static std::chrono::nanoseconds Elapsed(const Display& display, const ClockReading& now);
    void SetBase(Display& display, Base base, const ClockReading& now);
    Base FromClock(const ClockReading& now) const;
    std::optional<std::chrono::year_month_day> OtherDate(UtcTime when, UtcTime now) const;

    const ZoneRules& zone_;
    Display local_;
    Display atomic_;
};

}  // namespace tikora
