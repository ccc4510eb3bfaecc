// SPDX-License-Identifier: MIT
#include "qt/frmMenu.h"

#include "menu/date_time_settings.h"
#include "modules/modMain.h"
#include "platform/process_starter.h"
#include "qt/frmAbout.h"
#include "qt/frmChangeSkin.h"
#include "qt/frmPrefs.h"
#include "shared/modDefs.h"
#include "shared/numeric.h"

namespace tikora {

FormInstance<MenuWindow> frmMenu;

namespace {

QAction* AddCommand(QMenu& menu, const char* caption, void (MenuWindow::*handler)(),
                    MenuWindow* window) {
    QAction* action = menu.addAction(QString::fromUtf8(caption));
    QObject::connect(action, &QAction::triggered, window,
                     [window, handler] { (window->*handler)(); });
    return action;
}

}  // namespace

MenuWindow::MenuWindow() : mnuMain(QStringLiteral("&Main")) {
    setWindowTitle(QStringLiteral(":: Tikora [ Menu ] ::"));
    const int twipsPerPixel = DockState.TwipsPerPixelX > 0 ? DockState.TwipsPerPixelX : 15;
    resize(RoundHalfEven(2700.0 / twipsPerPixel), RoundHalfEven(30.0 / twipsPerPixel));

    mnuAdjust = AddCommand(mnuMain, "&Adjust Date/Time", &MenuWindow::mnuAdjust_Click, this);
    mnuPreferences = AddCommand(mnuMain, "&Preferences", &MenuWindow::mnuPreferences_Click, this);
    mnuSep2 = mnuMain.addSeparator();
    mnuBeat = mnuMain.addAction(QStringLiteral("&Internet Time (.beat)"));
    mnuBeat->setCheckable(true);
    mnuBeat->setChecked(true);
    // Qt flips the check mark before it reports the click; the handler reads the mark as it
    // stood when the menu was opened, so the flip is undone first.
    QObject::connect(mnuBeat, &QAction::triggered, this, [this](bool checked) {
        mnuBeat->setChecked(!checked);
        mnuBeat_Click();
    });
    mnuSep0 = mnuMain.addSeparator();
    mnuChangeSkin = AddCommand(mnuMain, "&Change Skin", &MenuWindow::mnuChangeSkin_Click, this);
    mnuSep1 = mnuMain.addSeparator();
    mnuAbout = AddCommand(mnuMain, "A&bout", &MenuWindow::mnuAbout_Click, this);
    mnuExit = AddCommand(mnuMain, "&Exit", &MenuWindow::mnuExit_Click, this);
}

void MenuWindow::mnuAdjust_Click() {
    // A desktop without any of the known tools still gets an answer: what was looked for.
    const DateTimeSettingsOutcome outcome = OpenDateTimeSettings(FindProgram, StartDetached);
    if (!outcome.opened) {
        ShowError(outcome.message, false);
    }
}

void MenuWindow::mnuPreferences_Click() {
    ShowModeless(frmPrefs);
}

void MenuWindow::mnuBeat_Click() {
    if (mnuBeat->isChecked()) {
        mnuBeat->setChecked(false);
        ClockSettings.BeatTime = false;
    } else {
        mnuBeat->setChecked(true);
        ClockSettings.BeatTime = true;
    }
    SaveSettings();  // a choice is kept as soon as it is made
}

void MenuWindow::mnuChangeSkin_Click() {
    ShowModeless(frmChangeSkin);
}

void MenuWindow::mnuAbout_Click() {
    ShowModeless(frmAbout);
}

void MenuWindow::mnuExit_Click() {
    ExitProgram();
}

}  // namespace tikora
