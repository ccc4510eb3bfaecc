// SPDX-License-Identifier: MIT
// tikora-leak-driver: the program as main.cpp starts it, on a real X server, driven round and round
// through its windows for a given number of seconds: the popup menu, the preferences window with a
// query to a Daytime server on the loopback interface, the skin chooser changing skins, the About
// window, the Internet Time switch. Then every window is unloaded and the process ends normally,
// so that a leak checker sees everything the windows left behind. For scripts/leak-check only;
// it is never installed.
//
// Usage: tikora-leak-driver SECONDS

#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QTcpServer>
#include <QTcpSocket>
#include <QTest>
#include <QTimer>
#include <cstdlib>
#include <functional>
#include <iostream>
#include <string>
#include <vector>

#include "modules/modMain.h"
#include "platform/services.h"
#include "qt/frmAbout.h"
#include "qt/frmChangeSkin.h"
#include "qt/frmMain.h"
#include "qt/frmMenu.h"
#include "qt/frmPrefs.h"
#include "qt/system_services.h"
#include "shared/modDefs.h"

namespace tikora {
namespace {

const char* const kSkins[] = {"Beacon", "Paper", "Plain", "Segment", "Zefro"};

// Answers each connection in one of the ways a server may: a NIST line and a hang-up, a NIST line
// and silence, junk, or nothing at all.
class DaytimeServer {
  public:
    DaytimeServer() {
        if (!server_.listen(QHostAddress::LocalHost, 0)) {
            std::cerr << "tikora-leak-driver: no loopback server\n";
            std::exit(2);
        }
        QObject::connect(&server_, &QTcpServer::newConnection, &server_, [this] {
            while (QTcpSocket* connection = server_.nextPendingConnection()) {
                QObject::connect(connection, &QTcpSocket::disconnected, connection,
                                 &QObject::deleteLater);
                switch (served_++ % 4) {
                    case 0:
                        connection->write("\n60114 23-06-17 12:34:56 50 0 0 895.5 UTC(NIST) * \n");
                        connection->disconnectFromHost();
                        break;
                    case 1:
                        connection->write("\n60114 23-06-17 01:02:03 50 0 0 895.5 UTC(NIST) * \n");
                        break;
                    case 2:
                        connection->write(QByteArray(4000, '#'));
                        break;
                    default:
                        break;
                }
            }
        });
    }
    std::uint16_t Port() const { return server_.serverPort(); }
    int Served() const { return served_; }

  private:
    QTcpServer server_;
    int served_ = 0;
};

// One step every 60 ms, round and round until the time is up.
class Driver {
  public:
    explicit Driver(int seconds) : seconds_(seconds) {
        deadline_.start();
        steps_ = {
            [] { QTest::mouseClick(&frmMain.Get(), Qt::LeftButton, {}, QPoint(5, 5)); },
            [] { QTest::keyClick(&frmMenu->mnuMain, Qt::Key_P); },
            [] { QTest::mouseClick(&frmPrefs->cmdGetAtomic, Qt::LeftButton); },
            [] {},  // the server's answer, if any
            [] { frmPrefs->cmdSyncTime.click(); },
            [] { frmPrefs->cmdOk.click(); },
            [] { QTest::mouseClick(&frmMain.Get(), Qt::LeftButton, {}, QPoint(5, 5)); },
            [] { QTest::keyClick(&frmMenu->mnuMain, Qt::Key_C); },
            [this] { ChooseSkin(); },
            [] { QTest::mouseClick(&frmMain.Get(), Qt::LeftButton, {}, QPoint(5, 5)); },
            [] { QTest::keyClick(&frmMenu->mnuMain, Qt::Key_I); },  // Internet Time on or off
            [] { QTest::mouseClick(&frmMain.Get(), Qt::LeftButton, {}, QPoint(5, 5)); },
            [] { QTest::keyClick(&frmMenu->mnuMain, Qt::Key_Escape); },
            [] { ShowModeless(frmAbout); },
            [] { frmAbout->cmdOk.click(); },
            [] { ShowModeless(frmChangeSkin); },
            [] { frmChangeSkin->cmdCancel.click(); },
            [] { ShowModeless(frmPrefs); },
            [] { frmPrefs->close(); },
        };
        timer_.setInterval(60);
        QObject::connect(&timer_, &QTimer::timeout, [this] { Step(); });
        timer_.start();
    }
    int Rounds() const { return rounds_; }

  private:
    void Step() {
        if (next_ == 0 && deadline_.elapsed() >= 1000LL * seconds_) {
            timer_.stop();
            QApplication::quit();
            return;
        }
        steps_[next_]();
        next_ = (next_ + 1) % steps_.size();
        rounds_ += next_ == 0;
    }

    void ChooseSkin() {
        ChangeSkinWindow& chooser = frmChangeSkin.Get();
        const std::string skin = kSkins[rounds_ % std::size(kSkins)];
        if (chooser.SetFolderPath(Platform().programFolder() + "/Skins/" + skin)) {
            const QList<QListWidgetItem*> files = chooser.filePrincipal.findItems(
                QString::fromStdString(skin + ".ini"), Qt::MatchExactly);
            if (!files.isEmpty()) {
                files.front()->setSelected(true);
            }
        }
        chooser.cmdChange.click();
    }

    QElapsedTimer deadline_;
    int seconds_;
    std::vector<std::function<void()>> steps_;
    std::size_t next_ = 0;
    int rounds_ = 0;
    QTimer timer_;
};

}  // namespace
}  // namespace tikora

int main(int argc, char* argv[]) {
    using namespace tikora;
    const int seconds = argc > 1 ? std::atoi(argv[1]) : 60;
    if (qEnvironmentVariableIsEmpty("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    InstallSystemServices();
    // As the program is, except: its skins come from the source tree, it can't set the clock, and
    // its queries go to the loopback server. The settings file is wherever XDG_CONFIG_HOME says.
    const RefusingClockSetter noClock;
    Services services = Platform();
    services.programFolder = [] { return std::string(TIKORA_SOURCE_DIR); };
    services.clockSetter = &noClock;
    const ScopedServices scoped(services);
    int errors = 0;
    SetErrorBoxHook([&errors](const std::string&, const std::string& message) {
        std::cerr << "tikora-leak-driver: error box: " << message << "\n";
        ++errors;
    });
    DaytimeServer server;
    SetDaytimeRouteForTesting([&server](const QString&, std::uint16_t) {
        return DaytimeEndpoint{QStringLiteral("127.0.0.1"), server.Port()};
    });

    frmMain->show();
    Driver driver(seconds);
    QApplication::exec();

    for (auto unload :
         {+[] { frmPrefs.Unload(); }, +[] { frmChangeSkin.Unload(); }, +[] { frmAbout.Unload(); },
          +[] { frmMenu.Unload(); }, +[] { frmMain.Unload(); }}) {
        unload();
    }
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    SetDaytimeRouteForTesting({});
    SetErrorBoxHook({});
    std::cout << "tikora-leak-driver: " << driver.Rounds() << " rounds in " << seconds << " s, "
              << server.Served() << " Daytime queries, " << errors << " error boxes" << std::endl;
    return errors == 0 ? 0 : 1;
}
