// SPDX-License-Identifier: MIT
#include "modules/atomic_time_page.h"

#include <optional>

#include "atomic/time_servers.h"
#include "platform/services.h"
#include "shared/modDefs.h"

namespace tikora {

namespace {

constexpr std::uint16_t kDaytimePort = 13;

// Where the services leave them out (tools that never set the clock), the standard library's
// clocks and UTC serve, and no setter leaves the clock alone.
class LibraryClock final : public WallClock {
  public:
    ClockReading Read() const override {
        return {std::chrono::time_point_cast<std::chrono::nanoseconds>(
                    std::chrono::system_clock::now()),
                std::chrono::steady_clock::now().time_since_epoch()};
    }
};

class UtcRules final : public ZoneRules {
  public:
    std::chrono::seconds OffsetAt(std::chrono::sys_seconds) const override {
        return std::chrono::seconds{0};
    }
};

const ZoneRules& Rules() {
    static const UtcRules utc;
    return Platform().zoneRules != nullptr ? *Platform().zoneRules : utc;
}

ClockReading Now() {
    static const LibraryClock library;
    return (Platform().wallClock != nullptr ? *Platform().wallClock : library).Read();
}

const ClockSetter& Setter() {
    static const RefusingClockSetter none;
    return Platform().clockSetter != nullptr ? *Platform().clockSetter : none;
}

}  // namespace

AtomicTimePage::AtomicTimePage(AtomicTimeControls& controls)
    : controls_(controls), displays_(AtomicTimeState, Rules()) {}

void AtomicTimePage::Load() {
    FillServerTable(AtomicTimeState);
    const ClockReading now = Now();
    displays_.Load(now);
    DrawBoth(now);
}

bool AtomicTimePage::MayClose() {
    if (settingClock_) {
        controls_.ShowStatus("Setting the clock: the window stays open to say how it went.");
    }
    return !settingClock_;
}

void AtomicTimePage::ClockMayHaveJumped() {
    const ClockReading now = Now();
    displays_.ClockMayHaveJumped(now);
    Draw(DisplayId::Local, now);
}

void AtomicTimePage::Unload() {
    controls_.StopTimer(PrefsTimer::LocalTime);
    controls_.StopTimer(PrefsTimer::AtomicTime);
    CloseQuery();
}

void AtomicTimePage::GetAtomicTime(int serverIndex) {
    CloseQuery();
    remoteHost_ = std::string(AtomicTimeState.ServerHosts.Get(serverIndex));
    // The atomic display runs on from the answer before until this query gives a valid one.
    controls_.ShowStatus(AskingText(remoteHost_));
    awaitingReply_ = true;
    controls_.StartTimer(PrefsTimer::AtomicQuery,
                         static_cast<int>(std::chrono::milliseconds(kQueryTimeLimit).count()));
    controls_.Connect(remoteHost_, kDaytimePort);
}

void AtomicTimePage::DataArrived(std::string_view piece) {
    if (!awaitingReply_ || piece.empty()) {
        return;
    }
    if (reply_.Text().empty()) {
        firstByte_ = Now();
    }
    if (reply_.Append(piece)) {
        HandleReply();
    }
}

void AtomicTimePage::ConnectionClosed() {
    if (awaitingReply_) {
        HandleReply();
    }
}

void AtomicTimePage::ConnectionFailed(QueryFailure failure, const std::string& detail) {
    if (awaitingReply_) {
        QueryFailed(failure, detail);
    }
}

void AtomicTimePage::TimerFired(PrefsTimer timer) {
    if (timer == PrefsTimer::AtomicQuery) {
        ConnectionFailed(QueryFailure::NoAnswer);  // the query's time is up
        return;
    }
    const DisplayId display = timer == PrefsTimer::LocalTime ? DisplayId::Local : DisplayId::Atomic;
    const ClockReading now = Now();
    displays_.Tick(display, now);
    Draw(display, now);
}

void AtomicTimePage::HandleReply() {
    // The moment the line arrived: a NIST server sends it to arrive at the second it names.
    const ClockReading now = Now();
    const std::string text = reply_.Text();
    CloseQuery();
    const ReplyTaken taken = displays_.TakeReply(text, now, now.steady - firstByte_.steady);
    if (taken.result == ReplyResult::NotATime && text.empty()) {
        QueryFailed(QueryFailure::Dropped);
        return;
    }
    controls_.ShowStatus(AnswerText(taken, remoteHost_));
    Draw(DisplayId::Atomic, now);
}

void AtomicTimePage::QueryFailed(QueryFailure failure, const std::string& detail) {
    CloseQuery();
    controls_.ShowStatus(QueryFailureText(failure, remoteHost_, detail));
}

void AtomicTimePage::CloseQuery() {
    awaitingReply_ = false;
    controls_.StopTimer(PrefsTimer::AtomicQuery);
    reply_.Clear();
    controls_.Disconnect();
}

void AtomicTimePage::Draw(DisplayId display, const ClockReading& now) {
    controls_.ShowTime(display, displays_.Shown(display));
    // Instead of ticking every millisecond, each display's timer is set for the moment its shown
    // second changes; what it shows is the same.
    const PrefsTimer timer =
        display == DisplayId::Local ? PrefsTimer::LocalTime : PrefsTimer::AtomicTime;
    if (const std::optional<int> wait = displays_.MillisecondsUntilChange(display, now)) {
        controls_.StartTimer(timer, *wait);
    } else {
        controls_.StopTimer(timer);
    }
}

void AtomicTimePage::DrawBoth(const ClockReading& now) {
    Draw(DisplayId::Local, now);
    Draw(DisplayId::Atomic, now);
}

void AtomicTimePage::Synchronise() {
    const ClockReading now = Now();
    controls_.ShowStatus(SyncText(displays_.Synchronise(now)));
    DrawBoth(now);
}

void AtomicTimePage::UpdateLocalTime() {
    if (settingClock_) {
        return;  // the last request has not been answered yet
    }
    UpdatePlan plan = displays_.PlanUpdate(Now());
    if (plan.refusal != UpdateRefusal::None) {
        controls_.ShowStatus(UpdateRefusalText(plan.refusal));
        return;
    }
    if (abs(plan.change) > kAskAboveChange) {
        const std::weak_ptr<const bool> alive = alive_;
        const bool yes = controls_.Ask(ConfirmChangeText(plan));
        if (alive.expired()) {
            return;  // the window was unloaded while the question waited for its answer
        }
        if (!yes) {
            controls_.ShowStatus("The clock was left as it is.");
            return;
        }
        // The question took its time; the display has run on meanwhile.
        plan = displays_.PlanUpdate(Now());
    }
    settingClock_ = true;
    controls_.EnableUpdate(false);
    controls_.ShowStatus("Setting the clock...");
    const std::chrono::nanoseconds change = plan.change;
    Setter().SetClock(plan.target, [this, alive = std::weak_ptr<const bool>(alive_),
                                    change](const ClockSetReport& report) {
        if (!alive.expired()) {
            ClockSet(report, change);
        }
    });
}

void AtomicTimePage::ClockSet(const ClockSetReport& report, std::chrono::nanoseconds change) {
    settingClock_ = false;
    controls_.EnableUpdate(true);
    controls_.ShowStatus(ClockSetText(report, change));
    if (report.result == ClockSetResult::Done) {
        // Stamped with the clock as it reads after the change.
        const ClockReading now = Now();
        displays_.Rebase(now);
        DrawBoth(now);
    }
}

}  // namespace tikora
