#pragma once

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QTabWidget>
#include <QTcpSocket>
#include <QTimer>
#include <QWidget>
#include <cstdint>
#include <functional>
#include <string>

#include "atomic/daytime_reply.h"
#include "qt/form_instance.h"

namespace tikora {

// frmPrefs: the preferences window, with its one page. It asks a Daytime server for the time,
// shows it running beside the local time, and sets the computer's clock from it. Modeless.
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
    QTcpSocket wsAtomicTime;
    // Single-shot, each set for the moment its display's shown second changes.
    QTimer tmAtomicTime;
    QTimer tmLocalTime;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    // One running display: its label shows the base text advanced by the seconds since the base
    // was taken. A caption of exactly "00:00:00" that the display's own tick did not write means
    // the display stands still.
    struct Display {
        QLabel& label;
        QTimer& timer;
        std::string& baseText;
        float& baseStamp;
        bool captionFromTick = false;
    };

    void FillServerTable();
    std::string UtcToLocalTime(const std::string& utc) const;
    std::string AdvanceTime(const std::string& text, float seconds) const;
    void Tick(Display& display);
    void SetCaption(Display& display, const std::string& caption);
    void HandleReply();
    void CloseSocket();
    void Unload();

    std::string remoteHost_;
    std::uint16_t remotePort_ = 0;
    DaytimeReply reply_;
    bool awaitingReply_ = false;
    QWidget atomicPage_;
    Display local_;
    Display atomic_;
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

}  // namespace tikora
