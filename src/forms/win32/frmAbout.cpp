// SPDX-License-Identifier: MIT
#include "win32/frmAbout.h"

namespace tikora {

FormInstance<AboutWindow> frmAbout;

namespace {

constexpr int kOk = 100;

void AppendText(HWND label, const std::string& tail) {
    SetText(label, TextOf(label) + tail);
}

}  // namespace

void ShowAbout() {
    frmAbout->Show();
}

void UnloadAbout() {
    frmAbout.Unload();
}

AboutWindow::AboutWindow() : DialogWindow(L":: Tikora [ About ] ::", 4245, 1620) {
    Image1 = AddControl(L"STATIC", L"", SS_ICON, {90, 90, 480, 480});
    SendMessageW(Image1, STM_SETICON, reinterpret_cast<WPARAM>(ProgramIcon(SM_CXICON)), 0);
    lblProgName = AddControl(L"STATIC", L"Tikora", SS_NOPREFIX, {690, 90, 3465, 225}, 0,
                             FontKind::DesignBold);
    lblReleaseDate = AddControl(L"STATIC", L"Release Date:", SS_NOPREFIX, {690, 330, 3465, 225});
    lblCopyright =
        AddControl(L"STATIC", L"\u00A9 The Tikora developers", SS_NOPREFIX, {690, 660, 3465, 225});
    lblRights = AddControl(L"STATIC", L"MIT licence: free to use, change and share", SS_NOPREFIX,
                           {690, 900, 3465, 225});
    cmdOk =
        AddControl(L"BUTTON", L"&Ok", BS_DEFPUSHBUTTON | WS_TABSTOP, {3330, 1230, 855, 315}, kOk);
}

void AboutWindow::Form_Load() {
    AppendText(lblProgName, " 1.0");
    AppendText(lblReleaseDate, " April 27, 2001 (Friday)");
}

void AboutWindow::cmdOk_Click() {
    UnloadAbout();  // the last step: the window's object goes with it
}

int AboutWindow::DefaultButton() const {
    return kOk;
}

LRESULT AboutWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            if (LOWORD(wParam) == kOk && HIWORD(wParam) == BN_CLICKED) {
                cmdOk_Click();
            }
            return 0;
        case WM_PAINT:
            OnPaint();
            return 0;
        case WM_CLOSE:
            UnloadAbout();  // the title bar's close button: the last step here
            return 0;
        default:
            break;
    }
    return DialogWindow::OnMessage(message, wParam, lParam);
}

void AboutWindow::OnPaint() {
    PAINTSTRUCT paint;
    const HDC dc = BeginPaint(Handle(), &paint);
    const HGDIOBJ old = SelectObject(dc, GetStockObject(DC_PEN));
    SetDCPenColor(dc, GetSysColor(COLOR_BTNSHADOW));
    // lineVer1 and lineHor1.
    MoveToEx(dc, TwipsToPixelsX(630), TwipsToPixelsY(60), nullptr);
    LineTo(dc, TwipsToPixelsX(630), TwipsToPixelsY(3090));
    MoveToEx(dc, TwipsToPixelsX(690), TwipsToPixelsY(630), nullptr);
    LineTo(dc, TwipsToPixelsX(4200), TwipsToPixelsY(630));
    SelectObject(dc, old);
    EndPaint(Handle(), &paint);
}

}  // namespace tikora
