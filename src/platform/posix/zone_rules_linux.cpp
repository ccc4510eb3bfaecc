// SPDX-License-Identifier: MIT
#include <ctime>

#include "posix/system_zone_rules.h"

namespace tikora {

std::chrono::seconds SystemZoneRules::OffsetAt(std::chrono::sys_seconds when) const {
    const auto moment = static_cast<std::time_t>(when.time_since_epoch().count());
    tm local{};
    if (localtime_r(&moment, &local) == nullptr) {
        return std::chrono::seconds{0};
    }
    return std::chrono::seconds{local.tm_gmtoff};
}

ClockReading SystemWallClock::Read() const {
    using std::chrono::nanoseconds;
    using std::chrono::seconds;
    timespec now{};
    timespec steady{};
    clock_gettime(CLOCK_BOOTTIME, &steady);
    clock_gettime(CLOCK_REALTIME, &now);
    return {UtcTime{seconds{now.tv_sec} + nanoseconds{now.tv_nsec}},
            seconds{steady.tv_sec} + nanoseconds{steady.tv_nsec}};
}

}  // namespace tikora
