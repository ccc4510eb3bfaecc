#pragma once

#include <QSignalSpy>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <map>
#include <string>
#include <vector>

#include "forms/form_fixture.h"
#include "qt/frmMenu.h"
#include "qt/frmPrefs.h"

namespace tikora::testing {

// Ample for the loopback interface: a test that waits this long has failed.
inline constexpr int kWaitMs = 5000;

inline QByteArray NistReply(const char* utc) {
    return QByteArray("\n60114 23-06-17 ") + utc + " 50 0 0 895.5 UTC(NIST) * \n";
}

enum class Then { StayOpen, HangUp };

// A Daytime server on 127.0.0.1 at a port the system picks: each connection is sent `answer`
// at once, then closed or left open.
class LoopbackDaytimeServer {
  public:
    explicit LoopbackDaytimeServer(QByteArray answer = {}, Then then = Then::StayOpen) {
        EXPECT_TRUE(server_.listen(QHostAddress::LocalHost, 0));
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this, answer, then] {
            while (QTcpSocket* connection = server_.nextPendingConnection()) {
                connections_.push_back(connection);
                connection->write(answer);
                if (then == Then::HangUp) {
                    connection->disconnectFromHost();
                }
            }
        });
    }
    std::uint16_t Port() const { return server_.serverPort(); }
    bool WaitForConnections(std::size_t count) {
        return QTest::qWaitFor([&] { return connections_.size() >= count; }, kWaitMs);
    }
    QTcpSocket& Connection(std::size_t index) { return *connections_.at(index); }

  private:
    QTcpServer server_;
    std::vector<QTcpSocket*> connections_;  // owned by server_
};

inline bool WaitUntilClosed(QAbstractSocket& socket) {
    return QTest::qWaitFor([&] { return socket.state() == QAbstractSocket::UnconnectedState; },
                           kWaitMs);
}

// The preferences window at 15 twips a pixel, at 12:00:00 one hour east of UTC, its queries routed
// to loopback servers: a host in `ports_` to its port, any other to `defaultPort_`.
class PrefsTest : public FormTest {
  protected:
    PrefsTest() {
        DockState.TwipsPerPixelX = DockState.TwipsPerPixelY = 15;
        SetClock(12, 0, 0);
        SetDaytimeRouteForTesting([this](const QString& host, std::uint16_t port) {
            asked_.push_back({host.toStdString(), port});
            const auto routed = ports_.find(host.toStdString());
            return DaytimeEndpoint{QStringLiteral("127.0.0.1"),
                                   routed != ports_.end() ? routed->second : defaultPort_};
        });
    }
    ~PrefsTest() override {
        SetDaytimeRouteForTesting({});
        frmPrefs.Unload();
        frmMenu.Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    PrefsWindow& Prefs() { return frmPrefs.Get(); }
    std::string Local() { return Prefs().lblLocalTime2.text().toStdString(); }
    std::string Atomic() { return Prefs().lblAtomicTime2.text().toStdString(); }
    void SetClock(int hour, int minute, int second, int millisecond = 0) {
        SetTime(hour, minute, second);
        time_.now.nanosecond = millisecond * 1000000;
    }
    // What the displays' timers do when they come due.
    void TickBoth() {
        Prefs().tmLocalTime_Timer();
        Prefs().tmAtomicTime_Timer();
    }
    // Clicks "Get Atomic Time" and waits until the query is over: answered, dropped or refused.
    bool QueryAndWait() {
        Prefs().cmdGetAtomic.click();
        return WaitUntilClosed(Prefs().wsAtomicTime);
    }
    void Answer(const QByteArray& reply) {
        LoopbackDaytimeServer server(reply, Then::HangUp);
        defaultPort_ = server.Port();
        ASSERT_TRUE(QueryAndWait());
    }

    std::vector<std::pair<std::string, std::uint16_t>> asked_;
    std::map<std::string, std::uint16_t> ports_;
    std::uint16_t defaultPort_ = 0;
};

}  // namespace tikora::testing
