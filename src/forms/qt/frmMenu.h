// SPDX-License-Identifier: MIT
#pragma once

#include <QMenu>
#include <QWidget>

#include "qt/form_instance.h"

namespace tikora {

// frmMenu: never shown; it only carries the popup menu that a click on the clock opens.
class MenuWindow : public QWidget {
  public:
    MenuWindow();

    void Form_Load() {}

    void mnuAdjust_Click();
    void mnuPreferences_Click();
    void mnuBeat_Click();
    void mnuChangeSkin_Click();
    void mnuAbout_Click();
    void mnuExit_Click();
    // The Internet Time check mark, as the settings say.
    void SetBeatChecked(bool checked) { mnuBeat->setChecked(checked); }

    QMenu mnuMain;
    QAction* mnuAdjust;
    QAction* mnuPreferences;
    QAction* mnuSep2;
    QAction* mnuBeat;
    QAction* mnuSep0;
    QAction* mnuChangeSkin;
    QAction* mnuSep1;
    QAction* mnuAbout;
    QAction* mnuExit;
};

extern FormInstance<MenuWindow> frmMenu;

// Shows a secondary window, loading it first if it is not loaded, and brings it forward.
template <class Form>
void ShowModeless(FormInstance<Form>& window) {
    Form& form = window.Get();
    form.show();
    form.raise();
    form.activateWindow();
}

}  // namespace tikora
