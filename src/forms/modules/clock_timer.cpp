// SPDX-License-Identifier: MIT
#include "modules/clock_timer.h"

#include "platform/services.h"

namespace tikora {
namespace {

std::list<std::function<void()>>& Followers() {
    static std::list<std::function<void()>> followers;
    return followers;
}

}  // namespace

ClockWakeFollower::ClockWakeFollower(std::function<void()> follow)
    : entry_(Followers().insert(Followers().end(), std::move(follow))) {}

ClockWakeFollower::~ClockWakeFollower() {
    Followers().erase(entry_);
}

ClockTimer::~ClockTimer() {
    if (ClockWake* wake = Platform().clockWake; wake != nullptr && listening_) {
        wake->Listen({});
    }
}

void ClockTimer::OnTimer(std::function<void()> tick) {
    if (ClockWake* wake = Platform().clockWake) {
        wake->Listen([this, tick = std::move(tick)] {
            if (enabled_) {
                tick();
            }
            for (const std::function<void()>& follow : Followers()) {
                follow();
            }
        });
        listening_ = true;
    }
}

void ClockTimer::start() {
    enabled_ = true;
    Arm(std::chrono::milliseconds{0});
}

void ClockTimer::stop() {
    enabled_ = false;
    if (ClockWake* wake = Platform().clockWake) {
        wake->Disarm();
    }
}

void ClockTimer::Arm(std::chrono::milliseconds delay) {
    if (ClockWake* wake = Platform().clockWake; wake != nullptr && enabled_) {
        wake->Arm(delay);
    }
}

}  // namespace tikora
