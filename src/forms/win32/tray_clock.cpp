// SPDX-License-Identifier: MIT
#include <windows.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <optional>
#include <utility>

#include "common/registry_settings_store.h"
#include "dock/dock_layout.h"
#include "dock/placement.h"
#include "modules/clock_face.h"
#include "modules/modMain.h"
#include "platform/services.h"
#include "shared/modDefs.h"
#include "win32/frmMain.h"

namespace tikora {
namespace {

// Posted to the clock's window: place it once the start-up is over (the skin decides the size),
// and look again at the room it needs after a frame that may need other room.
constexpr UINT kPlaceMessage = WM_APP + 2;
constexpr UINT kNeedsMessage = WM_APP + 3;

// The finder's operations; without a finder nothing is found and nothing moves.
WindowHandle FindTopLevel(std::string_view windowClass) {
    return Platform().windows ? Platform().windows->FindTopLevel(windowClass) : 0;
}

WindowHandle FindChild(WindowHandle parent, std::string_view windowClass) {
    return Platform().windows ? Platform().windows->FindChild(parent, windowClass) : 0;
}

bool GetWindowRect(WindowHandle window, WindowRect& rect) {
    return Platform().windows && Platform().windows->GetWindowRect(window, rect);
}

WindowHandle HandleOf(const ClockWindow& clock) {
    return reinterpret_cast<WindowHandle>(clock.Handle());
}

void SetParent(ClockWindow& clock, WindowHandle parent) {
    if (parent != 0) {
        clock.MakeChild();
    }
    if (Platform().windows) {
        Platform().windows->SetParent(HandleOf(clock), parent);
    }
}

WindowRect RectOf(const RECT& rect) {
    return {rect.left, rect.top, rect.right, rect.bottom};
}

bool Shown(WindowHandle window, WindowRect& rect) {
    return window != 0 && IsWindowVisible(reinterpret_cast<HWND>(window)) &&
           GetWindowRect(window, rect) && rect.right > rect.left && rect.bottom > rect.top;
}

// Where a taskbar without a clock window shows its clock: at the far end of its notification
// area, or of the taskbar where that has none. The slot handed to the placement is that end's
// last pixel column (last row down a side), so that the clock goes over it, not beside the area.
std::optional<WindowRect> TaskbarClockEnd() {
    const WindowHandle taskbar = FindTopLevel("Shell_TrayWnd");
    WindowRect area;
    if (!Shown(FindChild(taskbar, "TrayNotifyWnd"), area) && !Shown(taskbar, area)) {
        return std::nullopt;
    }
    if (area.right - area.left >= area.bottom - area.top) {
        return WindowRect{area.right - 1, area.top, area.right, area.bottom};
    }
    return WindowRect{area.left, area.bottom - 1, area.right, area.bottom};
}

// Follows the clock window from host to host: in the taskbar's clock window while there is one;
// floating over the taskbar where there is none (Windows 11's taskbar) or once it went (Explorer
// restarted), until a taskbar with a clock window appears. Windows has no tray that embeds
// windows (XEmbed), so the floating window is the only other host.
class ClockPlacer {
  public:
    explicit ClockPlacer(ClockWindow& clock);
    ~ClockPlacer();
    ClockPlacer(const ClockPlacer&) = delete;
    ClockPlacer& operator=(const ClockPlacer&) = delete;

    // The clock's placer, made on first use and owned by the clock's message filter.
    static ClockPlacer& Of(ClockWindow& clock);

    void PlaceWithoutTaskbarClock();
    void DockedInTaskbarClock();

  private:
    enum class State { Unplaced, TaskbarClock, Floating };

    bool Filter(UINT message, WPARAM wParam);
    void Float(FloatReason reason);
    void FitFloat();
    void MoveFloat(std::optional<Point> at);
    Point Position() const;
    void OnHostChange(HostChange change);
    void OnNewWindows();
    void OnNeedsChanged();
    bool Drag(UINT message);
    void WatchOwnWindow(bool watch);
    void WatchForNewWindows(bool watch);
    void Report(const std::string& line);

    static ClockPlacer* current_;

    ClockWindow& clock_;
    State state_ = State::Unplaced;
    TraySize needs_;  // the drawing's size when the clock was last placed
    bool needsCheckQueued_ = false;
    std::string floatWhere_;
    std::string lastReport_;
    bool pressed_ = false;
    bool dragging_ = false;
    POINT pressedAt_{};
    Point startedAt_;
};

ClockPlacer* ClockPlacer::current_ = nullptr;

ClockPlacer::ClockPlacer(ClockWindow& clock) : clock_(clock) {
    current_ = this;
}

ClockPlacer::~ClockPlacer() {
    WatchOwnWindow(false);
    WatchForNewWindows(false);
    if (current_ == this) {
        current_ = nullptr;
    }
}

ClockPlacer& ClockPlacer::Of(ClockWindow& clock) {
    if (current_ == nullptr || &current_->clock_ != &clock) {
        auto placer = std::make_shared<ClockPlacer>(clock);
        clock.SetMessageFilter([placer](UINT message, WPARAM wParam, LPARAM) {
            return placer->Filter(message, wParam);
        });
    }
    return *current_;
}

void ClockPlacer::Report(const std::string& line) {
    if (line != lastReport_) {
        lastReport_ = line;
        std::fprintf(stderr, "%s\n", line.c_str());
        std::fflush(stderr);
    }
}

void ClockPlacer::WatchOwnWindow(bool watch) {
    if (Platform().windows == nullptr) {
        return;
    }
    if (!watch) {
        Platform().windows->WatchHost(HandleOf(clock_), {});
        return;
    }
    Platform().windows->WatchHost(HandleOf(clock_), [](HostChange change) {
        if (current_ != nullptr) {
            current_->OnHostChange(change);
        }
    });
}

void ClockPlacer::WatchForNewWindows(bool watch) {
    if (Platform().windows == nullptr) {
        return;
    }
    if (!watch) {
        Platform().windows->WatchForNewWindows({});
        return;
    }
    Platform().windows->WatchForNewWindows([] {
        if (current_ != nullptr) {
            current_->OnNewWindows();
        }
    });
}

void ClockPlacer::DockedInTaskbarClock() {
    state_ = State::TaskbarClock;
    WatchOwnWindow(true);
    // Explorer's "TaskbarCreated" matters only to a clock that has lost its taskbar.
    WatchForNewWindows(false);
    RECT rect{};
    ::GetWindowRect(clock_.Handle(), &rect);
    Report(DockedReport(ClockHost::TaskbarClock, RectOf(rect)));
}

void ClockPlacer::PlaceWithoutTaskbarClock() {
    PostMessageW(clock_.Handle(), kPlaceMessage, 0, 0);
}

void ClockPlacer::Float(FloatReason reason) {
    if (state_ != State::Unplaced || clock_.Handle() == nullptr) {
        WatchOwnWindow(false);
        clock_.NewHostWindow();  // the old window went with its host
    }
    state_ = State::Floating;
    needs_ = NeededSize(clock_);
    clock_.MakeFloating();
    if (Platform().windows) {
        Platform().windows->SetFloatingHints(HandleOf(clock_));
    }
    FitFloat();
    const RegistrySettingsStore store;
    MoveFloat(StoredFloatPosition(store));
    clock_.Show();
    RECT rect{};
    ::GetWindowRect(clock_.Handle(), &rect);
    Report(FloatingReport(RectOf(rect), floatWhere_, reason));
    WatchForNewWindows(true);
}

// At the skin's own size, like a tray icon with its room round it.
void ClockPlacer::FitFloat() {
    const TextExtent content = ContentSize(clock_);
    const TraySize size = TrayRequestSize(content.width, content.height, 0);
    clock_.Resize(size.width, size.height);
    FitToWindow(clock_);
}

Point ClockPlacer::Position() const {
    RECT rect{};
    ::GetWindowRect(clock_.Handle(), &rect);
    return {rect.left, rect.top};
}

void ClockPlacer::MoveFloat(std::optional<Point> at) {
    MONITORINFO monitor{};
    monitor.cbSize = sizeof(monitor);
    if (!GetMonitorInfoW(MonitorFromWindow(clock_.Handle(), MONITOR_DEFAULTTOPRIMARY), &monitor)) {
        return;
    }
    FloatFacts facts;
    facts.screen = RectOf(monitor.rcMonitor);
    facts.workArea = RectOf(monitor.rcWork);
    facts.traySlot = TaskbarClockEnd();
    facts.overPanel = true;
    facts.stored = at;
    facts.size = {clock_.width(), clock_.height()};
    const FloatSpot spot = PlaceFloating(facts);
    floatWhere_ = spot.where;
    clock_.Move(spot.left, spot.top);
}

void ClockPlacer::OnHostChange(HostChange change) {
    // Gone with the taskbar's clock window: Explorer ended or restarted.
    if (change == HostChange::Destroyed && state_ == State::TaskbarClock) {
        DockState.TrayClockHwnd = 0;
        Float(FloatReason::HostGone);
    }
}

void ClockPlacer::OnNewWindows() {
    if (state_ != State::Floating) {
        return;
    }
    FindTrayClock();
    if (DockState.TrayClockHwnd == 0) {
        // A new taskbar still without a clock window: over its clock, unless the user chose a
        // place.
        const RegistrySettingsStore store;
        MoveFloat(StoredFloatPosition(store));
        return;
    }
    WatchForNewWindows(false);
    clock_.NewHostWindow();
    DockToTrayClock();
    clock_.Show();
    if (clock_.tmrClock.isActive()) {
        clock_.tmrClock_Timer();  // the boxes were made anew: drawn at once
    }
}

void ClockPlacer::OnNeedsChanged() {
    needsCheckQueued_ = false;
    const TraySize now = NeededSize(clock_);
    if (state_ != State::Floating || (now.width == needs_.width && now.height == needs_.height)) {
        return;
    }
    needs_ = now;
    FitFloat();
    MoveFloat(Position());
}

bool ClockPlacer::Drag(UINT message) {
    POINT at{};
    GetCursorPos(&at);
    switch (message) {
        case WM_LBUTTONDOWN:
            pressed_ = true;
            dragging_ = false;
            pressedAt_ = at;
            startedAt_ = Position();
            SetCapture(clock_.Handle());
            return true;
        case WM_MOUSEMOVE:
            if (!pressed_) {
                return false;
            }
            if (!dragging_ && std::abs(at.x - pressedAt_.x) < GetSystemMetrics(SM_CXDRAG) &&
                std::abs(at.y - pressedAt_.y) < GetSystemMetrics(SM_CYDRAG)) {
                return true;
            }
            dragging_ = true;
            clock_.Move(startedAt_.x + at.x - pressedAt_.x, startedAt_.y + at.y - pressedAt_.y);
            return true;
        case WM_LBUTTONUP: {
            pressed_ = false;
            ReleaseCapture();
            if (!std::exchange(dragging_, false)) {
                return false;  // a click: the clock opens its menu
            }
            MoveFloat(Position());
            // Kept at once: the place is the user's, and a session's end may never reach Exit.
            RegistrySettingsStore store;
            const Point kept = Position();
            static_cast<void>(store.Write(FloatPositionValues(kept.x, kept.y)));
            return true;
        }
        default:
            return false;
    }
}

bool ClockPlacer::Filter(UINT message, WPARAM wParam) {
    switch (message) {
        case kPlaceMessage:
            if (state_ == State::Unplaced) {
                Float(FloatReason::NoHost);
            }
            return true;
        case kNeedsMessage:
            OnNeedsChanged();
            return true;
        case WM_PAINT:
            // A new skin or the other mode may need another size: seen when it is first drawn.
            if (state_ == State::Floating && !needsCheckQueued_) {
                const TraySize now = NeededSize(clock_);
                if (now.width != needs_.width || now.height != needs_.height) {
                    needsCheckQueued_ = true;
                    PostMessageW(clock_.Handle(), kNeedsMessage, 0, 0);
                }
            }
            return false;
        case WM_DISPLAYCHANGE:
        case WM_SETTINGCHANGE:
            // A new screen size or work area: the floating clock stays whole on the screen.
            if (state_ == State::Floating &&
                (message == WM_DISPLAYCHANGE || wParam == SPI_SETWORKAREA)) {
                MoveFloat(Position());
            }
            return false;
        case WM_LBUTTONDOWN:
        case WM_MOUSEMOVE:
        case WM_LBUTTONUP:
            return state_ == State::Floating && Drag(message);
        default:
            return false;
    }
}

}  // namespace

void FindTrayClock() {
    // Window handles fit in 32 bits on 64-bit Windows too, so that 32-bit programs can share them.
    DockState.TrayClockHwnd = static_cast<std::uint32_t>(FindTopLevel("Shell_TrayWnd"));
    DockState.TrayClockHwnd =
        static_cast<std::uint32_t>(FindChild(DockState.TrayClockHwnd, "TrayNotifyWnd"));
    DockState.TrayClockHwnd =
        static_cast<std::uint32_t>(FindChild(DockState.TrayClockHwnd, "TrayClockWClass"));
}

void DockToTrayClock() {
    ClockWindow& clock = frmMain.Get();
    WindowRect rect;
    GetWindowRect(DockState.TrayClockHwnd, rect);
    const DockedSizes sizes =
        DockedSizesFor(rect, DockState.TwipsPerPixelX, DockState.TwipsPerPixelY);
    clock.Move(0, 0);
    clock.Resize(sizes.widthPixels, sizes.heightPixels);
    // The boxes take the window's size figures in twips as pixels.
    clock.picBuffer.SetSize(sizes.widthTwips, sizes.heightTwips);
    clock.picSkin.Width = sizes.widthTwips;
    clock.picSkin.Height = sizes.heightTwips;
    SetParent(clock, DockState.TrayClockHwnd);
    CentreTimeBox(clock);
    ClockPlacer& placer = ClockPlacer::Of(clock);
    if (DockState.TrayClockHwnd == 0) {
        placer.PlaceWithoutTaskbarClock();
    } else {
        placer.DockedInTaskbarClock();
    }
}

}  // namespace tikora
