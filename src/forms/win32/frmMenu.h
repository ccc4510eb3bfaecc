// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include "win32/form_instance.h"

namespace tikora {

// frmMenu: never shown; its hidden window only carries the popup menu that a click on the clock
// opens, and owns it while it is open.
class MenuWindow {
  public:
    // The menu's items, in their order; each one's command identifier.
    enum Item : UINT {
        mnuAdjust = 1,
        mnuPreferences,
        mnuSep2,
        mnuBeat,
        mnuSep0,
        mnuChangeSkin,
        mnuSep1,
        mnuAbout,
        mnuExit,
    };

    MenuWindow();
    ~MenuWindow();
    MenuWindow(const MenuWindow&) = delete;
    MenuWindow& operator=(const MenuWindow&) = delete;

    void Form_Load() {}

    void mnuAdjust_Click();
    void mnuPreferences_Click();
    void mnuBeat_Click();
    void mnuChangeSkin_Click();
    void mnuAbout_Click();
    void mnuExit_Click();

    // Opens mnuMain at `at` (screen pixels) and runs the command chosen, if any.
    void PopupMenu(POINT at);
    // What choosing the item `item` does.
    void Command(UINT item);

    bool BeatChecked() const;
    void SetBeatChecked(bool checked);

    HWND Handle() const { return window_; }
    // "&Main", hidden from the window's menu bar: its items form the popup.
    HMENU mnuMain = nullptr;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

    HWND window_ = nullptr;
};

extern FormInstance<MenuWindow> frmMenu;

}  // namespace tikora
