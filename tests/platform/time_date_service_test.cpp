// SPDX-License-Identifier: MIT
// Setting the clock through the system's time-date service, against a stand-in for the service on
// a private bus: a dbus-daemon the test starts for itself, never the system bus.

#include <gtest/gtest.h>

#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVirtualObject>
#include <QProcess>
#include <QStandardPaths>
#include <QTest>
#include <optional>

#include "qt/system_clock_setter.h"
#include "support/private_bus.h"

namespace tikora::testing {
namespace {

using namespace std::chrono;

constexpr int kWaitMs = 5000;

// Answers SetTime with success, or with the error it is given, and keeps the arguments.
class StandInTimeDate final : public QDBusVirtualObject {
  public:
    QString errorName;
    QVariantList arguments;

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QLatin1String("SetTime")) {
            return false;
        }
        arguments = message.arguments();
        connection.send(errorName.isEmpty()
                            ? message.createReply()
                            : message.createErrorReply(errorName, QStringLiteral("refused")));
        return true;
    }
};

TEST(TimeDateService, SetsAnAbsoluteTimeAndSaysWhyItWasRefused) {
    const QString daemon = QStandardPaths::findExecutable(QStringLiteral("dbus-daemon"));
    if (daemon.isEmpty()) {
        GTEST_SKIP() << "dbus-daemon is not installed";
    }
    const TempFolder folder;
    QProcess bus;
    const QString address = StartPrivateBus(bus, folder);
    ASSERT_FALSE(address.isEmpty()) << bus.readAllStandardError().toStdString();
    QDBusConnection service = QDBusConnection::connectToBus(address, QStringLiteral("stand-in"));
    StandInTimeDate standIn;
    ASSERT_TRUE(
        service.registerVirtualObject(QStringLiteral("/org/freedesktop/timedate1"), &standIn));

    const UtcTime when = sys_days{2024y / 2 / 29} + 12h + 500ms + 250us;
    const QVariantList sent{QVariant::fromValue(qlonglong{1709208000500250}), false, true};
    const std::pair<const char*, ClockSetResult> cases[] = {
        // nullptr: no service on the bus
        {nullptr, ClockSetResult::ServiceAbsent},
        {"", ClockSetResult::Done},
        {"org.freedesktop.timedate1.AutomaticTimeSyncEnabled", ClockSetResult::AutomaticSync},
        {"org.freedesktop.DBus.Error.AccessDenied", ClockSetResult::NotAllowed},
        {"org.freedesktop.DBus.Error.InteractiveAuthorizationRequired", ClockSetResult::NotAllowed},
    };
    const TimeDateService setter(address.toStdString());
    for (const auto& [errorName, result] : cases) {
        SCOPED_TRACE(errorName != nullptr ? errorName : "no service");
        if (errorName != nullptr) {
            ASSERT_TRUE(service.registerService(QStringLiteral("org.freedesktop.timedate1")));
            standIn.errorName = QString::fromLatin1(errorName);
        }
        standIn.arguments.clear();
        std::optional<ClockSetReport> report;
        setter.SetClock(when, [&report](const ClockSetReport& answer) { report = answer; });
        EXPECT_FALSE(report.has_value());  // the answer comes on the event loop
        ASSERT_TRUE(QTest::qWaitFor([&] { return report.has_value(); }, kWaitMs));
        EXPECT_EQ(report->result, result);
        EXPECT_EQ(standIn.arguments, errorName == nullptr ? QVariantList() : sent);
    }
    bus.kill();
    bus.waitForFinished(kWaitMs);
}

}  // namespace
}  // namespace tikora::testing
