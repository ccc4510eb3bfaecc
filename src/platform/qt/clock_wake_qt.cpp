// SPDX-License-Identifier: MIT
#include <QSocketNotifier>
#include <cstdlib>
#include <optional>

#include "posix/clock_wake_sources.h"
#include "qt/system_clock_wake.h"

namespace tikora {

struct SystemClockWake::Watches {
    WallClockTimer timer;
    ZoneFileWatch zone{LocalZoneFile(std::getenv("TZ"), std::getenv("TZDIR"))};
    std::optional<QSocketNotifier> timerNotifier;
    std::optional<QSocketNotifier> zoneNotifier;
};

SystemClockWake::SystemClockWake(std::function<void()> zoneReloaded)
    : zoneReloaded_(std::move(zoneReloaded)) {}

SystemClockWake::~SystemClockWake() = default;

void SystemClockWake::Listen(std::function<void()> wake) {
    wake_ = std::move(wake);
    if (!wake_) {
        watches_.reset();
        return;
    }
    if (watches_) {
        return;
    }
    watches_ = std::make_unique<Watches>();
    Watches& w = *watches_;
    if (w.timer.Fd() >= 0) {
        w.timerNotifier.emplace(w.timer.Fd(), QSocketNotifier::Read);
        QObject::connect(&*w.timerNotifier, &QSocketNotifier::activated, [this] {
            watches_->timer.Acknowledge();
            wake_();
        });
    }
    if (w.zone.Fd() >= 0) {
        w.zoneNotifier.emplace(w.zone.Fd(), QSocketNotifier::Read);
        QObject::connect(&*w.zoneNotifier, &QSocketNotifier::activated, [this] {
            if (watches_->zone.Changed()) {
                ReloadLocalZone();
                zoneReloaded_();
                wake_();
            }
        });
    }
}

void SystemClockWake::Arm(std::chrono::milliseconds delay) {
    if (watches_) {
        watches_->timer.ArmAfter(delay);
    }
}

void SystemClockWake::Disarm() {
    if (watches_) {
        watches_->timer.ArmForJumps();
    }
}

}  // namespace tikora
