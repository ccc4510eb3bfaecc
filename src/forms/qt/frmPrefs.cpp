// SPDX-License-Identifier: MIT
#include "qt/frmPrefs.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMessageBox>
#include <QPointer>
#include <QSignalBlocker>
#include <algorithm>
#include <string>
#include <thread>

#include "atomic/time_servers.h"
#include "qt/form_layout.h"
#include "shared/modDefs.h"

namespace tikora {

FormInstance<PrefsWindow> frmPrefs;

namespace {

const QString kCaption = QStringLiteral(":: Tikora [ Preferences ] ::");

DaytimeRoute& Route() {
    static DaytimeRoute route;
    return route;
}

ConfirmHook& Confirm() {
    static ConfirmHook hook;
    return hook;
}

NameCheck& Check() {
    static NameCheck check;
    return check;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

void SetTextColor(QLabel& label, const QColor& color) {
    QPalette palette = label.palette();
    palette.setColor(QPalette::WindowText, color);
    label.setPalette(palette);
}

}  // namespace

void SetDaytimeRouteForTesting(DaytimeRoute route) {
    Route() = std::move(route);
}

void SetConfirmHookForTesting(ConfirmHook hook) {
    Confirm() = std::move(hook);
}

void SetNameCheckForTesting(NameCheck check) {
    Check() = std::move(check);
}

PrefsWindow::PrefsWindow()
    : tabPrincipal(this),
      // Positions inside the tab control count from its own corner, tab strip included, so the
      // frame belongs to the control itself rather than to the page under the strip.
      frmAtomicTime(&tabPrincipal),
      lblAtomicServer(QStringLiteral("::[Server]::"), &frmAtomicTime),
      cmbServerList(&frmAtomicTime),
      cmdGetAtomic(QStringLiteral("Get Atomic Time"), &frmAtomicTime),
      frmTime(&frmAtomicTime),
      lblLocalTime(QStringLiteral("[Local Time]:"), &frmTime),
      lblLocalTime2(&frmTime),
      lblAtomicTime(QStringLiteral("[Atomic Time]:"), &frmTime),
      lblAtomicTime2(&frmTime),
      cmdUpdate(QStringLiteral("Update Local Time"), &frmTime),
      cmdSyncTime(QStringLiteral("Syncronise Time"), &frmTime),
      cmdOk(QStringLiteral("&OK"), this),
      lblStatus(this) {
    MakeFixedDialog(*this, kCaption, 6030, 3585);
    tabPrincipal.addTab(&atomicPage_, QStringLiteral(":: Atomic Time ::"));
    PlaceInTwips(tabPrincipal, 60, 60, 5925, 3075);
    PlaceInTwips(frmAtomicTime, 120, 450, 5685, 2445);
    frmAtomicTime.raise();
    PlaceInTwips(lblAtomicServer, 210, 420, 915, 225);
    // A drop-down list is as tall as its font makes it.
    cmbServerList.setEditable(false);
    cmbServerList.setGeometry(TwipsToPixelsX(1380), TwipsToPixelsY(360), TwipsToPixelsX(4095),
                              cmbServerList.sizeHint().height());
    PlaceInTwips(cmdGetAtomic, 3720, 750, 1755, 345);
    PlaceInTwips(frmTime, 210, 1200, 5265, 1005);
    QFont bold = DesignFont();
    bold.setBold(true);
    lblLocalTime.setFont(bold);
    lblAtomicTime.setFont(bold);
    PlaceInTwips(lblLocalTime, 750, 270, 1095, 255);
    PlaceInTwips(lblLocalTime2, 1980, 270, 735, 255);
    PlaceInTwips(lblAtomicTime, 750, 600, 1245, 255);
    PlaceInTwips(lblAtomicTime2, 1980, 600, 735, 255);
    SetTextColor(lblLocalTime2, QColor(0, 0, 128));
    SetTextColor(lblAtomicTime2, QColor(128, 0, 0));
    PlaceInTwips(cmdUpdate, 3570, 240, 1605, 315);
    PlaceInTwips(cmdSyncTime, 3570, 600, 1605, 285);
    PlaceInTwips(cmdOk, 4710, 3180, 1275, 345);
    // Two lines beside the OK button, under the tab control.
    PlaceInTwips(lblStatus, 60, 3150, 4590, 420);
    lblStatus.setWordWrap(true);

    // Each timer is set for one moment only; the displays' to the millisecond.
    for (QTimer* timer : {&tmLocalTime, &tmAtomicTime, &tmAtomicQuery}) {
        timer->setSingleShot(true);
    }
    tmLocalTime.setTimerType(Qt::PreciseTimer);
    tmAtomicTime.setTimerType(Qt::PreciseTimer);
    QObject::connect(&tmLocalTime, &QTimer::timeout, this, [this] { tmLocalTime_Timer(); });
    QObject::connect(&tmAtomicTime, &QTimer::timeout, this, [this] { tmAtomicTime_Timer(); });
    QObject::connect(&tmAtomicQuery, &QTimer::timeout, this, [this] { tmAtomicQuery_Timer(); });
    // The socket takes no more from the network than a reply may hold: a server that floods the
    // connection fills the kernel's buffers, never this process's memory.
    wsAtomicTime.setReadBufferSize(static_cast<qint64>(DaytimeReply::kMaxBytes));
    QObject::connect(&wsAtomicTime, &QIODevice::readyRead, this, [this] {
        wsAtomicTime_DataArrival(
            static_cast<std::int32_t>(std::min<qint64>(wsAtomicTime.bytesAvailable(), INT32_MAX)));
    });
    QObject::connect(&wsAtomicTime, &QAbstractSocket::disconnected, this,
                     [this] { wsAtomicTime_Close(); });
    QObject::connect(&wsAtomicTime, &QAbstractSocket::errorOccurred, this,
                     [this](QAbstractSocket::SocketError error) { wsAtomicTime_Error(error); });
    QObject::connect(&cmdGetAtomic, &QPushButton::clicked, this, [this] { cmdGetAtomic_Click(); });
    QObject::connect(&cmdSyncTime, &QPushButton::clicked, this, [this] { cmdSyncTime_Click(); });
    QObject::connect(&cmdUpdate, &QPushButton::clicked, this, [this] { cmdUpdate_Click(); });
    QObject::connect(&cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
}

PrefsWindow::~PrefsWindow() {
    // Quiet the socket first: its handlers use members that are destroyed before it is.
    wsAtomicTime.blockSignals(true);
    wsAtomicTime.abort();
}

void PrefsWindow::Form_Load() {
    page_.Load();
    for (int i = 0; i < kTimeServerCount; ++i) {
        cmbServerList.addItem(Text(ServerItemText(i, AtomicTimeState.ServerNames.Get(i))));
    }
    cmbServerList.setCurrentIndex(0);
}

void PrefsWindow::cmdGetAtomic_Click() {
    page_.GetAtomicTime(cmbServerList.currentIndex());
}

void PrefsWindow::wsAtomicTime_DataArrival(std::int32_t) {
    if (!page_.AwaitingReply()) {
        return;
    }
    const QByteArray piece = wsAtomicTime.read(static_cast<qint64>(page_.ReplyRoom()));
    page_.DataArrived(std::string_view(piece.constData(), static_cast<std::size_t>(piece.size())));
}

void PrefsWindow::wsAtomicTime_Close() {
    if (!page_.AwaitingReply()) {
        return;
    }
    const QByteArray rest = wsAtomicTime.read(static_cast<qint64>(page_.ReplyRoom()));
    page_.DataArrived(std::string_view(rest.constData(), static_cast<std::size_t>(rest.size())));
    page_.ConnectionClosed();
}

void PrefsWindow::wsAtomicTime_Error(QAbstractSocket::SocketError error) {
    switch (error) {
        case QAbstractSocket::RemoteHostClosedError:
            wsAtomicTime_Close();
            break;
        case QAbstractSocket::HostNotFoundError:
            FindWhyLookupFailed();
            break;
        case QAbstractSocket::ConnectionRefusedError:
            page_.ConnectionFailed(QueryFailure::Refused);
            break;
        default:
            page_.ConnectionFailed(QueryFailure::Other, wsAtomicTime.errorString().toStdString());
            break;
    }
}

void PrefsWindow::FindWhyLookupFailed() {
    const NameCheck check = Check() ? Check() : NameCheck(WhyLookupFails);
    std::thread([check, host = lookedUp_, window = QPointer(this), connection = connection_] {
        const LookupVerdict verdict = check(host);
        // Handed to the event loop's thread, where the window is known to be there or gone.
        QCoreApplication* loop = QCoreApplication::instance();
        if (loop == nullptr) {
            return;
        }
        QMetaObject::invokeMethod(
            loop,
            [window, connection, verdict] {
                if (window && window->connection_ == connection) {
                    window->page_.ConnectionFailed(verdict.failure, verdict.detail);
                }
            },
            Qt::QueuedConnection);
    }).detach();
}

void PrefsWindow::tmAtomicQuery_Timer() {
    page_.TimerFired(PrefsTimer::AtomicQuery);
}

void PrefsWindow::tmLocalTime_Timer() {
    page_.TimerFired(PrefsTimer::LocalTime);
}

void PrefsWindow::tmAtomicTime_Timer() {
    page_.TimerFired(PrefsTimer::AtomicTime);
}

void PrefsWindow::cmdSyncTime_Click() {
    page_.Synchronise();
}

void PrefsWindow::cmdUpdate_Click() {
    page_.UpdateLocalTime();
}

void PrefsWindow::cmdOk_Click() {
    if (page_.MayClose()) {
        Unload();
    }
}

void PrefsWindow::closeEvent(QCloseEvent* event) {
    if (!page_.MayClose()) {
        event->ignore();
        return;
    }
    event->accept();
    Unload();
}

void PrefsWindow::Unload() {
    page_.Unload();
    frmPrefs.Unload();
}

QTimer& PrefsWindow::TimerOf(PrefsTimer timer) {
    switch (timer) {
        case PrefsTimer::LocalTime:
            return tmLocalTime;
        case PrefsTimer::AtomicTime:
            return tmAtomicTime;
        case PrefsTimer::AtomicQuery:
            break;
    }
    return tmAtomicQuery;
}

void PrefsWindow::ShowTime(DisplayId display, const std::string& text) {
    (display == DisplayId::Local ? lblLocalTime2 : lblAtomicTime2).setText(Text(text));
}

void PrefsWindow::ShowStatus(const std::string& text) {
    lblStatus.setText(Text(text));
}

void PrefsWindow::EnableUpdate(bool enabled) {
    cmdUpdate.setEnabled(enabled);
}

void PrefsWindow::StartTimer(PrefsTimer timer, int milliseconds) {
    TimerOf(timer).start(milliseconds);
}

void PrefsWindow::StopTimer(PrefsTimer timer) {
    TimerOf(timer).stop();
}

void PrefsWindow::Connect(const std::string& host, std::uint16_t port) {
    DaytimeEndpoint endpoint{Text(host), port};
    if (Route()) {
        endpoint = Route()(endpoint.host, endpoint.port);
    }
    ++connection_;
    lookedUp_ = endpoint.host.toStdString();
    wsAtomicTime.connectToHost(endpoint.host, endpoint.port);
}

void PrefsWindow::Disconnect() {
    ++connection_;
    const QSignalBlocker quiet(wsAtomicTime);
    wsAtomicTime.abort();
}

bool PrefsWindow::Ask(const std::string& question) {
    if (Confirm()) {
        return Confirm()(question);
    }
    return QMessageBox::question(this, kCaption, Text(question)) == QMessageBox::Yes;
}

}  // namespace tikora
