// SPDX-License-Identifier: MIT
// The clock as a StatusNotifierItem, seen by a stand-in for a panel's tray on a private session
// bus, with the clock on a private X server and its wall clock set for it alone (LD_PRELOAD).

#include <gtest/gtest.h>

#include <QDBusArgument>
#include <QDBusConnection>
#include <QDBusMessage>
#include <QDBusVariant>
#include <QDBusVirtualObject>
#include <QFile>
#include <QImage>
#include <QTest>
#include <QtEndian>
#include <chrono>
#include <map>
#include <memory>

#include "support/child_process.h"
#include "support/private_bus.h"

namespace tikora::testing {
namespace {

constexpr int kWaitMs = 30000;
const QString kWatcher = QStringLiteral("org.kde.StatusNotifierWatcher");
const QString kItem = QStringLiteral("org.kde.StatusNotifierItem");

// Takes items in as a panel's tray does and keeps the names they registered under.
class StandInWatcher final : public QDBusVirtualObject {
  public:
    QStringList registered;

    QString introspect(const QString&) const override { return {}; }
    bool handleMessage(const QDBusMessage& message, const QDBusConnection& connection) override {
        if (message.member() != QLatin1String("RegisterStatusNotifierItem")) {
            return false;
        }
        registered.append(message.arguments().value(0).toString());
        connection.send(message.createReply());
        return true;
    }
};

class StatusNotifier : public ::testing::Test {
  protected:
    void SetUp() override {
        for (const char* program : {"dbus-daemon", "dbus-monitor", "Xvfb", "xdotool"}) {
            if (!Installed(program)) {
                GTEST_SKIP() << program << " is not installed (scripts/install-deps)";
            }
        }
        address_ = StartPrivateBus(bus_, home_);
        ASSERT_FALSE(address_.isEmpty());
        xvfb_ = std::make_unique<ChildProcess>("Xvfb -displayfd 1 -nolisten tcp 2>/dev/null");
        display_ = ":" + xvfb_->ReadLine().value_or("none");
        monitor_ = std::make_unique<ChildProcess>(
            "dbus-monitor --address " + address_.toStdString() + " \"type='signal',interface='" +
            kItem.toStdString() + "'\" >" + home_ / "signals");
        ASSERT_TRUE(QTest::qWaitFor([&] { return !Signals().empty(); }, kWaitMs));
    }
    // A tray (re)starting: the watcher's name on a connection of its own.
    void StartWatcher(int which) {
        QDBusConnection connection =
            QDBusConnection::connectToBus(address_, QStringLiteral("watcher %1").arg(which));
        ASSERT_TRUE(connection.registerVirtualObject(QStringLiteral("/StatusNotifierWatcher"),
                                                     &watchers_[which]));
        ASSERT_TRUE(connection.registerService(kWatcher));
    }

    // The clock's wall clock at `secondsOfDay` tomorrow (UTC), ahead of the real one, so that
    // no real timer ever wakes it on its own: only a new shift does, as a set clock would.
    void SetClock(int secondsOfDay, int milliseconds = 0) {
        using namespace std::chrono;
        const long long now =
            duration_cast<std::chrono::milliseconds>(system_clock::now().time_since_epoch())
                .count();
        const long long tomorrow = (now / 86'400'000 + 1) * 86'400'000;
        WriteFile(home_ / "shift.tmp",
                  std::to_string(tomorrow + secondsOfDay * 1000LL + milliseconds - now));
        std::filesystem::rename(home_ / "shift.tmp", home_ / "shift");
    }

    void StartClock() {
        const std::string home = home_.Path().string();
        clock_ = std::make_unique<ChildProcess>(
            "env DISPLAY=" + display_ + " DBUS_SESSION_BUS_ADDRESS=" + address_.toStdString() +
            " HOME=" + home + " XDG_CONFIG_HOME=" + home + "/.config XDG_RUNTIME_DIR=" + home +
            " TZ=UTC LC_ALL=C QT_QPA_PLATFORM=xcb LD_PRELOAD=" TIKORA_CLOCK_SHIFT_LIBRARY
            // A sanitizer build's runtime does not come first with a preloaded library.
            " ASAN_OPTIONS=verify_asan_link_order=0:$ASAN_OPTIONS"
            " TIKORA_CLOCK_SHIFT=" +
            home + "/shift " TIKORA_BINARY " 2>" + home + "/tikora.log");
    }

    std::string Signals() const { return ReadFile(home_ / "signals"); }
    int NewIcons() const {
        const std::string all = Signals();
        int count = 0;  // one line for each signal
        for (std::size_t at = all.find("member=NewIcon"); at != std::string::npos;
             at = all.find("member=NewIcon", at + 1)) {
            ++count;
        }
        return count;
    }

    QDBusMessage Call(const QString& interface, const QString& member, const QVariantList& args) {
        QDBusMessage call = QDBusMessage::createMethodCall(watchers_[0].registered.value(0),
                                                           QStringLiteral("/StatusNotifierItem"),
                                                           interface, member);
        call.setArguments(args);
        return QDBusConnection::connectToBus(address_, QStringLiteral("watcher 0"))
            .call(call, QDBus::Block, kWaitMs);
    }
    QVariant Property(const char* name) {
        const QDBusMessage reply = Call(QStringLiteral("org.freedesktop.DBus.Properties"),
                                        QStringLiteral("Get"), {kItem, QString::fromLatin1(name)});
        return reply.arguments().value(0).value<QDBusVariant>().variant();
    }
    // The item's pictures by width, as the protocol has them: 0xAARRGGBB, most significant
    // byte first.
    std::map<int, QByteArray> Pixmaps() {
        std::map<int, QByteArray> pictures;
        const QDBusArgument array = Property("IconPixmap").value<QDBusArgument>();
        array.beginArray();
        for (int width = 0, height = 0; !array.atEnd();) {
            array.beginStructure();
            array >> width >> height >> pictures[width];
            array.endStructure();
        }
        array.endArray();
        return pictures;
    }
    // The tooltip's title, the date and time as the clock has them now (it has no pictures).
    std::string ToolTip() {
        const QDBusArgument tip = Property("ToolTip").value<QDBusArgument>();
        QString icon;
        QString title;
        tip.beginStructure();
        tip >> icon;
        tip.beginArray();
        tip.endArray();
        tip >> title;
        return title.toStdString();
    }
    // The preview's picture in the same bytes.
    QByteArray Preview(int size, const std::string& at) {
        const std::string file = home_ / "preview.png";
        const std::string extent = std::to_string(size) + "x" + std::to_string(size);
        std::system((TIKORA_PREVIEW " " TIKORA_SKIN " --size " + extent + " --at " + at + " -o " +
                     file + " >/dev/null 2>&1")
                        .c_str());
        const QImage picture = QImage(QString::fromStdString(file));
        QByteArray bytes;
        for (int i = 0; i < picture.width() * picture.height(); ++i) {
            const quint32 pixel =
                qToBigEndian(picture.pixel(i % picture.width(), i / picture.width()));
            bytes.append(reinterpret_cast<const char*>(&pixel), sizeof pixel);
        }
        return bytes;
    }
    bool MenuShown() const {
        return std::system(("DISPLAY=" + display_ +
                            " xdotool search --onlyvisible --class tikora >/dev/null 2>&1")
                               .c_str()) == 0;
    }
    void CloseMenu() const { std::system(("DISPLAY=" + display_ + " xdotool key Escape").c_str()); }

    TempFolder home_;
    QProcess bus_;
    QString address_;
    std::string display_;
    StandInWatcher watchers_[2];
    std::unique_ptr<ChildProcess> xvfb_;
    std::unique_ptr<ChildProcess> monitor_;
    std::unique_ptr<ChildProcess> clock_;
};

TEST_F(StatusNotifier, ShowsTheClocksPictureRenewedEachMinuteOpensTheMenuAndComesBack) {
    StartWatcher(0);
    SetClock(10 * 3600 + 15 * 60 + 30);
    StartClock();
    ASSERT_TRUE(QTest::qWaitFor([&] { return !watchers_[0].registered.empty(); }, kWaitMs))
        << ReadFile(home_ / "tikora.log");
    QFile comm(QStringLiteral("/proc/self/comm"));
    ASSERT_TRUE(comm.open(QIODevice::ReadOnly));
    const std::string docked =
        "tikora: docked in the StatusNotifierItem tray of "
        "org.kde.StatusNotifierWatcher (" +
        comm.readAll().trimmed().toStdString() + ")\n";
    EXPECT_TRUE(QTest::qWaitFor(
        [&] { return ReadFile(home_ / "tikora.log").find(docked) != std::string::npos; }, kWaitMs))
        << ReadFile(home_ / "tikora.log");

    std::map<int, QByteArray> pictures = Pixmaps();
    for (const int size : {22, 48}) {
        EXPECT_EQ(pictures[size], Preview(size, "10:15:30")) << size;
    }

    // A new minute brings one NewIcon; a wake within the minute none (the signals come in order,
    // so one from the earlier wake would show before the minute's).
    const int before = NewIcons();
    SetClock(10 * 3600 + 15 * 60 + 45);
    ASSERT_TRUE(
        QTest::qWaitFor([&] { return ToolTip().find("10:15:45") != std::string::npos; }, kWaitMs))
        << ToolTip();
    Property("Status");  // the clock has seen its wake by the time it answers again
    SetClock(10 * 3600 + 16 * 60, 500);
    ASSERT_TRUE(QTest::qWaitFor([&] { return NewIcons() > before; }, kWaitMs));
    EXPECT_EQ(NewIcons(), before + 1);
    EXPECT_EQ(Pixmaps()[22], Preview(22, "10:16:00"));

    for (const char* method : {"ContextMenu", "Activate"}) {
        Call(kItem, QString::fromLatin1(method), {40, 40});
        EXPECT_TRUE(QTest::qWaitFor([&] { return MenuShown(); }, kWaitMs)) << method;
        CloseMenu();
        EXPECT_TRUE(QTest::qWaitFor([&] { return !MenuShown(); }, kWaitMs)) << method;
    }
    Call(kItem, QStringLiteral("Scroll"), {120, QStringLiteral("vertical")});

    // The panel restarts: its tray goes and comes back, and takes the clock in again.
    QDBusConnection::disconnectFromBus(QStringLiteral("watcher 0"));
    StartWatcher(1);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !watchers_[1].registered.empty(); }, kWaitMs))
        << ReadFile(home_ / "tikora.log");
    EXPECT_TRUE(clock_->Running());
}

}  // namespace
}  // namespace tikora::testing
