// SPDX-License-Identifier: MIT
#include "win32/win32_clock_wake.h"

#include <algorithm>

namespace tikora {
namespace {

constexpr UINT_PTR kTimerId = 1;
constexpr UINT kWakeNow = WM_APP + 1;

}  // namespace

Win32ClockWake::Win32ClockWake() = default;
Win32ClockWake::~Win32ClockWake() = default;

void Win32ClockWake::Listen(std::function<void()> wake) {
    wake_ = std::move(wake);
    if (!wake_) {
        Disarm();
        return;
    }
    if (!window_) {
        window_ =
            std::make_unique<HiddenWindow>([this](UINT message, WPARAM wParam, LPARAM lParam) {
                return OnMessage(message, wParam, lParam);
            });
    }
}

void Win32ClockWake::Arm(std::chrono::milliseconds delay) {
    if (!wake_ || !window_) {
        return;
    }
    Disarm();
    if (delay.count() <= 0) {
        // Through the queue, so that the wake runs from the loop like every other.
        wakeNow_ = PostMessageW(window_->Handle(), kWakeNow, 0, 0) != 0;
        return;
    }
    const auto milliseconds = std::clamp<std::chrono::milliseconds::rep>(
        delay.count(), USER_TIMER_MINIMUM, USER_TIMER_MAXIMUM);
    SetTimer(window_->Handle(), kTimerId, static_cast<UINT>(milliseconds), nullptr);
}

void Win32ClockWake::Disarm() {
    wakeNow_ = false;
    if (window_) {
        KillTimer(window_->Handle(), kTimerId);
    }
}

std::optional<LRESULT> Win32ClockWake::OnMessage(UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
        case kWakeNow:
            if (wakeNow_) {
                wakeNow_ = false;
                Wake();
            }
            return 0;
        case WM_TIMER:
            if (wParam != kTimerId) {
                return std::nullopt;
            }
            KillTimer(window_->Handle(), kTimerId);
            Wake();
            return 0;
        case WM_TIMECHANGE:
            Wake();
            return 0;
        case WM_SETTINGCHANGE:
            // What Windows sends after a change of zone; any other setting costs one frame.
            Wake();
            return 0;
        case WM_POWERBROADCAST:
            // The automatic resume comes after every suspend, with or without a user present.
            if (wParam == PBT_APMRESUMEAUTOMATIC) {
                Wake();
            }
            return TRUE;
        default:
            return std::nullopt;
    }
}

void Win32ClockWake::Wake() {
    // A copy: the listener may put another in its place.
    if (const auto wake = wake_) {
        wake();
    }
}

}  // namespace tikora
