// SPDX-License-Identifier: MIT
#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpSocket>
#include <QTimer>
#include <QWidget>
#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "atomic/daytime_reply.h"
#include "atomic/running_displays.h"
#include "atomic/status_text.h"
#include "qt/form_instance.h"

namespace tikora {

// frmPrefs: the preferences window, with its one page. It asks a Daytime server for the time,
// shows it running beside the local time, and sets the computer's clock from it. Modeless. The
// running displays are a RunningDisplays model that the window draws; it forwards the clicks, the
// socket's events and the timers' ticks to it with a reading of the computer's clock. A status
// line says how a query, a synchronisation or setting the clock went.
class PrefsWindow : public QWidget {
  public:
    PrefsWindow();
    ~PrefsWindow() override;
    PrefsWindow(const PrefsWindow&) = delete;
    PrefsWindow& operator=(const PrefsWindow&) = delete;

    void Form_Load();
    void cmdGetAtomic_Click();
    void wsAtomicTime_DataArrival(std::int32_t bytesTotal);
    // The server closed the connection: whatever it sent is all there is.
    void wsAtomicTime_Close();
    void wsAtomicTime_Error(QAbstractSocket::SocketError error);
    // The query's time is up.
    void tmAtomicQuery_Timer();
    void tmLocalTime_Timer();
    void tmAtomicTime_Timer();
    void cmdSyncTime_Click();
    void cmdUpdate_Click();
    void cmdOk_Click();

    QTabWidget tabPrincipal;
    QGroupBox frmAtomicTime;
    QLabel lblAtomicServer;
    QComboBox cmbServerList;
    QPushButton cmdGetAtomic;
    QGroupBox frmTime;
    QLabel lblLocalTime;
    QLabel lblLocalTime2;
    QLabel lblAtomicTime;
    QLabel lblAtomicTime2;
    QPushButton cmdUpdate;
    QPushButton cmdSyncTime;
    QPushButton cmdOk;
    QLabel lblStatus;
    QTcpSocket wsAtomicTime;
    // Single-shot, each set for the moment its display's shown second changes.
    QTimer tmAtomicTime;
    QTimer tmLocalTime;
    // Single-shot: the time a query has to connect and answer.
    QTimer tmAtomicQuery;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // Shows what the model holds in a display's label and sets its timer for the next change.
    void Draw(DisplayId display, const ClockReading& now);
    void DrawBoth(const ClockReading& now);
    void HandleReply();
    void QueryFailed(QueryFailure failure, const QString& detail = {});
    void CloseSocket();
    void ClockSet(const ClockSetReport& report, std::chrono::nanoseconds change);
    void SetStatus(const std::string& text);
    void Unload();

    std::string remoteHost_;
    std::uint16_t remotePort_ = 0;
    DaytimeReply reply_;
    bool awaitingReply_ = false;
    bool settingClock_ = false;
    QWidget atomicPage_;
    RunningDisplays displays_;
};

extern FormInstance<PrefsWindow> frmPrefs;

// Where a query for a server really goes. Tests route it to a loopback server; the program never
// sets it and connects to the server's own host and port.
struct DaytimeEndpoint {
    QString host;
    std::uint16_t port = 0;
};
using DaytimeRoute = std::function<DaytimeEndpoint(const QString& host, std::uint16_t port)>;
void SetDaytimeRouteForTesting(DaytimeRoute route);

// Lets tests answer the question asked before a large change of the clock: the hook receives the
// question and returns the answer, in place of the modal box. An empty hook restores the box.
using ConfirmHook = std::function<bool(const std::string& question)>;
void SetConfirmHookForTesting(ConfirmHook hook);

}  // namespace tikora
