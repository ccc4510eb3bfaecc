// SPDX-License-Identifier: MIT
#pragma once

#include <memory>

#include "platform/clock_wake.h"
#include "win32/hidden_window.h"

namespace tikora {

// A hidden top-level window hears the system's broadcasts: WM_TIMECHANGE when the clock is set,
// WM_SETTINGCHANGE when the zone changed, WM_POWERBROADCAST on resume; a one-shot SetTimer on it
// gives the timed wake. The window is made on first use, on the thread whose message loop then runs
// the wakes.
class Win32ClockWake final : public ClockWake {
  public:
    Win32ClockWake();
    ~Win32ClockWake() override;
    Win32ClockWake(const Win32ClockWake&) = delete;
    Win32ClockWake& operator=(const Win32ClockWake&) = delete;

    void Listen(std::function<void()> wake) override;
    void Arm(std::chrono::milliseconds delay) override;
    void Disarm() override;

  private:
    std::optional<LRESULT> OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    void Wake();

    std::unique_ptr<HiddenWindow> window_;
    std::function<void()> wake_;
    bool wakeNow_ = false;  // a wake of zero delay is on its way through the queue
};

}  // namespace tikora
