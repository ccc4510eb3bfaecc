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

#include "modules/atomic_time_page.h"
#include "posix/name_lookup.h"
#include "qt/form_instance.h"

namespace tikora {

// frmPrefs: the preferences window, with its one page. It asks a Daytime server for the time,
// shows it running beside the local time, and sets the computer's clock from it. Modeless. What
// the page does is AtomicTimePage's; the window lends it its controls and forwards the clicks,
// the socket's events and the timers' ticks. A status line says how a query, a synchronisation or
// setting the clock went.
class PrefsWindow : public QWidget, private AtomicTimeControls {
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
    QTimer& TimerOf(PrefsTimer timer);
    void Unload();
    // Qt's socket says "host not found" for every failed lookup: ask the system why.
    void FindWhyLookupFailed();

    void ShowTime(DisplayId display, const std::string& text) override;
    void ShowStatus(const std::string& text) override;
    void EnableUpdate(bool enabled) override;
    void StartTimer(PrefsTimer timer, int milliseconds) override;
    void StopTimer(PrefsTimer timer) override;
    void Connect(const std::string& host, std::uint16_t port) override;
    void Disconnect() override;
    bool Ask(const std::string& question) override;

    QWidget atomicPage_;
    // Counts connections, so that a late verdict on an earlier one's name is dropped.
    unsigned connection_ = 0;
    std::string lookedUp_;
    AtomicTimePage page_{*this};
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

// Says why a host name gave no address (WhyLookupFails); it runs on a worker thread. Tests put a
// fake resolver in its place; an empty function restores the system's.
using NameCheck = std::function<LookupVerdict(const std::string& host)>;
void SetNameCheckForTesting(NameCheck check);

// Lets tests answer the question asked before a large change of the clock: the hook receives the
// question and returns the answer, in place of the modal box. An empty hook restores the box.
using ConfirmHook = std::function<bool(const std::string& question)>;
void SetConfirmHookForTesting(ConfirmHook hook);

}  // namespace tikora
