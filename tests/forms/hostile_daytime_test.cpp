// Daytime servers that misbehave, on the loopback interface: one that floods, one that trickles,
// one that resets the connection, one that answers and never hangs up. Whatever they do, the
// preferences window holds no more than a reply's worth of their bytes, the event loop keeps
// running (the clock keeps ticking), and the outcome is what an honest server's would be, or none.

#include <arpa/inet.h>
#include <errno.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/resource.h>
#include <sys/socket.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <iostream>

#include "forms/prefs_fixture.h"

namespace tikora::testing {
namespace {

constexpr std::size_t kFloodBytes = 10u << 20;

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

// A server in a process of its own, written with plain sockets: its memory and its blocking calls
// stay out of the window's process. It takes one connection, misbehaves, and reports through a
// pipe how many bytes it got into the connection.
enum class Misbehaviour { FloodAfterALine, FloodOfJunk, ResetMidLine, LineThenSilence };

class ServerProcess {
  public:
    explicit ServerProcess(Misbehaviour how) {
        int ready[2], report[2];
        EXPECT_EQ(pipe(ready), 0);
        EXPECT_EQ(pipe(report), 0);
        pid_ = fork();
        if (pid_ == 0) {
            close(ready[0]);
            close(report[0]);
            Serve(how, ready[1], report[1]);  // never returns
        }
        close(ready[1]);
        close(report[1]);
        report_ = report[0];
        EXPECT_EQ(read(ready[0], &port_, sizeof port_), static_cast<ssize_t>(sizeof port_));
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

    // For a flood: blocks, with the event loop stopped, until the connection is full.
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
        static const char kLine[] = "\n60114 23-06-17 12:34:56 50 0 0 895.5 UTC(NIST) * \n";
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
        auto send_ = [&](const char* bytes, std::size_t size) {
            const ssize_t done = send(connection, bytes, size, MSG_NOSIGNAL);
            sent += done > 0 ? static_cast<std::uint64_t>(done) : 0;
            return done > 0;
        };
        switch (how) {
            case Misbehaviour::FloodAfterALine:
            case Misbehaviour::FloodOfJunk:
                if (how == Misbehaviour::FloodAfterALine) {
                    send_(kLine, sizeof kLine - 1);
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
                send_(kLine, 20);
                const linger abort{1, 0};  // a close that resets the connection
                setsockopt(connection, SOL_SOCKET, SO_LINGER, &abort, sizeof abort);
                break;
            }
            case Misbehaviour::LineThenSilence: {
                send_(kLine, sizeof kLine - 1);
                // Waits for the window to hang up, which it must do without being asked: a window
                // that waits for the server instead gets no report.
                pollfd fd{connection, POLLIN, 0};
                char byte = 0;
                while (poll(&fd, 1, 2 * kWaitMs) == 1 && recv(connection, &byte, 1, 0) > 0) {
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

struct HostileCase {
    const char* name;
    Misbehaviour how;
    const char* shown;  // the atomic display afterwards; "00:00:00" when the reply was dropped
};

class HostileServer : public PrefsTest, public ::testing::WithParamInterface<HostileCase> {};

TEST_P(HostileServer, CostsNoMoreThanAReplyAndNeverStopsTheClock) {
    const HostileCase& c = GetParam();
    AtomicTimeState.AtomicTimeText = "08:00:00";
    ServerProcess server(c.how);
    defaultPort_ = server.Port();
    Prefs();
    const Heartbeat heartbeat;

    Prefs().cmdGetAtomic.click();
    if (c.how == Misbehaviour::FloodAfterALine || c.how == Misbehaviour::FloodOfJunk) {
        // The worst case: the window looks only once the kernel holds all the flood it can.
        ASSERT_TRUE(QTest::qWaitFor(
            [&] {
                const QAbstractSocket::SocketState state = Prefs().wsAtomicTime.state();
                return state == QAbstractSocket::ConnectingState ||
                       state == QAbstractSocket::ConnectedState;
            },
            kWaitMs));
        ASSERT_TRUE(server.WaitUntilStalled());
    }
    ASSERT_TRUE(WaitUntilClosed(Prefs().wsAtomicTime));
    const std::optional<std::uint64_t> sent = server.WaitForReport();

    ASSERT_TRUE(sent.has_value()) << "the server never finished";
    EXPECT_EQ(Atomic(), c.shown);
    EXPECT_EQ(AtomicTimeState.AtomicTimeText, *c.shown == '0' ? "08:00:00" : c.shown);
    EXPECT_TRUE(errors_.empty());
    // The socket holds no more than the reply may: what a flood sent beyond that stayed in the
    // kernel's buffers, or was never sent at all.
    EXPECT_EQ(Prefs().wsAtomicTime.readBufferSize(), static_cast<qint64>(DaytimeReply::kMaxBytes));
    EXPECT_LT(heartbeat.GrowthKiB(), 2048);
    EXPECT_LT(heartbeat.LongestGapMs(), 1000);
    std::cout << "[ figures  ] " << c.name << ": server sent " << *sent << " bytes; memory grew "
              << heartbeat.GrowthKiB() << " KiB; longest pause of the event loop "
              << heartbeat.LongestGapMs() << " ms\n";
}

INSTANTIATE_TEST_SUITE_P(
    Servers, HostileServer,
    ::testing::Values(HostileCase{"TenMegabytesAfterALine", Misbehaviour::FloodAfterALine,
                                  "13:34:56"},
                      HostileCase{"TenMegabytesOfJunk", Misbehaviour::FloodOfJunk, "00:00:00"},
                      HostileCase{"ResetMidLine", Misbehaviour::ResetMidLine, "00:00:00"},
                      HostileCase{"LineThenSilence", Misbehaviour::LineThenSilence, "13:34:56"}),
    [](const auto& info) { return std::string(info.param.name); });

using SlowDaytimeServer = PrefsTest;

// A server that sends its reply a byte at a time, paced by this process's event loop: 10 ms a byte
// here; TIKORA_DAYTIME_PACE_MS=1000 makes it the byte a second of a slow link (51 s in all). The
// reply is handled when its line ends, not a byte sooner, and the clock ticks all along.
TEST_F(SlowDaytimeServer, TrickledReplyIsHandledWhenItsLineEnds) {
    const char* pace = std::getenv("TIKORA_DAYTIME_PACE_MS");
    const int paceMs = pace != nullptr ? std::max(1, std::atoi(pace)) : 10;
    const QByteArray reply = NistReply("12:34:56") + "trailing bytes after the line";
    const int lineEnd = reply.indexOf('\n', 24) + 1;

    QTcpServer server;
    ASSERT_TRUE(server.listen(QHostAddress::LocalHost, 0));
    defaultPort_ = server.serverPort();
    QTcpSocket* connection = nullptr;
    QTimer pacer;
    int written = 0;
    QObject::connect(&server, &QTcpServer::newConnection, [&] {
        connection = server.nextPendingConnection();
        pacer.start(paceMs);
    });
    // Any byte before the line feed must leave the display alone; after the line feed the pacer
    // holds back the trailing bytes until the display shows the reply.
    int writtenWhenShown = -1;
    bool shownEarly = false;
    auto shown = [&] {
        const bool now = Prefs().lblAtomicTime2.text() != QStringLiteral("00:00:00");
        shownEarly = shownEarly || (now && written < lineEnd);
        if (now && writtenWhenShown < 0) {
            writtenWhenShown = written;
        }
        return now;
    };
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
    // Loading the windows and the first tick's fonts are not the trickle's doing.
    frmMain->tmrClock_Timer();
    Prefs();
    int ticks = 0;
    QObject::connect(&frmMain->tmrClock, &QTimer::timeout, [&] { ++ticks; });
    const Heartbeat heartbeat(shown);
    QElapsedTimer took;
    took.start();

    Prefs().cmdGetAtomic.click();
    ASSERT_TRUE(QTest::qWaitFor([&] { return writtenWhenShown >= 0; },
                                kWaitMs + paceMs * static_cast<int>(reply.size())));
    ASSERT_TRUE(WaitUntilClosed(Prefs().wsAtomicTime));

    EXPECT_EQ(Atomic(), "13:34:56");
    EXPECT_FALSE(shownEarly);
    EXPECT_EQ(writtenWhenShown, lineEnd);
    EXPECT_LT(heartbeat.LongestGapMs(), 1000);
    EXPECT_GE(ticks, static_cast<int>(took.elapsed() / 200) - 2);  // the clock's 200 ms tick
    EXPECT_LT(heartbeat.GrowthKiB(), 2048);
    std::cout << "[ figures  ] Trickle at " << paceMs << " ms a byte: handled at byte "
              << writtenWhenShown << " after " << took.elapsed() << " ms, " << ticks
              << " clock ticks meanwhile; memory grew " << heartbeat.GrowthKiB()
              << " KiB; longest pause of the event loop " << heartbeat.LongestGapMs() << " ms\n";
}

}  // namespace
}  // namespace tikora::testing
