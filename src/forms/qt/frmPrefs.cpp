#include "qt/frmPrefs.h"

#include <QCloseEvent>
#include <QSignalBlocker>
#include <algorithm>
#include <optional>

#include "atomic/time_of_day.h"
#include "atomic/time_servers.h"
#include "platform/services.h"
#include "qt/form_layout.h"
#include "shared/modDefs.h"

namespace tikora {

FormInstance<PrefsWindow> frmPrefs;

namespace {

constexpr std::uint16_t kDaytimePort = 13;
// The caption of a display that stands still.
const QString kStandingStill = QStringLiteral("00:00:00");

DaytimeRoute& Route() {
    static DaytimeRoute route;
    return route;
}

QString Text(const std::string& text) {
    return QString::fromStdString(text);
}

float SecondsNow() {
    return Platform().time->Now().SecondsSinceMidnight();
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
      lblLocalTime2(kStandingStill, &frmTime),
      lblAtomicTime(QStringLiteral("[Atomic Time]:"), &frmTime),
      lblAtomicTime2(kStandingStill, &frmTime),
      cmdUpdate(QStringLiteral("Update Local Time"), &frmTime),
      cmdSyncTime(QStringLiteral("Syncronise Time"), &frmTime),
      cmdOk(QStringLiteral("&OK"), this),
      local_{lblLocalTime2, tmLocalTime, AtomicTimeState.LocalTimeText,
             AtomicTimeState.LocalTimeStamp, false},
      atomic_{lblAtomicTime2, tmAtomicTime, AtomicTimeState.AtomicTimeText,
              AtomicTimeState.AtomicTimeStamp, false} {
    MakeFixedDialog(*this, QStringLiteral(":: Tikora [ Preferences ] ::"), 6030, 3585);
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

    // Instead of ticking every millisecond, each display's timer is set for the moment its shown
    // second changes; what it shows is the same.
    for (QTimer* timer : {&tmLocalTime, &tmAtomicTime}) {
        timer->setSingleShot(true);
        timer->setTimerType(Qt::PreciseTimer);
    }
    QObject::connect(&tmLocalTime, &QTimer::timeout, this, [this] { tmLocalTime_Timer(); });
    QObject::connect(&tmAtomicTime, &QTimer::timeout, this, [this] { tmAtomicTime_Timer(); });
    // The socket takes no more from the network than a reply may hold: a server that floods the
    // connection fills the kernel's buffers, never this process's memory.
    wsAtomicTime.setReadBufferSize(static_cast<qint64>(DaytimeReply::kMaxBytes));
    QObject::connect(&wsAtomicTime, &QIODevice::readyRead, this, [this] {
        wsAtomicTime_DataArrival(
            static_cast<std::int32_t>(std::min<qint64>(wsAtomicTime.bytesAvailable(), INT32_MAX)));
    });
    QObject::connect(&wsAtomicTime, &QAbstractSocket::disconnected, this,
                     [this] { wsAtomicTime_Close(); });
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
    FillServerTable();
    for (int i = 0; i < kTimeServerCount; ++i) {
        cmbServerList.addItem(Text(ServerItemText(i, AtomicTimeState.ServerNames.Get(i))));
    }
    cmbServerList.setCurrentIndex(0);
    remotePort_ = kDaytimePort;
    const LocalTime now = Platform().time->Now();
    AtomicTimeState.LocalTimeStamp = now.SecondsSinceMidnight();
    AtomicTimeState.LocalTimeText = TimeOfDayText(now.hour, now.minute, now.second);
    SetCaption(local_, AtomicTimeState.LocalTimeText);
    // The timers run from the load on; the atomic display stands still until it gets a base.
    tmLocalTime_Timer();
    tmAtomicTime_Timer();
}

void PrefsWindow::FillServerTable() {
    for (int i = 0; i < kTimeServerCount; ++i) {
        const TimeServer& server = kTimeServers[static_cast<std::size_t>(i)];
        AtomicTimeState.ServerNames.Set(i, std::string(server.name));
        AtomicTimeState.ServerHosts.Set(i, std::string(server.host));
        AtomicTimeState.ServerAddresses.Set(i, std::string(server.address));
    }
}

void PrefsWindow::cmdGetAtomic_Click() {
    // Only the last click's answer counts.
    CloseSocket();
    remoteHost_ = std::string(AtomicTimeState.ServerHosts.Get(cmbServerList.currentIndex()));
    DaytimeEndpoint endpoint{Text(remoteHost_), remotePort_};
    if (Route()) {
        endpoint = Route()(endpoint.host, endpoint.port);
    }
    // Nothing is sent: a Daytime server writes its line as soon as the connection stands.
    awaitingReply_ = true;
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

void PrefsWindow::HandleReply() {
    const std::string text = reply_.Text();
    CloseSocket();
    // A reply without a time of day where the time belongs is treated as no answer at all.
    const std::optional<std::string> utc = ReplyTimeField(text);
    if (!utc) {
        return;
    }
    AtomicTimeState.AtomicTimeStamp = SecondsNow();
    SetCaption(atomic_, UtcToLocalTime(*utc));
    AtomicTimeState.AtomicTimeText = lblAtomicTime2.text().toStdString();
    tmAtomicTime_Timer();
}

void PrefsWindow::CloseSocket() {
    awaitingReply_ = false;
    reply_.Clear();
    const QSignalBlocker quiet(wsAtomicTime);
    wsAtomicTime.abort();
}

std::string PrefsWindow::UtcToLocalTime(const std::string& utc) const {
    return tikora::UtcToLocalTime(utc, Platform().zone->Read());
}

std::string PrefsWindow::AdvanceTime(const std::string& text, float seconds) const {
    return tikora::AdvanceTime(text, seconds);
}

void PrefsWindow::tmLocalTime_Timer() {
    Tick(local_);
}

void PrefsWindow::tmAtomicTime_Timer() {
    Tick(atomic_);
}

void PrefsWindow::Tick(Display& display) {
    const float now = SecondsNow();
    if (display.label.text() == kStandingStill && !display.captionFromTick) {
        display.timer.stop();
        return;
    }
    // Recomputed from the base every time, so nothing accumulates between ticks.
    display.label.setText(
        Text(AdvanceTime(display.baseText, ElapsedSeconds(now, display.baseStamp))));
    display.captionFromTick = true;
    display.timer.start(MillisecondsUntilShownChange(now, display.baseStamp));
}

void PrefsWindow::SetCaption(Display& display, const std::string& caption) {
    display.label.setText(Text(caption));
    display.captionFromTick = false;
}

void PrefsWindow::cmdSyncTime_Click() {
    // Both displays as they stand at this very moment, however their timers fell.
    tmLocalTime_Timer();
    tmAtomicTime_Timer();
    const float now = SecondsNow();
    AtomicTimeState.LocalTimeStamp = now;
    AtomicTimeState.AtomicTimeStamp = now;
    AtomicTimeState.LocalTimeText = lblAtomicTime2.text().toStdString();
    AtomicTimeState.AtomicTimeText = AtomicTimeState.LocalTimeText;
    // Any caption but "00:00:00" sets a display running; the ticks replace it at once.
    const std::string baseSeconds = QString::number(static_cast<double>(now)).toStdString();
    SetCaption(atomic_, baseSeconds);
    SetCaption(local_, baseSeconds);
    tmAtomicTime_Timer();
    tmLocalTime_Timer();
}

void PrefsWindow::cmdUpdate_Click() {
    tmLocalTime_Timer();
    tmAtomicTime_Timer();
    // A running display's hours never pass 23, so its caption is always a time of day. A clock
    // that can't be set is not reported.
    const std::optional<TimeOfDay> time = ParseTimeOfDay(lblLocalTime2.text().toStdString());
    if (time && Platform().clockSetter != nullptr) {
        Platform().clockSetter->SetLocalTimeOfDay(time->hour, time->minute, time->second);
    }
    const float now = SecondsNow();
    AtomicTimeState.LocalTimeStamp = now;
    AtomicTimeState.AtomicTimeStamp = now;
    AtomicTimeState.LocalTimeText = lblAtomicTime2.text().toStdString();
    AtomicTimeState.AtomicTimeText = AtomicTimeState.LocalTimeText;
    tmLocalTime_Timer();
    tmAtomicTime_Timer();
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
