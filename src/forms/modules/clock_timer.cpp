// SPDX-License-Identifier: MIT
#include "modules/clock_timer.h"

#include "platform/services.h"

namespace tikora {

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
