#include <QDBusConnection>
#include <QDBusMessage>
#include <cerrno>
#include <cstdint>
#include <ctime>

#include "qt/system_clock_setter.h"

namespace tikora {
namespace {

// Asks systemd-timedated to move the clock by `microseconds`. The request is relative so that
// however long the user takes to grant permission, the clock lands where it was meant to. Its
// answer is not waited for: a refusal is not reported, and the program must not stall meanwhile.
bool AskTimeDateService(std::int64_t microseconds) {
    QDBusConnection bus = QDBusConnection::systemBus();
    if (!bus.isConnected()) {
        return false;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("/org/freedesktop/timedate1"),
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("SetTime"));
    const bool interactive = true;
    call << static_cast<qlonglong>(microseconds) << true << interactive;
    call.setInteractiveAuthorizationAllowed(interactive);
    return bus.send(call);
}

}  // namespace

bool SystemClockSetter::SetLocalTimeOfDay(int hour, int minute, int second) const {
    timespec now{};
    if (clock_gettime(CLOCK_REALTIME, &now) != 0) {
        return false;
    }
    tm today{};
    if (localtime_r(&now.tv_sec, &today) == nullptr) {
        return false;
    }
    today.tm_hour = hour;
    today.tm_min = minute;
    today.tm_sec = second;
    today.tm_isdst = -1;  // whatever the zone's rules say for that moment of today
    const std::time_t target = std::mktime(&today);
    if (target == static_cast<std::time_t>(-1)) {
        return false;
    }
    const timespec wanted{target, 0};
    if (clock_settime(CLOCK_REALTIME, &wanted) == 0) {
        return true;
    }
    if (errno != EPERM) {
        return false;
    }
    const std::int64_t nowMicroseconds =
        static_cast<std::int64_t>(now.tv_sec) * 1000000 + now.tv_nsec / 1000;
    return AskTimeDateService(static_cast<std::int64_t>(target) * 1000000 - nowMicroseconds);
}

}  // namespace tikora
