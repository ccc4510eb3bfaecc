// SPDX-License-Identifier: MIT
// tikora-bench-hostile-daytime: the preferences window against Daytime servers that misbehave, on
// the loopback interface: one that floods after a line, one that floods with junk, one that resets
// the connection mid-line, one that answers and never hangs up, and one that trickles its reply a
// byte at a time. For each it prints what the server sent, what the window showed, how much the
// process's resident memory grew while the query ran, and the longest pause of the event loop
// (sampled every 5 ms): the window should hold no more than a reply's worth of a server's bytes
// and never stop the clock's event loop.
//
// Usage: tikora-bench-hostile-daytime [--pace-ms N]
//   --pace-ms N   the trickling server's pause between two bytes (10 by default; 1000 is the byte
//                 a second of a very slow link, about a minute in all)
// Exit status 0 when every server was handled as an honest server's reply would be (or dropped),
// 1 otherwise. The figures are for reading, not for judging: nothing here compares a duration.

#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QApplication>
#include <QElapsedTimer>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <functional>
#include <iostream>
#include <optional>
#include <string>

#include "atomic/time_of_day.h"
#include "platform/services.h"
#include "posix/system_time_source.h"
#include "posix/system_time_zone.h"
#include "posix/system_zone_rules.h"
#include "qt/frmPrefs.h"

namespace tikora {
namespace {

constexpr int kWaitMs = 10000;
constexpr std::size_t kFloodBytes = 10u << 20;
const char kLine[] = "\n60112 23-06-17 12:34:56 50 0 0 895.5 UTC(NIST) * \n";

long StatusKiB(const std::string& field) {
    std::ifstream status("/proc/self/status");
    for (std::string line; std::getline(status, line);) {
        if (line.starts_with(field + ":")) {
            return std::atol(line.c_str() + field.size() + 1);
        }
    }
    return 0;
}

// The kernel's high-water mark of resident memory starts again from what is resident now, when
// the kernel lets it; otherwise the samples alone measure the growth.
bool ResetPeakResident() {
    return static_cast<bool>(std::ofstream("/proc/self/clear_refs") << "5" << std::flush);
}

// Samples the event loop every 5 ms while a query runs: the longest time between two samples says
// whether anything blocked the loop, and the resident memory seen is kept at its largest.
class Heartbeat {
  public:
    explicit Heartbeat(std::function<void()> onBeat = {}) : onBeat_(std::move(onBeat)) {
        peakKnown_ = ResetPeakResident();
        baseKiB_ = maxKiB_ = StatusKiB("VmRSS");
        timer_.setInterval(5);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Beat(); });
        since_.start();
        timer_.start();
    }
    void Beat() {
        longestGapMs_ = std::max(longestGapMs_, since_.restart());
        maxKiB_ = std::max(maxKiB_, StatusKiB("VmRSS"));
        if (onBeat_) {
            onBeat_();
        }
    }
    qint64 LongestGapMs() const { return longestGapMs_; }
    // Growth over the memory in use when the query began, at its largest: the kernel's peak also
    // sees what came and went between two samples.
    long GrowthKiB() const {
        return std::max(maxKiB_, peakKnown_ ? StatusKiB("VmHWM") : 0) - baseKiB_;
    }

  private:
    std::function<void()> onBeat_;
    QTimer timer_;
    QElapsedTimer since_;
    qint64 longestGapMs_ = 0;
    bool peakKnown_ = false;
    long baseKiB_ = 0, maxKiB_ = 0;
};

bool WaitUntilClosed(QAbstractSocket& socket) {
    return QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; },
                           kWaitMs);
}

enum class Misbehaviour { FloodAfterALine, FloodOfJunk, ResetMidLine, LineThenSilence };

// A server in a process of its own, written with plain sockets, so that its memory and its
// blocking calls stay out of the window's process. It takes one connection, misbehaves, and
// reports through a pipe how many bytes it got into the connection.
class ServerProcess {
  public:
    explicit ServerProcess(Misbehaviour how) {
        int ready[2], report[2];
        if (pipe(ready) != 0 || pipe(report) != 0) {
            std::perror("pipe");
            std::exit(2);
        }
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            close(report[0]);
            Serve(how, ready[1], report[1]);  // never returns
        }
        close(ready[1]);
        close(report[1]);
        report_ = report[0];
        if (read(ready[0], &port_, sizeof port_) != static_cast<ssize_t>(sizeof port_)) {
            port_ = 0;
        }
        close(ready[0]);
    }
    ~ServerProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
        close(report_);
    }
    ServerProcess(const ServerProcess&) = delete;
    ServerProcess& operator=(const ServerProcess&) = delete;

    std::uint16_t Port() const { return port_; }

    // For a flood: blocks, with the event loop stopped, until the connection is full, so that the
    // window meets the worst case: all the flood the kernel can hold, at once.
    bool WaitUntilStalled() {
        pollfd fd{report_, POLLIN, 0};
        char marker = 0;
        return poll(&fd, 1, kWaitMs) == 1 && read(report_, &marker, 1) == 1 && marker == 'S';
    }

    // The bytes it sent, once it is done; the event loop runs meanwhile.
    std::optional<std::uint64_t> WaitForReport() {
        std::uint64_t sent = 0;
        const bool ready = QTest::qWaitFor(
            [&] {
                pollfd fd{report_, POLLIN, 0};
                return poll(&fd, 1, 0) == 1;
            },
            kWaitMs);
        if (!ready || read(report_, &sent, sizeof sent) != static_cast<ssize_t>(sizeof sent)) {
            return std::nullopt;
        }
        waitpid(pid_, nullptr, 0);
        pid_ = -1;
        return sent;
    }

  private:
    // Only system calls from here on: the child of a process with threads may not allocate.
    [[noreturn]] static void Serve(Misbehaviour how, int ready, int report) {
        static char junk[64 * 1024];
        std::memset(junk, '#', sizeof junk);
        const int listener = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        socklen_t length = sizeof address;
        if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), length) != 0 ||
            listen(listener, 1) != 0 ||
            getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
            _exit(3);
        }
        const std::uint16_t port = ntohs(address.sin_port);
        if (write(ready, &port, sizeof port) != static_cast<ssize_t>(sizeof port)) {
            _exit(3);
        }
        const int connection = accept(listener, nullptr, nullptr);
        std::uint64_t sent = 0;
        auto sendSome = [&](const char* bytes, std::size_t size) {
            const ssize_t done = send(connection, bytes, size, MSG_NOSIGNAL);
            sent += done > 0 ? static_cast<std::uint64_t>(done) : 0;
        };
        switch (how) {
            case Misbehaviour::FloodAfterALine:
            case Misbehaviour::FloodOfJunk:
                if (how == Misbehaviour::FloodAfterALine) {
                    sendSome(kLine, sizeof kLine - 1);
                }
                // Fills the connection until it takes no more, says so, then goes on as fast as
                // the window reads.
                for (bool stalled = false; sent < kFloodBytes;) {
                    const std::size_t size =
                        std::min<std::uint64_t>(sizeof junk, kFloodBytes - sent);
                    const ssize_t done = send(connection, junk, size, MSG_NOSIGNAL | MSG_DONTWAIT);
                    if (done > 0) {
                        sent += static_cast<std::uint64_t>(done);
                        continue;
                    }
                    if (errno != EAGAIN && errno != EWOULDBLOCK) {
                        break;
                    }
                    if (!stalled) {
                        stalled = write(report, "S", 1) == 1;
                    }
                    pollfd fd{connection, POLLOUT, 0};
                    poll(&fd, 1, kWaitMs);
                }
                break;
            case Misbehaviour::ResetMidLine: {
                sendSome(kLine, 20);
                const linger abort{1, 0};  // a close that resets the connection
                setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
                break;
            }
            case Misbehaviour::LineThenSilence: {
                sendSome(kLine, sizeof kLine - 1);
                // Waits for the window to hang up, which it must do without being asked: a window
                // that waits for the server instead gets no report.
                pollfd fd{connection, POLLIN, 0};
                char byte = 0;
                while (poll(&fd, 1, kWaitMs) == 1 && recv(connection, &byte, 1, 0) > 0) {
                }
                if (poll(&fd, 1, 0) == 0) {
                    _exit(4);
                }
                break;
            }
        }
        close(connection);
        if (write(report, &sent, sizeof sent) != static_cast<ssize_t>(sizeof sent)) {
            _exit(3);
        }
        _exit(0);
    }

    pid_t pid_ = -1;
    int report_ = -1;
    std::uint16_t port_ = 0;
};

// Where the window's queries go: the server of the run under way.
std::uint16_t routedPort = 0;

PrefsWindow& FreshWindow() {
    frmPrefs.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    return frmPrefs.Get();
}

// True when the window hung up and shows `expected` afterwards ("00:00:00" for a dropped reply).
bool RunHostile(const char* name, Misbehaviour how, const char* expected) {
    ServerProcess server(how);
    routedPort = server.Port();
    PrefsWindow& window = FreshWindow();
    const Heartbeat heartbeat;
    window.cmdGetAtomic.click();
    const bool flood = how == Misbehaviour::FloodAfterALine || how == Misbehaviour::FloodOfJunk;
    bool stalled = true;
    if (flood) {
        stalled =
            QTest::qWaitFor(
                [&] { return window.wsAtomicTime.state() == QAbstractSocket::ConnectedState; },
                kWaitMs) &&
            server.WaitUntilStalled();
    }
    const bool closed = WaitUntilClosed(window.wsAtomicTime);
    const std::optional<std::uint64_t> sent = server.WaitForReport();
    const QString shown = window.lblAtomicTime2.text();
    std::cout << name << ": server sent " << (sent ? std::to_string(*sent) : "(no report)")
              << " bytes; shown " << shown.toStdString() << "; memory grew "
              << heartbeat.GrowthKiB() << " KiB; longest pause of the event loop "
              << heartbeat.LongestGapMs() << " ms\n";
    return stalled && closed && sent && shown == QString::fromLatin1(expected);
}

// A server that sends its reply a byte at a time, paced by this process's event loop. The reply
// should be handled when its line ends, not a byte sooner, with a stand-in for the clock's 200 ms
// tick firing all along.
bool RunTrickle(int paceMs) {
    const QByteArray reply = QByteArray(kLine) + "trailing bytes after the line";
    const int lineEnd = static_cast<int>(reply.indexOf('\n', 24)) + 1;
    QTcpServer server;
    server.listen(QHostAddress::LocalHost, 0);
    routedPort = server.serverPort();
    QTcpSocket* connection = nullptr;
    QTimer pacer;
    int written = 0;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        connection = server.nextPendingConnection();
        pacer.start(paceMs);
    });
    PrefsWindow& window = FreshWindow();
    int writtenWhenShown = -1;
    const auto shown = [&] {
        const bool now = window.lblAtomicTime2.text() != QStringLiteral("00:00:00");
        if (now && writtenWhenShown < 0) {
            writtenWhenShown = written;
        }
        return now;
    };
    // After the line feed the pacer holds back the trailing bytes until the display shows it.
    QObject::connect(&pacer, &QTimer::timeout, [&] {
        if (written == reply.size() || connection->state() != QAbstractSocket::ConnectedState) {
            pacer.stop();
            return;
        }
        if (!shown() && written == lineEnd) {
            return;
        }
        connection->write(reply.mid(written++, 1));
        connection->flush();
    });
    QTimer clock;
    int ticks = 0;
    QObject::connect(&clock, &QTimer::timeout, [&] { ++ticks; });
    clock.start(200);
    const Heartbeat heartbeat(shown);
    QElapsedTimer took;
    took.start();
    window.cmdGetAtomic.click();
    const bool handled = QTest::qWaitFor([&] { return writtenWhenShown >= 0; },
                                         kWaitMs + paceMs * static_cast<int>(reply.size()));
    const bool closed = handled && WaitUntilClosed(window.wsAtomicTime);
    std::cout << "Trickle at " << paceMs << " ms a byte: handled at byte " << writtenWhenShown
              << " of " << reply.size() << " (the line ends at " << lineEnd << ") after "
              << took.elapsed() << " ms, " << ticks << " clock ticks meanwhile; memory grew "
              << heartbeat.GrowthKiB() << " KiB; longest pause of the event loop "
              << heartbeat.LongestGapMs() << " ms\n";
    return closed && writtenWhenShown == lineEnd;
}

}  // namespace
}  // namespace tikora

int main(int argc, char* argv[]) {
    int paceMs = 10;
    for (int i = 1; i < argc; ++i) {
        if (std::string(argv[i]) == "--pace-ms" && i + 1 < argc) {
            paceMs = std::max(1, std::atoi(argv[++i]));
        } else {
            std::cerr << "usage: tikora-bench-hostile-daytime [--pace-ms N]\n";
            return 2;
        }
    }
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
        qputenv("QT_QPA_PLATFORM", "offscreen");
    }
    QApplication application(argc, argv);
    using namespace tikora;
    // The real clock and zone to read; nothing that could set the clock or touch the settings.
    static const SystemTimeSource time;
    static const SystemTimeZone zone;
    static const SystemZoneRules rules;
    Services services;
    services.time = &time;
    services.zone = &zone;
    services.zoneRules = &rules;
    InstallServices(services);
    SetDaytimeRouteForTesting([](const QString&, std::uint16_t) {
        return DaytimeEndpoint{QStringLiteral("127.0.0.1"), routedPort};
    });

    // What the servers' line shows depends on the zone this runs in.
    using namespace std::chrono;
    const std::string line = TimeOfDayText(
        floor<seconds>(LocalTimeOfDay(sys_days{2023y / 6 / 17} + 12h + 34min + 56s, rules)));
    bool ok = true;
    ok &= RunHostile("Ten megabytes after a line", Misbehaviour::FloodAfterALine, line.c_str());
    ok &= RunHostile("Ten megabytes of junk", Misbehaviour::FloodOfJunk, "00:00:00");
    ok &= RunHostile("Reset mid-line", Misbehaviour::ResetMidLine, "00:00:00");
    ok &= RunHostile("A line, then silence", Misbehaviour::LineThenSilence, line.c_str());
    ok &= RunTrickle(paceMs);
    frmPrefs.Unload();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    std::cout << (ok ? "Every server handled as expected\n" : "A server was mishandled\n");
    return ok ? 0 : 1;
}
