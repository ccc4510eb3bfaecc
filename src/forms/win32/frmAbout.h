// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include "win32/dialog_window.h"
#include "win32/form_instance.h"

namespace tikora {

// Shows the About window, loading it first if it isn't; unloading destroys it.
void ShowAbout();
void UnloadAbout();

// frmAbout: the product's name, version and release date, and a rights notice.
class AboutWindow final : public DialogWindow {
  public:
    AboutWindow();

    void Form_Load();
    void cmdOk_Click();

    HWND Image1 = nullptr;
    HWND lblProgName = nullptr;
    HWND lblReleaseDate = nullptr;
    HWND lblCopyright = nullptr;
    HWND lblRights = nullptr;
    HWND cmdOk = nullptr;

  protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    int DefaultButton() const override;

  private:
    void OnPaint();
};

extern FormInstance<AboutWindow> frmAbout;

}  // namespace tikora
