// SPDX-License-Identifier: MIT
#include <QDBusConnection>
#include <QDBusError>
#include <QDBusMessage>
#include <QDBusPendingCallWatcher>
#include <QDBusPendingReply>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <utility>

#include "qt/system_clock_setter.h"

namespace tikora {
namespace {

// Long enough for a person to type a password when the service asks for one.
constexpr int kAnswerWithinMs = 5 * 60 * 1000;

QDBusConnection Bus(const std::string& address) {
    if (address.empty()) {
        return QDBusConnection::systemBus();
    }
    const QString where = QString::fromStdString(address);
    return QDBusConnection::connectToBus(where, QStringLiteral("tikora-timedate ") + where);
}

ClockSetReport Report(const QDBusError& error) {
    const QString name = error.name();
    ClockSetReport report{ClockSetResult::Failed, error.message().toStdString()};
    if (name == QLatin1String("org.freedesktop.timedate1.AutomaticTimeSyncEnabled")) {
        report.result = ClockSetResult::AutomaticSync;
    } else if (error.type() == QDBusError::AccessDenied ||
               name ==
                   QLatin1String("org.freedesktop.DBus.Error.InteractiveAuthorizationRequired") ||
               name == QLatin1String("org.freedesktop.DBus.Error.AuthFailed")) {
        report.result = ClockSetResult::NotAllowed;
    } else if (error.type() == QDBusError::ServiceUnknown || error.type() == QDBusError::NoServer ||
               error.type() == QDBusError::Disconnected || error.type() == QDBusError::NoReply ||
               error.type() == QDBusError::TimedOut ||
               name == QLatin1String("org.freedesktop.DBus.Error.NameHasNoOwner")) {
        report.result = ClockSetResult::ServiceAbsent;
    }
    return report;
}

}  // namespace

TimeDateService::TimeDateService(std::string busAddress) : busAddress_(std::move(busAddress)) {}

void TimeDateService::SetClock(UtcTime when, ClockSetDone done) const {
    QDBusConnection bus = Bus(busAddress_);
    if (!bus.isConnected()) {
        done({ClockSetResult::ServiceAbsent, bus.lastError().message().toStdString()});
        return;
    }
    QDBusMessage call = QDBusMessage::createMethodCall(
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("/org/freedesktop/timedate1"),
        QStringLiteral("org.freedesktop.timedate1"), QStringLiteral("SetTime"));
    // An absolute time: a relative change would be applied again by every repeated request, and
    // to a clock that might have moved in between.
    const auto microseconds =
        std::chrono::duration_cast<std::chrono::microseconds>(when.time_since_epoch()).count();
    const bool relative = false;
    const bool interactive = true;
    call << static_cast<qlonglong>(microseconds) << relative << interactive;
    call.setInteractiveAuthorizationAllowed(interactive);
    auto* watcher = new QDBusPendingCallWatcher(bus.asyncCall(call, kAnswerWithinMs));
    QObject::connect(watcher, &QDBusPendingCallWatcher::finished, watcher,
                     [done = std::move(done)](QDBusPendingCallWatcher* finished) {
                         finished->deleteLater();
                         const QDBusPendingReply<> reply = *finished;
                         done(reply.isError() ? Report(reply.error()) : ClockSetReport{});
                     });
}

void SystemClockSetter::SetClock(UtcTime when, ClockSetDone done) const {
    const auto sinceEpoch = when.time_since_epoch();
    const auto whole = std::chrono::floor<std::chrono::seconds>(sinceEpoch);
    const timespec wanted{static_cast<std::time_t>(whole.count()),
                          static_cast<long>((sinceEpoch - whole).count())};
    if (clock_settime(CLOCK_REALTIME, &wanted) == 0) {
        done({});
    } else if (errno == EPERM) {
        service_.SetClock(when, std::move(done));
    } else {
        done({ClockSetResult::Failed, std::strerror(errno)});
    }
}

}  // namespace tikora
