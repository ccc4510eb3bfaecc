#include <QEvent>
#include <QTimer>
#include <QWindow>
#include <algorithm>

#include "clock/clock_text.h"
#include "dock/dock_layout.h"
#include "platform/services.h"
#include "qt/frmMain.h"
#include "qt/modMain.h"
#include "shared/modDefs.h"

namespace tikora {
namespace {

// The finder's operations; without a finder nothing is found and nothing moves.
WindowHandle FindTopLevel(std::string_view windowClass) {
    return Platform().windows ? Platform().windows->FindTopLevel(windowClass) : 0;
}

WindowHandle FindChild(WindowHandle parent, std::string_view windowClass) {
    return Platform().windows ? Platform().windows->FindChild(parent, windowClass) : 0;
}

void GetWindowRect(WindowHandle window, WindowRect& rect) {
    if (Platform().windows) {
        Platform().windows->GetWindowRect(window, rect);
    }
}

void SetParent(ClockWindow& clock, WindowHandle parent) {
    clock.winId();  // the native window must exist to be moved into another
    if (Platform().windows) {
        Platform().windows->SetParent(clock.winId(), parent);
    }
}

void CentreTimeBox(ClockWindow& clock) {
    const BoxOrigin origin =
        CentredBoxOrigin(clock.width(), clock.height(), clock.picTime.Width, clock.picTime.Height);
    clock.picTime.Left = origin.left;
    clock.picTime.Top = origin.top;
}

// What the clock draws at most: the skin's wider glyph block, or the wider of its two texts.
TextExtent ContentSize(ClockWindow& clock) {
    if (SkinSettings.DisplayImage) {
        const GlyphMetrics metrics{SkinSettings.CharWidth, SkinSettings.CharHeight,
                                   SkinSettings.SepWidth};
        return {WidestGlyphBlock(metrics), SkinSettings.CharHeight};
    }
    const TextExtent time = clock.MeasureText(TimeText(0, 0, SkinSettings.Separator));
    const TextExtent beat = clock.MeasureText(BeatText(0));
    return {std::max(time.width, beat.width), std::max(time.height, beat.height)};
}

// In a system tray the window has whatever size the tray grants: picBuffer covers it and the
// next frame is drawn centred in it at once.
void FitToWindow(ClockWindow& clock) {
    clock.picBuffer.SetSize(clock.width(), clock.height());
    CentreTimeBox(clock);
    if (clock.tmrClock.isActive()) {
        clock.tmrClock_Timer();
    }
}

class TraySizeFollower final : public QObject {
  public:
    explicit TraySizeFollower(ClockWindow& clock) : QObject(&clock), clock_(clock) {
        clock.installEventFilter(this);
    }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (watched == &clock_ && event->type() == QEvent::Resize) {
            FitToWindow(clock_);
        }
        return false;
    }

  private:
    ClockWindow& clock_;
};

// Asks the running tray, if any, to embed the clock at the size its skin needs.
void OfferToSystemTray(ClockWindow& clock) {
    SystemTray* tray = Platform().tray;
    const TrayHost host = tray ? tray->Host() : TrayHost{};
    if (host.owner == 0) {
        return;
    }
    if (clock.findChild<TraySizeFollower*>() == nullptr) {
        new TraySizeFollower(clock);  // owned by the clock
    }
    const TextExtent content = ContentSize(clock);
    const TraySize size = TrayRequestSize(content.width, content.height, host.iconHeight);
    // Through Qt, which rewrites WM_NORMAL_HINTS whenever it shows the window.
    clock.setMinimumSize(size.width, size.height);
    clock.resize(size.width, size.height);
    FitToWindow(clock);
    clock.winId();
    // Qt writes the base size into WM_NORMAL_HINTS only beside a size increment.
    clock.windowHandle()->setSizeIncrement(QSize(1, 1));
    clock.windowHandle()->setBaseSize(QSize(size.width, size.height));
    tray->RequestDock(clock.winId());
}

// Without the desktop's clock, a freedesktop system tray takes the clock: the running one once
// the start-up is over (the skin decides the size), and every tray that takes over later.
void DockIntoSystemTrays(ClockWindow& clock) {
    if (Platform().tray == nullptr) {
        return;
    }
    // As for any tray icon: no window manager may frame the window before a tray takes it. Set
    // while the window is hidden, because changing the flags hides a window.
    clock.setWindowFlags(clock.windowFlags() | Qt::BypassWindowManagerHint);
    Platform().tray->WatchForNewTray([] {
        if (ClockWindow* loaded = frmMain.Loaded()) {
            OfferToSystemTray(*loaded);
        }
    });
    QTimer::singleShot(0, &clock, [&clock] { OfferToSystemTray(clock); });
}

}  // namespace

void FindTrayClock() {
    DockState.TrayClockHwnd = FindTopLevel("Shell_TrayWnd");
    DockState.TrayClockHwnd = FindChild(DockState.TrayClockHwnd, "TrayNotifyWnd");
    DockState.TrayClockHwnd = FindChild(DockState.TrayClockHwnd, "TrayClockWClass");
}

void DockToTrayClock() {
    ClockWindow& clock = frmMain.Get();
    WindowRect rect;
    GetWindowRect(DockState.TrayClockHwnd, rect);
    const DockedSizes sizes =
        DockedSizesFor(rect, DockState.TwipsPerPixelX, DockState.TwipsPerPixelY);
    clock.move(0, 0);
    clock.resize(sizes.widthPixels, sizes.heightPixels);
    // The boxes take the window's size figures in twips as pixels.
    clock.picBuffer.SetSize(sizes.widthTwips, sizes.heightTwips);
    clock.picSkin.Width = sizes.widthTwips;
    clock.picSkin.Height = sizes.heightTwips;
    SetParent(clock, DockState.TrayClockHwnd);
    CentreTimeBox(clock);
    if (DockState.TrayClockHwnd == 0) {
        DockIntoSystemTrays(clock);
    }
}

}  // namespace tikora
