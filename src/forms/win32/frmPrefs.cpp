// SPDX-License-Identifier: MIT
#include "win32/frmPrefs.h"

#include <commctrl.h>

#include <string>

#include "atomic/time_servers.h"
#include "shared/modDefs.h"
#include "win32/wide_text.h"

namespace tikora {

FormInstance<PrefsWindow> frmPrefs;

namespace {

constexpr wchar_t kCaption[] = L":: Tikora [ Preferences ] ::";

// Control identifiers.
enum : int { kServerList = 100, kGetAtomic, kUpdate, kSyncTime, kOk };

// Where the frames stand, in twips from the window's corner: the frame's positions count from
// the tab control's own corner, tab strip included, and the clocks' from the outer frame's.
constexpr Twips kTab{60, 60, 5925, 3075};
constexpr int kAtomicLeft = kTab.left + 120, kAtomicTop = kTab.top + 450;
constexpr int kTimeLeft = kAtomicLeft + 210, kTimeTop = kAtomicTop + 1200;

constexpr Twips InAtomicFrame(Twips place) {
    return {kAtomicLeft + place.left, kAtomicTop + place.top, place.width, place.height};
}
constexpr Twips InTimeFrame(Twips place) {
    return {kTimeLeft + place.left, kTimeTop + place.top, place.width, place.height};
}

constexpr COLORREF kLocalColor = RGB(0, 0, 128);
constexpr COLORREF kAtomicColor = RGB(128, 0, 0);

DaytimeRoute& Route() {
    static DaytimeRoute route;
    return route;
}

ConfirmHook& Confirm() {
    static ConfirmHook hook;
    return hook;
}

PrefsWindow::Timer TimerOf(PrefsTimer timer) {
    switch (timer) {
        case PrefsTimer::LocalTime:
            return PrefsWindow::tmLocalTime;
        case PrefsTimer::AtomicTime:
            return PrefsWindow::tmAtomicTime;
        case PrefsTimer::AtomicQuery:
            break;
    }
    return PrefsWindow::tmAtomicQuery;
}

void InitTabControls() {
    static const bool done = [] {
        INITCOMMONCONTROLSEX controls{sizeof controls, ICC_TAB_CLASSES};
        return InitCommonControlsEx(&controls) != FALSE;
    }();
    static_cast<void>(done);
}

}  // namespace

void ShowPrefs() {
    frmPrefs->Show();
}

void UnloadPrefs() {
    frmPrefs.Unload();
}

void SetDaytimeRouteForTesting(DaytimeRoute route) {
    Route() = std::move(route);
}

void SetConfirmHookForTesting(ConfirmHook hook) {
    Confirm() = std::move(hook);
}

PrefsWindow::PrefsWindow()
    : DialogWindow(kCaption, 6030, 3585),
      wsAtomicTime({[] {}, [this](std::string_view piece) { wsAtomicTime_DataArrival(piece); },
                    [this] { wsAtomicTime_Close(); },
                    [this](QueryFailure failure, const std::string& detail) {
                        wsAtomicTime_Error(failure, detail);
                    }}) {
    InitTabControls();
    constexpr DWORD kButton = BS_PUSHBUTTON | WS_TABSTOP;
    constexpr DWORD kFrame = BS_GROUPBOX | WS_CLIPSIBLINGS;
    tabPrincipal = AddControl(WC_TABCONTROLW, L"", WS_CLIPSIBLINGS, kTab);
    TCITEMW tab{};
    tab.mask = TCIF_TEXT;
    wchar_t tabText[] = L":: Atomic Time ::";
    tab.pszText = tabText;
    SendMessageW(tabPrincipal, TCM_INSERTITEMW, 0, reinterpret_cast<LPARAM>(&tab));
    frmAtomicTime = AddControl(L"BUTTON", L"", kFrame, {kAtomicLeft, kAtomicTop, 5685, 2445});
    lblAtomicServer =
        AddControl(L"STATIC", L"::[Server]::", 0, InAtomicFrame({210, 420, 915, 225}));
    // A drop-down list is as tall as its font makes it; the height is its open list's.
    cmbServerList = AddControl(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                               InAtomicFrame({1380, 360, 4095, 2700}), kServerList);
    cmdGetAtomic = AddControl(L"BUTTON", L"Get Atomic Time", kButton,
                              InAtomicFrame({3720, 750, 1755, 345}), kGetAtomic);
    frmTime = AddControl(L"BUTTON", L"", kFrame, {kTimeLeft, kTimeTop, 5265, 1005});
    lblLocalTime = AddControl(L"STATIC", L"[Local Time]:", 0, InTimeFrame({750, 270, 1095, 255}), 0,
                              FontKind::DesignBold);
    lblLocalTime2 = AddControl(L"STATIC", L"", SS_NOPREFIX, InTimeFrame({1980, 270, 735, 255}));
    lblAtomicTime = AddControl(L"STATIC", L"[Atomic Time]:", 0, InTimeFrame({750, 600, 1245, 255}),
                               0, FontKind::DesignBold);
    lblAtomicTime2 = AddControl(L"STATIC", L"", SS_NOPREFIX, InTimeFrame({1980, 600, 735, 255}));
    cmdUpdate = AddControl(L"BUTTON", L"Update Local Time", kButton,
                           InTimeFrame({3570, 240, 1605, 315}), kUpdate);
    cmdSyncTime = AddControl(L"BUTTON", L"Syncronise Time", kButton,
                             InTimeFrame({3570, 600, 1605, 285}), kSyncTime);
    cmdOk =
        AddControl(L"BUTTON", L"&OK", BS_DEFPUSHBUTTON | WS_TABSTOP, {4710, 3180, 1275, 345}, kOk);
    // Two lines beside the OK button, under the tab control.
    lblStatus = AddControl(L"STATIC", L"", SS_NOPREFIX, {60, 3150, 4590, 420});
    // The controls stand above the frames, and the frames above the tab control, each drawn
    // round what stands above it.
    for (HWND container : {frmTime, frmAtomicTime, tabPrincipal}) {
        SetWindowPos(container, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
}

void PrefsWindow::Form_Load() {
    page_.Load();
    for (int i = 0; i < kTimeServerCount; ++i) {
        const std::wstring item = Widen(ServerItemText(i, AtomicTimeState.ServerNames.Get(i)));
        SendMessageW(cmbServerList, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(item.c_str()));
    }
    SendMessageW(cmbServerList, CB_SETCURSEL, 0, 0);
}

int PrefsWindow::DefaultButton() const {
    return kOk;
}

LRESULT PrefsWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (HIWORD(wParam) == BN_CLICKED) {
                OnCommand(LOWORD(wParam));
            }
            return 0;
        case WM_TIMER: {
            const auto timer = static_cast<Timer>(wParam);
            // Each timer is set for one moment only.
            KillWindowTimer(timer);
            if (timer == tmLocalTime) {
                tmLocalTime_Timer();
            } else if (timer == tmAtomicTime) {
                tmAtomicTime_Timer();
            } else if (timer == tmAtomicQuery) {
                tmAtomicQuery_Timer();
            }
            return 0;
        }
        case WM_CTLCOLORSTATIC: {
            const auto label = reinterpret_cast<HWND>(lParam);
            if (label != lblLocalTime2 && label != lblAtomicTime2) {
                break;
            }
            const auto dc = reinterpret_cast<HDC>(wParam);
            SetTextColor(dc, label == lblLocalTime2 ? kLocalColor : kAtomicColor);
            SetBkColor(dc, GetSysColor(COLOR_BTNFACE));
            return reinterpret_cast<LRESULT>(GetSysColorBrush(COLOR_BTNFACE));
        }
        case WM_CLOSE:
            cmdOk_Click();  // the title bar's close button does the same
            return 0;
        default:
            break;
    }
    return DialogWindow::OnMessage(message, wParam, lParam);
}

void PrefsWindow::OnCommand(int id) {
    switch (id) {
        case kGetAtomic:
            cmdGetAtomic_Click();
            break;
        case kUpdate:
            cmdUpdate_Click();
            break;
        case kSyncTime:
            cmdSyncTime_Click();
            break;
        case kOk:
            cmdOk_Click();
            break;
        default:
            break;
    }
}

void PrefsWindow::SetWindowTimer(Timer timer, int milliseconds) {
    SetTimer(Handle(), timer, static_cast<UINT>(milliseconds), nullptr);
    activeTimers_ |= 1u << timer;
}

void PrefsWindow::KillWindowTimer(Timer timer) {
    KillTimer(Handle(), timer);
    activeTimers_ &= ~(1u << timer);
}

void PrefsWindow::cmdGetAtomic_Click() {
    page_.GetAtomicTime(static_cast<int>(SendMessageW(cmbServerList, CB_GETCURSEL, 0, 0)));
}

void PrefsWindow::wsAtomicTime_DataArrival(std::string_view piece) {
    page_.DataArrived(piece);
}

void PrefsWindow::wsAtomicTime_Close() {
    page_.ConnectionClosed();
}

void PrefsWindow::wsAtomicTime_Error(QueryFailure failure, const std::string& detail) {
    page_.ConnectionFailed(failure, detail);
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
        UnloadPrefs();  // the last step: the window's object goes with it
    }
}

void PrefsWindow::ShowTime(DisplayId display, const std::string& text) {
    SetText(display == DisplayId::Local ? lblLocalTime2 : lblAtomicTime2, text);
}

void PrefsWindow::ShowStatus(const std::string& text) {
    SetText(lblStatus, text);
}

void PrefsWindow::EnableUpdate(bool enabled) {
    EnableWindow(cmdUpdate, enabled ? TRUE : FALSE);
}

void PrefsWindow::StartTimer(PrefsTimer timer, int milliseconds) {
    SetWindowTimer(TimerOf(timer), milliseconds);
}

void PrefsWindow::StopTimer(PrefsTimer timer) {
    KillWindowTimer(TimerOf(timer));
}

void PrefsWindow::Connect(const std::string& host, std::uint16_t port) {
    DaytimeEndpoint endpoint{host, port};
    if (Route()) {
        endpoint = Route()(endpoint.host, endpoint.port);
    }
    wsAtomicTime.Connect(endpoint.host, endpoint.port);
}

void PrefsWindow::Disconnect() {
    wsAtomicTime.Close();
}

bool PrefsWindow::Ask(const std::string& question) {
    if (Confirm()) {
        return Confirm()(question);
    }
    return MessageBoxW(Handle(), Widen(question).c_str(), kCaption, MB_YESNO | MB_ICONQUESTION) ==
           IDYES;
}

}  // namespace tikora
