// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <array>
#include <string>

namespace tikora {

// Form positions and sizes are given in twips; the screen's twips per pixel turn them into pixels.
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);

// A place in twips: left, top, width, height.
struct Twips {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
};

// "Trebuchet MS" 8.25 pt, the forms' font, plain and bold; "Arial" 8.25 pt for the skin lists.
enum class FontKind { Design, DesignBold, Arial };

// The secondary windows' common part: a fixed-size dialog window with a title bar and a close
// button only, its client area in twips, and controls placed in twips in the design's fonts.
// Messages go to OnMessage. Unloading a window destroys its object; a handler may do that as its
// very last step, because nothing here touches the object after OnMessage returns.
class DialogWindow {
  public:
    DialogWindow(const wchar_t* caption, int widthTwips, int heightTwips);
    virtual ~DialogWindow();
    DialogWindow(const DialogWindow&) = delete;
    DialogWindow& operator=(const DialogWindow&) = delete;

    HWND Handle() const { return window_; }
    // Shows the window and brings it forward; a window shown for the first time gives the focus to
    // its first control in the tab order.
    void Show() const;

  protected:
    // A child control; `id` comes back with its notifications.
    HWND AddControl(const wchar_t* windowClass, const wchar_t* text, DWORD style, Twips place,
                    int id = 0, FontKind font = FontKind::Design);
    HFONT Font(FontKind kind);
    // Messages the window doesn't answer go to DefWindowProcW. Escape comes as WM_CLOSE.
    virtual LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam);
    // The control Enter presses unless the focus is on another button; 0 for none.
    virtual int DefaultButton() const { return 0; }

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT DefaultButtonAnswer() const;

    HWND window_ = nullptr;
    HWND focus_ = nullptr;  // the control that had the focus when the window was last left
    std::array<HFONT, 3> fonts_{};
};

// Tab, Enter, Escape and the mnemonics in whichever window of the thread is active, as in a dialog
// box; true when `message` was such a key and has been dealt with.
bool DialogKey(MSG& message);

// The program's icon at the system's size for `metric` (SM_CXICON, SM_CXSMICON).
HICON ProgramIcon(int metric);

// The text of a window or control, and setting it, in UTF-8.
std::string TextOf(HWND window);
void SetText(HWND window, const std::string& text);

}  // namespace tikora
