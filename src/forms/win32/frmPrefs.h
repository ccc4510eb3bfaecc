// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "atomic/status_text.h"
#include "modules/atomic_time_page.h"
#include "win32/daytime_socket_win32.h"
#include "win32/dialog_window.h"
#include "win32/form_instance.h"

namespace tikora {

// Shows the preferences window, loading it first if it isn't; unloading destroys it.
void ShowPrefs();
void UnloadPrefs();

// frmPrefs: the preferences window, with its one page. It asks a Daytime server for the time,
// shows it running beside the local time, and sets the computer's clock from it. Modeless. What
// the page does is AtomicTimePage's; the window lends it its controls and forwards the clicks,
// the socket's events and the timers' ticks. A status line says how a query, a synchronisation or
// setting the clock went.
class PrefsWindow final : public DialogWindow, private AtomicTimeControls {
  public:
    PrefsWindow();

    void Form_Load();
    void cmdGetAtomic_Click();
    void wsAtomicTime_DataArrival(std::string_view piece);
    // The server closed the connection: whatever it sent is all there is.
    void wsAtomicTime_Close();
    void wsAtomicTime_Error(QueryFailure failure, const std::string& detail);
    // The query's time is up.
    void tmAtomicQuery_Timer();
    void tmLocalTime_Timer();
    void tmAtomicTime_Timer();
    void cmdSyncTime_Click();
    void cmdUpdate_Click();
    void cmdOk_Click();

    // The timers of the window (SetTimer identifiers), and whether each is set.
    enum Timer : UINT_PTR { tmLocalTime = 1, tmAtomicTime, tmAtomicQuery };
    bool TimerActive(Timer timer) const { return (activeTimers_ & (1u << timer)) != 0; }

    HWND tabPrincipal = nullptr;
    HWND frmAtomicTime = nullptr;
    HWND lblAtomicServer = nullptr;
    HWND cmbServerList = nullptr;
    HWND cmdGetAtomic = nullptr;
    HWND frmTime = nullptr;
    HWND lblLocalTime = nullptr;
    HWND lblLocalTime2 = nullptr;
    HWND lblAtomicTime = nullptr;
    HWND lblAtomicTime2 = nullptr;
    HWND cmdUpdate = nullptr;
    HWND cmdSyncTime = nullptr;
    HWND cmdOk = nullptr;
    HWND lblStatus = nullptr;
    DaytimeSocket wsAtomicTime;

  protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    int DefaultButton() const override;

  private:
    void OnCommand(int id);
    void SetWindowTimer(Timer timer, int milliseconds);
    void KillWindowTimer(Timer timer);

    void ShowTime(DisplayId display, const std::string& text) override;
    void ShowStatus(const std::string& text) override;
    void EnableUpdate(bool enabled) override;
    void StartTimer(PrefsTimer timer, int milliseconds) override;
    void StopTimer(PrefsTimer timer) override;
    void Connect(const std::string& host, std::uint16_t port) override;
    void Disconnect() override;
    bool Ask(const std::string& question) override;

    unsigned activeTimers_ = 0;
    AtomicTimePage page_{*this};
};

extern FormInstance<PrefsWindow> frmPrefs;

// Where a query for a server really goes. Tests route it to a loopback server; the program never
// sets it and connects to the server's own host and port.
struct DaytimeEndpoint {
    std::string host;
    std::uint16_t port = 0;
};
using DaytimeRoute = std::function<DaytimeEndpoint(const std::string& host, std::uint16_t port)>;
void SetDaytimeRouteForTesting(DaytimeRoute route);

// Lets tests answer the question asked before a large change of the clock: the hook receives the
// question and returns the answer, in place of the modal box. An empty hook restores the box.
using ConfirmHook = std::function<bool(const std::string& question)>;
void SetConfirmHookForTesting(ConfirmHook hook);

}  // namespace tikora
