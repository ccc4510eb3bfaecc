// SPDX-License-Identifier: MIT
#include "qt/frmPrefs.h"

#include <QCloseEvent>
#include <QMessageBox>
#include <QPointer>
#include <QSignalBlocker>
#include <algorithm>
#include <optional>
#include <string>

#include "atomic/time_servers.h"
#include "platform/services.h"
#include "qt/form_layout.h"
#include "shared/modDefs.h"

namespace tikora {

FormInstance<PrefsWindow> frmPrefs;

namespace {

constexpr std::uint16_t kDaytimePort = 13;

const QString kCaption = QStringLiteral(":: Tikora [ Preferences ] ::");

DaytimeRoute& Route() {
    static DaytimeRoute route;
    return route;
}

ConfirmHook& Confirm() {
    static ConfirmHook hook;
    return hook;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

// Where the services leave them out (tools that never set the clock), the standard library's
// clocks and UTC serve.
class LibraryClock final : public WallClock {
  public:
    ClockReading Read() const override {
        return {std::chrono::time_point_cast<std::chrono::nanoseconds>(
                    std::chrono::system_clock::now()),
                std::chrono::steady_clock::now().time_since_epoch()};
    }
};

class UtcRules final : public ZoneRules {
  public:
    std::chrono::seconds OffsetAt(std::chrono::sys_seconds) const override {
        return std::chrono::seconds{0};
    }
};

const ZoneRules& Rules() {
    static const UtcRules utc;
    return Platform().zoneRules != nullptr ? *Platform().zoneRules : utc;
}

ClockReading Now() {
    static const LibraryClock library;
    return (Platform().wallClock != nullptr ? *Platform().wallClock : library).Read();
}

const ClockSetter& Setter() {
    static const RefusingClockSetter none;
    return Platform().clockSetter != nullptr ? *Platform().clockSetter : none;
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
      lblStatus(this),
      displays_(AtomicTimeState, Rules()) {
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

    // Instead of ticking every millisecond, each display's timer is set for the moment its shown
    // second changes; what it shows is the same.
    for (QTimer* timer : {&tmLocalTime, &tmAtomicTime}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    QObject::connect(&tmLocalTime, &QTimer::timeout, this, [this] { tmLocalTime_Timer(); });
    QObject::connect(&tmAtomicTime, &QTimer::timeout, this, [this] { tmAtomicTime_Timer(); });
    tmAtomicQuery.setSingleShot(true);
    tmAtomicQuery.setInterval(std::chrono::milliseconds(kQueryTimeLimit));
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
    FillServerTable(AtomicTimeState);
    for (int i = 0; i < kTimeServerCount; ++i) {
        cmbServerList.addItem(Text(ServerItemText(i, AtomicTimeState.ServerNames.Get(i))));
    }
    cmbServerList.setCurrentIndex(0);
    remotePort_ = kDaytimePort;
    // The timers run from the load on; the atomic display stands still until it gets a base.
    const ClockReading now = Now();
    displays_.Load(now);
    DrawBoth(now);
}

void PrefsWindow::cmdGetAtomic_Click() {
    // Only the last click's answer counts.
    CloseSocket();
    remoteHost_ = std::string(AtomicTimeState.ServerHosts.Get(cmbServerList.currentIndex()));
    DaytimeEndpoint endpoint{Text(remoteHost_), remotePort_};
    if (Route()) {
        endpoint = Route()(endpoint.host, endpoint.port);
    }
    // The last answer is not new: the atomic display stands still until this query's answer.
    displays_.QueryStarted();
    Draw(DisplayId::Atomic, Now());
    SetStatus(AskingText(remoteHost_));
    // Nothing is sent: a Daytime server writes its line as soon as the connection stands.
    awaitingReply_ = true;
    tmAtomicQuery.start();
    wsAtomicTime.connectToHost(endpoint.host, endpoint.port);
}

void PrefsWindow::wsAtomicTime_DataArrival(std::int32_t) {
    if (!awaitingReply_) {
        return;
    }
    const QByteArray piece = wsAtomicTime.read(static_cast<qint64>(reply_.Room()));
    if (reply_.Append(
            std::string_view(piece.constData(), static_cast<std::size_t>(piece.size())))) {
        HandleReply();
    }
}

void PrefsWindow::wsAtomicTime_Close() {
    if (!awaitingReply_) {
        return;
    }
    const QByteArray rest = wsAtomicTime.read(static_cast<qint64>(reply_.Room()));
    reply_.Append(std::string_view(rest.constData(), static_cast<std::size_t>(rest.size())));
    HandleReply();
}

void PrefsWindow::wsAtomicTime_Error(QAbstractSocket::SocketError error) {
    if (!awaitingReply_) {
        return;
    }
    switch (error) {
        case QAbstractSocket::RemoteHostClosedError:
            wsAtomicTime_Close();
            break;
        case QAbstractSocket::HostNotFoundError:
            QueryFailed(QueryFailure::UnknownHost);
            break;
        case QAbstractSocket::ConnectionRefusedError:
            QueryFailed(QueryFailure::Refused);
            break;
        default:
            QueryFailed(QueryFailure::Other, wsAtomicTime.errorString());
            break;
    }
}

void PrefsWindow::tmAtomicQuery_Timer() {
    if (awaitingReply_) {
        QueryFailed(QueryFailure::NoAnswer);
    }
}

void PrefsWindow::HandleReply() {
    // The moment the line arrived: a NIST server sends it to arrive at the second it names.
    const ClockReading now = Now();
    const std::string text = reply_.Text();
    CloseSocket();
    const ReplyResult result = displays_.TakeReply(text, now);
    if (result == ReplyResult::NotATime && text.empty()) {
        QueryFailed(QueryFailure::Dropped);
        return;
    }
    SetStatus(AnswerText(result, remoteHost_));
    Draw(DisplayId::Atomic, now);
}

void PrefsWindow::QueryFailed(QueryFailure failure, const QString& detail) {
    CloseSocket();
    SetStatus(QueryFailureText(failure, remoteHost_, detail.toStdString()));
}

void PrefsWindow::CloseSocket() {
    awaitingReply_ = false;
    tmAtomicQuery.stop();
    reply_.Clear();
    const QSignalBlocker quiet(wsAtomicTime);
    wsAtomicTime.abort();
}

void PrefsWindow::tmLocalTime_Timer() {
    const ClockReading now = Now();
    displays_.Tick(DisplayId::Local, now);
    Draw(DisplayId::Local, now);
}

void PrefsWindow::tmAtomicTime_Timer() {
    const ClockReading now = Now();
    displays_.Tick(DisplayId::Atomic, now);
    Draw(DisplayId::Atomic, now);
}

void PrefsWindow::Draw(DisplayId display, const ClockReading& now) {
    const bool local = display == DisplayId::Local;
    (local ? lblLocalTime2 : lblAtomicTime2).setText(Text(displays_.Shown(display)));
    QTimer& timer = local ? tmLocalTime : tmAtomicTime;
    if (const std::optional<int> wait = displays_.MillisecondsUntilChange(display, now)) {
        timer.start(*wait);
    } else {
        timer.stop();
    }
}

void PrefsWindow::DrawBoth(const ClockReading& now) {
    Draw(DisplayId::Local, now);
    Draw(DisplayId::Atomic, now);
}

void PrefsWindow::cmdSyncTime_Click() {
    const ClockReading now = Now();
    SetStatus(SyncText(displays_.Synchronise(now)));
    DrawBoth(now);
}

void PrefsWindow::cmdUpdate_Click() {
    if (settingClock_) {
        return;  // the last request has not been answered yet
    }
    UpdatePlan plan = displays_.PlanUpdate(Now());
    if (plan.refusal != UpdateRefusal::None) {
        SetStatus(UpdateRefusalText(plan.refusal));
        return;
    }
    if (abs(plan.change) > kAskAboveChange) {
        const std::string question = ConfirmChangeText(plan.change);
        QPointer<PrefsWindow> alive(this);
        const bool yes =
            Confirm() ? Confirm()(question)
                      : QMessageBox::question(this, kCaption, Text(question)) == QMessageBox::Yes;
        if (alive.isNull()) {
            return;
        }
        if (!yes) {
            SetStatus("The clock was left as it is.");
            return;
        }
        // The question took its time; the display has run on meanwhile.
        plan = displays_.PlanUpdate(Now());
    }
    settingClock_ = true;
    cmdUpdate.setEnabled(false);
    SetStatus("Setting the clock...");
    QPointer<PrefsWindow> window(this);
    const std::chrono::nanoseconds change = plan.change;
    Setter().SetClock(plan.target, [window, change](const ClockSetReport& report) {
        if (!window.isNull()) {
            window->ClockSet(report, change);
        }
    });
}

void PrefsWindow::ClockSet(const ClockSetReport& report, std::chrono::nanoseconds change) {
    settingClock_ = false;
    cmdUpdate.setEnabled(true);
    SetStatus(ClockSetText(report, change));
    if (report.result == ClockSetResult::Done) {
        // Stamped with the clock as it reads after the change.
        const ClockReading now = Now();
        displays_.Rebase(now);
        DrawBoth(now);
    }
}

void PrefsWindow::SetStatus(const std::string& text) {
    lblStatus.setText(Text(text));
}

void PrefsWindow::cmdOk_Click() {
    Unload();
}

void PrefsWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    Unload();
}

void PrefsWindow::Unload() {
    tmLocalTime.stop();
    tmAtomicTime.stop();
    CloseSocket();
    frmPrefs.Unload();
}

}  // namespace tikora
