// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <chrono>
#include <cstdint>
#include <functional>
#include <string>

#include "clock/clock_frame.h"
#include "clock/picture_box.h"
#include "modules/clock_timer.h"
#include "platform/text_painter.h"
#include "win32/form_instance.h"

namespace tikora {

// frmMain, the clock face and the program's start-up window. Every tick reads the clock and the
// zone once, has the core compose the frame from them, the mode and the skin, draws the frame into
// the off-screen picBuffer and has the window show it (WM_PAINT: one BitBlt). It then sleeps
// until the shown text changes, unless the clock jumps, the zone changes, or a menu command or a
// new skin changes the picture first.
class ClockWindow {
  public:
    ClockWindow();
    ~ClockWindow();
    ClockWindow(const ClockWindow&) = delete;
    ClockWindow& operator=(const ClockWindow&) = delete;

    void Form_Load();
    void tmrClock_Timer();
    // Opens the popup menu at the mouse pointer (screen pixels).
    void Form_Click(POINT mousePosition);

    // The local zone's offset from UTC in force now, in minutes: the tick's one reading of the
    // zone.
    void Get_TimeZone(std::int32_t& offset) const;

    // Copies one cell of the strip in picSkin to its place in picBuffer.
    void DrawGlyph(const GlyphCopy& copy);

    // The size of `text` in the font the clock draws its text in, in pixels.
    TextExtent MeasureText(const std::string& text);

    // The window's own background colour, a colour reference.
    void SetBackColor(std::uint32_t colorRef);

    // The window: its handle (null while it has none), its inner size in pixels, its place.
    HWND Handle() const { return window_; }
    int width() const;
    int height() const;
    void Move(int left, int top);
    void Resize(int width, int height);
    void Show();

    // A fresh native window for another host, hidden and top-level; the old one, if any, goes.
    void NewHostWindow();
    // The window as a child that another program's window can take in, or as a window of its own
    // floating above the others without taking the focus.
    void MakeChild();
    void MakeFloating();

    // What the window shows: its part of picBuffer, the back colour where picBuffer ends.
    PixelBuffer Frame();

    // Sees the window's messages before the window does; true when it has dealt with one.
    using MessageFilter = std::function<bool(UINT message, WPARAM wParam, LPARAM lParam)>;
    void SetMessageFilter(MessageFilter filter) { filter_ = std::move(filter); }
    // Called at each wake of the tick, before it draws.
    void SetWakeWatch(std::function<void()> watch) { wakeWatch_ = std::move(watch); }

    DrawingBox picBuffer;
    PictureHolder picSkin;
    PlacedBox picTime;
    ClockTimer tmrClock;

  private:
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    LRESULT OnMessage(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void OnPaint();
    void DestroyOwnWindow();
    // A tick as soon as the message loop is free again, after the handler at hand has done its
    // changes; one however often it is asked for meanwhile.
    void RedrawSoon();
    void DrawShownGlyphs(const ClockFrame& frame);
    void DrawShownText(const std::string& text);
    FontSpec BufferFont() const;

    HWND window_ = nullptr;
    std::uint32_t backColor_ = 0;
    TextPainter textPainter_;
    // What the window shows since its last full repaint; a tick that drew the same frame again
    // leaves the window alone.
    ShownFrame shownFrame_;
    bool redrawPending_ = false;
    MessageFilter filter_;
    std::function<void()> wakeWatch_;
    HWND dateTipWindow_ = nullptr;
    std::wstring dateTip_;  // the tip's text while it shows
};

extern FormInstance<ClockWindow> frmMain;

}  // namespace tikora
