// SPDX-License-Identifier: MIT
#include "atomic/running_displays.h"

#include <utility>

#include "atomic/daytime_reply.h"
#include "atomic/time_of_day.h"

namespace tikora {

using std::chrono::floor;
using std::chrono::nanoseconds;
using std::chrono::seconds;

RunningDisplays::RunningDisplays(AtomicTimeStateRecord& store, const ZoneRules& zone)
    : zone_(zone),
      local_{store.LocalTimeText, store.LocalTimeStamp},
      atomic_{store.AtomicTimeText, store.AtomicTimeStamp} {}

RunningDisplays::Base RunningDisplays::FromClock(const ClockReading& now) const {
    const nanoseconds timeOfDay = LocalTimeOfDay(now.utc, zone_);
    const seconds whole = floor<seconds>(timeOfDay);
    return {TimeOfDayText(whole), timeOfDay - whole, now.steady, Origin::Clock, now.utc};
}

void RunningDisplays::Load(const ClockReading& now) {
    SetBase(local_, FromClock(now), now);
    atomic_.base = {};
    atomic_.shown = kStandingStill;
    atomic_.running = false;
}

void RunningDisplays::Tick(DisplayId display, const ClockReading& now) {
    Display& shown = Of(display);
    if (shown.running) {
        shown.shown = MovedOn(shown, now).text;
    }
}

void RunningDisplays::ClockMayHaveJumped(const ClockReading& now) {
    if (local_.base.origin == Origin::Clock) {
        SetBase(local_, FromClock(now), now);
    }
}

ReplyTaken RunningDisplays::TakeReply(std::string_view reply, const ClockReading& now,
                                      nanoseconds took) {
    const std::optional<DaytimeAnswer> answer = ReadDaytimeAnswer(reply);
    if (!answer) {
        return {};
    }
    ReplyTaken taken{ReplyResult::Taken, took, OtherDate(answer->instant, now.utc)};
    Origin origin = Origin::Answer;
    if (took > kLateLine) {
        taken.result = ReplyResult::TakenLate;
        origin = Origin::LateAnswer;
    } else if (!answer->healthy) {
        taken.result = ReplyResult::TakenUnhealthy;
        origin = Origin::UnhealthyAnswer;
    }
    // Converted with the offset in force at the answer's own instant.
    const seconds timeOfDay = floor<seconds>(LocalTimeOfDay(UtcTime{answer->instant}, zone_));
    SetBase(atomic_,
            {TimeOfDayText(timeOfDay), nanoseconds{0}, now.steady, origin, answer->instant}, now);
    return taken;
}

SyncResult RunningDisplays::Synchronise(const ClockReading& now) {
    if (!atomic_.running) {
        return SyncResult::NoAnswer;
    }
    const Base base = MovedOn(atomic_, now);
    SetBase(local_, base, now);
    SetBase(atomic_, base, now);
    return SyncResult::Done;
}

UpdatePlan RunningDisplays::PlanUpdate(const ClockReading& now) const {
    UpdatePlan plan;
    const Origin origin = local_.base.origin;
    if (origin != Origin::Answer) {
        plan.refusal = origin == Origin::UnhealthyAnswer ? UpdateRefusal::Unhealthy
                       : origin == Origin::LateAnswer    ? UpdateRefusal::Late
                                                         : UpdateRefusal::NotSynchronised;
        return plan;
    }
    const Base shown = MovedOn(local_, now);
    const std::optional<TimeOfDay> time = ParseTimeOfDay(shown.text);
    const nanoseconds timeOfDay =
        seconds{time->hour * 3600 + time->minute * 60 + time->second} + shown.fraction;
    plan.target = NearestInstant(timeOfDay, shown.instant, zone_);
    plan.change = plan.target - now.utc;
    plan.otherDate = OtherDate(plan.target, now.utc);
    return plan;
}

void RunningDisplays::Rebase(const ClockReading& now) {
    Display& from = atomic_.running ? atomic_ : local_;
    const Base base = MovedOn(from, now);
    SetBase(local_, base, now);
    if (atomic_.running) {
        SetBase(atomic_, base, now);
    }
}

const std::string& RunningDisplays::Shown(DisplayId display) const {
    return Of(display).shown;
}

bool RunningDisplays::Running(DisplayId display) const {
    return Of(display).running;
}

std::optional<int> RunningDisplays::MillisecondsUntilChange(DisplayId display,
                                                            const ClockReading& now) const {
    const Display& shown = Of(display);
    if (!shown.running) {
        return std::nullopt;
    }
    return MillisecondsUntilNextSecond(Elapsed(shown, now));
}

RunningDisplays::Display& RunningDisplays::Of(DisplayId display) {
    return display == DisplayId::Local ? local_ : atomic_;
}

const RunningDisplays::Display& RunningDisplays::Of(DisplayId display) const {
    return display == DisplayId::Local ? local_ : atomic_;
}

nanoseconds RunningDisplays::Elapsed(const Display& display, const ClockReading& now) {
    return display.base.fraction + (now.steady - display.base.steady);
}

RunningDisplays::Base RunningDisplays::MovedOn(const Display& display, const ClockReading& now) {
    const nanoseconds elapsed = Elapsed(display, now);
    const seconds whole = floor<seconds>(elapsed);
    // A day's worth of seconds at most, which a float holds exactly.
    const auto withinDay = static_cast<float>(whole.count() % 86400);
    return {AdvanceTime(display.base.text, withinDay), elapsed - whole, now.steady,
            display.base.origin, display.base.instant + (now.steady - display.base.steady)};
}

std::optional<std::chrono::year_month_day> RunningDisplays::OtherDate(UtcTime when,
                                                                      UtcTime now) const {
    const auto localDay = [this](UtcTime instant) {
        return floor<std::chrono::days>(instant + zone_.OffsetAt(floor<seconds>(instant)));
    };
    if (localDay(when) == localDay(now)) {
        return std::nullopt;
    }
    return std::chrono::year_month_day{localDay(when)};
}

void RunningDisplays::SetBase(Display& display, Base base, const ClockReading& now) {
    display.base = std::move(base);
    display.recordText = display.base.text;
    display.recordStamp = std::chrono::duration<float>(LocalTimeOfDay(now.utc, zone_)).count();
    display.running = true;
    display.shown = MovedOn(display, now).text;
}

}  // namespace tikora
