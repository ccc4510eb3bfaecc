// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <memory>

#include "platform/clock_wake.h"

namespace tikora {

// The wall clock's own timer (a timer descriptor that a jump of the clock cancels) and inotify on
// the zone file's folders, both watched on the event loop by socket notifiers. A changed zone is
// read again (ReloadLocalZone) before the wake. The descriptors exist only while someone listens.
class SystemClockWake final : public ClockWake {
  public:
    // `zoneReloaded` runs after each reload of the zone, before the wake: for whatever keeps
    // readings of the zone.
    explicit SystemClockWake(std::function<void()> zoneReloaded);
    ~SystemClockWake() override;
    void Listen(std::function<void()> wake) override;
    void Arm(std::chrono::milliseconds delay) override;
    void Disarm() override;

  private:
    struct Watches;
    std::unique_ptr<Watches> watches_;
    std::function<void()> zoneReloaded_;
    std::function<void()> wake_;
};

}  // namespace tikora
