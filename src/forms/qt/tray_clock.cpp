// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QCursor>
#include <QDateTime>
#include <QHelpEvent>
#include <QLocale>
#include <QMouseEvent>
#include <QScreen>
#include <QTimer>
#include <QToolTip>
#include <QWindow>
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <optional>

#include "common/registry_settings_store.h"
#include "dock/dock_layout.h"
#include "dock/item_icon.h"
#include "dock/placement.h"
#include "modules/clock_face.h"
#include "modules/face_picture.h"
#include "modules/modMain.h"
#include "platform/services.h"
#include "qt/dbus_menu.h"
#include "qt/frmMain.h"
#include "qt/frmMenu.h"
#include "qt/item_picture.h"
#include "shared/modDefs.h"

namespace tikora {
namespace {

// How long a tray's slot must keep its size before it is judged: trays resize a new icon more
// than once (a first width, then their own square).
constexpr int kSlotSettleMilliseconds = 500;
// How long a tray may take to take the clock in after being asked.
constexpr int kTrayAnswerMilliseconds = 5000;
// How often one tray is asked before the clock gives up on it: a tray that has just taken the
// selection may drop a request that comes before its panel is laid out (tint2 on a restart).
constexpr int kOffersPerTray = 3;

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

// The size of the window the clock asks for or floats in: its content with a little room, at
// the given height when a tray says what height its icons have (in the screen's pixels).
TraySize WindowSizeFor(ClockWindow& clock, int trayIconHeight) {
    const TextExtent content = ContentSize(clock);
    const int height = static_cast<int>(trayIconHeight / clock.devicePixelRatioF());
    return TrayRequestSize(content.width, content.height, height);
}

// The clock's native window as it is now: Qt may make it anew when it shows it, and the widget's
// own winId() goes on naming the old one.
WindowHandle NativeWindow(ClockWindow& clock) {
    clock.winId();
    return clock.windowHandle()->winId();
}

// The window's place and size in the screen's pixels, as the X server has them.
WindowRect ScreenRect(ClockWindow& clock) {
    WindowRect rect;
    if (Platform().windows == nullptr ||
        !Platform().windows->GetWindowRect(NativeWindow(clock), rect)) {
        const double ratio = clock.devicePixelRatioF();
        const QRect logical = clock.geometry();
        const auto device = [ratio](int pixels) { return static_cast<int>(pixels * ratio); };
        rect = {device(logical.left()), device(logical.top()),
                device(logical.left() + logical.width()), device(logical.top() + logical.height())};
    }
    return rect;
}

// Gives the clock its window for a new host, hidden, with these flags. A window that a tray, a
// window manager or a taskbar has held is never used again: the host lets go of it in its own
// time and could still move it (into the root window, say) after the clock had gone elsewhere,
// where every host lets go of a destroyed window at once. It may be gone already, with its host.
// The start-up's window goes too: made with other flags, Qt would make it anew when it is first
// shown, behind the back of the watch on it and of the hints set on it.
void NewHostWindow(ClockWindow& clock, Qt::WindowFlags flags) {
    clock.hide();
    clock.setMinimumSize(0, 0);  // a floating clock's fixed size no longer holds
    clock.setMaximumSize(QWIDGETSIZE_MAX, QWIDGETSIZE_MAX);
    clock.winId();
    QWindow* window = clock.windowHandle();
    QWindow* host = window->parent();
    window->destroy();
    window->setParent(nullptr);
    if (host != nullptr && host->type() == Qt::ForeignWindow) {
        delete host;
    }
    clock.overrideWindowFlags(flags);
    window->setFlags(flags);
    window->create();
}

// On Wayland the compositor alone places windows, also those the program shows through Xwayland.
bool OnWayland() {
    return QGuiApplication::platformName().startsWith(QLatin1String("wayland")) ||
           !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY");
}

// On Qt's Wayland plugin the program cannot put a popup at the tray, so the tray's host draws the
// design's menu, read over the bus; elsewhere the clock opens its own at the point.
std::string HostDrawnMenu() {
    static const std::string path =
        QGuiApplication::platformName().startsWith(QLatin1String("wayland"))
            ? ExportDBusMenu(frmMenu->mnuMain.actions())
            : std::string();
    return path;
}

// The date and time as the clock's tip shows them.
std::string DateTipText() {
    const LocalTime now = Platform().time->Now();
    const QDateTime when(QDate(now.year, now.month, now.day),
                         QTime(now.hour, now.minute, now.second));
    return QLocale::system().toString(when, QLocale::LongFormat).toStdString();
}

WindowRect RectOf(const QRect& rect) {
    return {rect.left(), rect.top(), rect.left() + rect.width(), rect.top() + rect.height()};
}

// Follows the clock window from host to host when there is no taskbar clock to stay in: into the
// slot a system tray gives it, whatever its size (the face fits itself to it), out of it into a
// floating window only when the tray goes, and into a taskbar clock or a tray that appears.
class ClockPlacer final : public QObject {
  public:
    explicit ClockPlacer(ClockWindow& clock);
    ~ClockPlacer() override;
    ClockPlacer(const ClockPlacer&) = delete;
    ClockPlacer& operator=(const ClockPlacer&) = delete;

    // The clock's placer, made on first use.
    static ClockPlacer& Of(ClockWindow& clock);
    static ClockPlacer* Current() { return current_; }

    void PlaceWithoutTaskbarClock();
    void DockedInTaskbarClock();

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    enum class State { Unplaced, TaskbarClock, Offered, InTray, InItem, Floating };

    void Place(bool hostLost);
    HostFacts FactsNow(bool hostLost) const;
    void OfferToTray();
    void DockAsItem();
    void RenewItem(const std::string& text);
    void LeaveItem();
    void JudgeSlot();
    void Float(FloatReason reason);
    void FloatPlain();
    void ReportDocked();
    void FitFloat();
    void MoveFloat(std::optional<Point> at);
    void OnHostChange(HostChange change);
    void OnNewTray();
    void JudgeRelease();
    void OnNewWindows();
    void OnNeedsChanged();
    bool Drag(const QMouseEvent& event);
    void ShowDateTip(const QHelpEvent& event);
    void WatchOwnWindow();
    void WatchForNewWindows(bool watch);
    void WatchForNewTrays();
    void Report(const std::string& line);

    static ClockPlacer* current_;

    ClockWindow& clock_;
    const bool wayland_ = OnWayland();
    ItemRenewal itemRenewal_;
    std::string itemHost_;
    FacePainter itemPainter_;
    State state_ = State::Unplaced;
    TraySize needs_;  // the one-line face's size when the clock was last placed
    bool needsCheckQueued_ = false;
    WindowHandle offeredTo_ = 0;  // the tray asked last
    int offersUnanswered_ = 0;    // how often in a row it left the clock out
    WindowHandle ignoredBy_ = 0;  // a tray that did not take the clock in
    WindowHandle gaveOwner_ = 0;  // the tray that held the clock last, and the slot it gave
    TraySize gave_;
    std::string floatWhere_;
    QTimer settle_;
    QTimer answer_;
    QTimer released_;
    std::string lastReport_;
    bool reportWhenShown_ = false;
    FacePainter facePainter_;  // tells which face the slot gets
    bool pressed_ = false;
    bool dragging_ = false;
    QPoint pressedAt_;
    QPoint startedAt_;
};

ClockPlacer* ClockPlacer::current_ = nullptr;

ClockPlacer::ClockPlacer(ClockWindow& clock) : QObject(&clock), clock_(clock) {
    current_ = this;
    clock.installEventFilter(this);
    // The clock is never the active window, in a tray least of all; its tip shows all the same.
    clock.setAttribute(Qt::WA_AlwaysShowToolTips);
    settle_.setSingleShot(true);
    answer_.setSingleShot(true);
    settle_.setInterval(kSlotSettleMilliseconds);
    answer_.setInterval(kTrayAnswerMilliseconds);
    connect(&settle_, &QTimer::timeout, this, [this] { JudgeSlot(); });
    connect(&answer_, &QTimer::timeout, this, [this] { JudgeSlot(); });
    released_.setSingleShot(true);
    released_.setInterval(kSlotSettleMilliseconds);
    connect(&released_, &QTimer::timeout, this, [this] { JudgeRelease(); });
    if (QScreen* screen = QGuiApplication::primaryScreen()) {
        const auto keep = [this] {
            if (state_ == State::Floating) {
                MoveFloat(Point{clock_.x(), clock_.y()});
            }
        };
        connect(screen, &QScreen::geometryChanged, this, keep);
        connect(screen, &QScreen::availableGeometryChanged, this, keep);
    }
}

ClockPlacer::~ClockPlacer() {
    if (current_ == this) {
        current_ = nullptr;
    }
}

ClockPlacer& ClockPlacer::Of(ClockWindow& clock) {
    if (current_ == nullptr || &current_->clock_ != &clock) {
        new ClockPlacer(clock);  // owned by the clock
    }
    return *current_;
}

void ClockPlacer::Report(const std::string& line) {
    if (line != lastReport_) {
        lastReport_ = line;
        std::fprintf(stderr, "%s\n", line.c_str());
    }
}

void ClockPlacer::WatchOwnWindow() {
    if (Platform().windows) {
        Platform().windows->WatchHost(NativeWindow(clock_), [](HostChange change) {
            if (ClockPlacer* placer = Current()) {
                placer->OnHostChange(change);
            }
        });
    }
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
        if (ClockPlacer* placer = Current()) {
            placer->OnNewWindows();
        }
    });
}

void ClockPlacer::DockedInTaskbarClock() {
    state_ = State::TaskbarClock;
    settle_.stop();
    answer_.stop();
    released_.stop();
    WatchOwnWindow();
    WatchForNewWindows(false);
    Report(DockedReport(ClockHost::TaskbarClock, ScreenRect(clock_)));
}

void ClockPlacer::PlaceWithoutTaskbarClock() {
    WatchForNewTrays();
    Place(false);
}

void ClockPlacer::WatchForNewTrays() {
    const auto onNewTray = [] {
        if (ClockPlacer* placer = Current()) {
            placer->OnNewTray();
        }
    };
    if (Platform().tray) {
        Platform().tray->WatchForNewTray(onNewTray);
    }
    if (Platform().items) {
        Platform().items->WatchForHost(onNewTray);
    }
}

void ClockPlacer::OnNewTray() {
    // A tray that has just taken the selection is a new one, even where the X server gave its
    // window the id of one that went before (ids of a client that ended are given out again):
    // what the old tray did with the clock says nothing about it.
    ignoredBy_ = 0;
    gaveOwner_ = 0;
    offersUnanswered_ = 0;
    if (state_ != State::TaskbarClock && state_ != State::Unplaced) {
        Place(false);
    }
}

HostFacts ClockPlacer::FactsNow(bool hostLost) const {
    const TrayHost host = Platform().tray ? Platform().tray->Host() : TrayHost{};
    HostFacts facts;
    facts.trayRuns = host.owner != 0;
    if (facts.trayRuns && host.owner == gaveOwner_) {
        facts.trayGave = gave_;
    }
    facts.trayIgnoredOffer = facts.trayRuns && host.owner == ignoredBy_;
    facts.needs = needs_;
    facts.hostLost = hostLost;
    facts.statusNotifierHost = Platform().items && !Platform().items->Host().empty();
    return facts;
}

void ClockPlacer::Place(bool hostLost) {
    needs_ = NeededSize(clock_);
    const HostChoice choice = ChooseHost(FactsNow(hostLost));
    switch (choice.host) {
        case ClockHost::TraySlotWide:
        case ClockHost::TraySlotCompact:
            OfferToTray();
            break;
        case ClockHost::StatusNotifierItem:
            DockAsItem();
            break;
        case ClockHost::TaskbarClock:  // found by the start-up and by OnNewWindows
        case ClockHost::Floating:
            Float(choice.reason);
            break;
    }
}

void ClockPlacer::OfferToTray() {
    SystemTray* tray = Platform().tray;
    const TrayHost host = tray ? tray->Host() : TrayHost{};
    LeaveItem();
    released_.stop();
    state_ = State::Offered;
    if (host.owner != offeredTo_) {
        offersUnanswered_ = 0;
    }
    offeredTo_ = host.owner;
    WatchForNewWindows(false);
    // As for any tray icon: no window manager may frame the window before a tray takes it.
    NewHostWindow(clock_, Qt::FramelessWindowHint | Qt::Tool | Qt::BypassWindowManagerHint);
    const TraySize size = WindowSizeFor(clock_, host.iconHeight);
    // The size asked for goes in WM_NORMAL_HINTS as the base size, which Qt writes only beside
    // a size increment. No minimum: Qt would hold the window to it whatever the tray gives.
    clock_.setMinimumSize(0, 0);
    clock_.resize(size.width, size.height);
    clock_.windowHandle()->setSizeIncrement(QSize(1, 1));
    clock_.windowHandle()->setBaseSize(QSize(size.width, size.height));
    FitToWindow(clock_);
    // Shown for Qt, which then paints it when the tray's map exposes it; the tray maps it.
    clock_.show();
    WatchOwnWindow();
    if (tray == nullptr || !tray->RequestDock(NativeWindow(clock_))) {
        Float(FloatReason::HostGone);
        return;
    }
    answer_.start();
}

// The window stays hidden; the tray shows the clock's picture, made anew by the tick whenever
// the shown text changes.
void ClockPlacer::DockAsItem() {
    settle_.stop();
    answer_.stop();
    released_.stop();
    state_ = State::InItem;
    NewHostWindow(clock_, Qt::FramelessWindowHint | Qt::Tool);
    WatchForNewWindows(true);
    itemHost_ = Platform().items->Host();
    itemRenewal_.Forget();
    clock_.onTick = [this](const std::string& text) { RenewItem(text); };
    clock_.tmrClock_Timer();
}

void ClockPlacer::RenewItem(const std::string& text) {
    const ItemPictureKey shown{text,
                               SkinSettings.CurrentSkinPath + "/" + SkinSettings.CurrentSkinFile};
    if (state_ != State::InItem || !itemRenewal_.Due(shown)) {
        return;
    }
    const auto openMenu = [this](Point at) {
        if (wayland_) {
            // With no window of ours under the pointer, Qt on Wayland shows the menu as a window
            // of its own; of a fixed size, a tiling compositor floats it rather than filling the
            // screen with it.
            QMenu& menu = frmMenu->mnuMain;
            menu.setFixedSize(menu.sizeHint());
        }
        clock_.Form_Click(at.x == 0 && at.y == 0 ? QCursor::pos() : QPoint(at.x, at.y));
    };
    if (!Platform().items->Show(ItemPictures(clock_, itemPainter_),
                                {openMenu, openMenu, DateTipText, HostDrawnMenu()})) {
        Place(true);
        return;
    }
    Report(ItemDockedReport(itemHost_));
}

void ClockPlacer::LeaveItem() {
    if (state_ == State::InItem) {
        clock_.onTick = nullptr;
        Platform().items->Hide();
    }
}

void ClockPlacer::JudgeRelease() {
    if (state_ != State::InTray) {
        return;
    }
    // A tray that still runs and has let the clock go does not want it.
    const TrayHost host = Platform().tray ? Platform().tray->Host() : TrayHost{};
    if (host.owner != 0 && host.owner == offeredTo_) {
        ignoredBy_ = offeredTo_;
    }
    Place(true);
}

void ClockPlacer::JudgeSlot() {
    if (state_ == State::Offered) {
        if (++offersUnanswered_ < kOffersPerTray) {
            OfferToTray();
            return;
        }
        ignoredBy_ = offeredTo_;
        Place(false);
        return;
    }
    if (state_ != State::InTray) {
        return;
    }
    gaveOwner_ = offeredTo_;
    gave_ = {clock_.width(), clock_.height()};
    // A panel that hides (or has not laid out its tray yet) shows the slot later, maybe of
    // another size: said once it is seen.
    reportWhenShown_ = !clock_.windowHandle()->isExposed();
    if (!reportWhenShown_) {
        ReportDocked();
    }
}

// The slot as it is now: a tray that moves its icons or a panel that slides away says nothing
// new, only a slot of another size.
void ClockPlacer::ReportDocked() {
    const WindowRect where = ScreenRect(clock_);
    const FaceSlot slot{where.right - where.left, where.bottom - where.top,
                        clock_.devicePixelRatioF()};
    const bool oneLine = facePainter_.KindFor(LookOf(clock_), slot) == FaceKind::OneLine;
    Report(DockedReport(oneLine ? ClockHost::TraySlotWide : ClockHost::TraySlotCompact, where));
}

void ClockPlacer::Float(FloatReason reason) {
    settle_.stop();
    answer_.stop();
    released_.stop();
    LeaveItem();
    state_ = State::Floating;
    if (wayland_) {
        FloatPlain();
        return;
    }
    NewHostWindow(clock_, Qt::FramelessWindowHint | Qt::Tool | Qt::WindowStaysOnTopHint |
                              Qt::WindowDoesNotAcceptFocus);
    if (Platform().windows) {
        Platform().windows->SetFloatingHints(NativeWindow(clock_));
    }
    FitFloat();
    const RegistrySettingsStore store;
    MoveFloat(StoredFloatPosition(store));
    clock_.show();
    WatchOwnWindow();
    Report(FloatingReport(ScreenRect(clock_), floatWhere_, reason));
    WatchForNewWindows(true);
}

// A plain window, which compositors float rather than tile (see FitFloat); where it goes and
// whether it stays above other windows is theirs to say.
void ClockPlacer::FloatPlain() {
    NewHostWindow(clock_, Qt::FramelessWindowHint | Qt::Tool);
    FitFloat();
    clock_.show();
    Report(PlainWindowReport());
    WatchForNewWindows(true);
}

// At the skin's own size, like a tray icon with its room round it; of a fixed size, which a
// tiling window manager takes as a window to float, not to tile.
void ClockPlacer::FitFloat() {
    const TraySize size = WindowSizeFor(clock_, 0);
    clock_.setFixedSize(size.width, size.height);
    FitToWindow(clock_);
}

void ClockPlacer::MoveFloat(std::optional<Point> at) {
    if (wayland_) {
        return;
    }
    QScreen* screen = clock_.screen() ? clock_.screen() : QGuiApplication::primaryScreen();
    if (screen == nullptr) {
        return;
    }
    FloatFacts facts;
    facts.screen = RectOf(screen->geometry());
    facts.workArea = RectOf(screen->availableGeometry());
    if (Platform().windows) {
        // The X server's pixels; the window's position is set in Qt's.
        const double ratio = clock_.devicePixelRatioF();
        const auto logical = [ratio](std::int32_t pixels) {
            return static_cast<std::int32_t>(std::lround(pixels / ratio));
        };
        for (const WindowRect& panel : Platform().windows->Panels()) {
            facts.panels.push_back({logical(panel.left), logical(panel.top), logical(panel.right),
                                    logical(panel.bottom)});
        }
    }
    facts.stored = at;
    facts.size = {clock_.width(), clock_.height()};
    const FloatSpot spot = PlaceFloating(facts);
    floatWhere_ = spot.where;
    clock_.move(spot.left, spot.top);
}

void ClockPlacer::OnHostChange(HostChange change) {
    switch (change) {
        case HostChange::Embedded:
            if (state_ == State::Offered) {
                state_ = State::InTray;
                offersUnanswered_ = 0;
                answer_.stop();
                settle_.start();
            }
            break;
        case HostChange::Released:
            if (state_ == State::InTray) {
                // A tray that ends lets its icons go before it gives up the selection: judged
                // once it has had the time to end.
                settle_.stop();
                released_.start();
            }
            break;
        case HostChange::Destroyed:
            // Gone with the taskbar clock or the tray that held it.
            if (state_ == State::TaskbarClock) {
                DockState.TrayClockHwnd = 0;
                WatchForNewTrays();
            }
            Place(true);
            break;
    }
}

void ClockPlacer::OnNewWindows() {
    if (state_ != State::Floating && state_ != State::InItem) {
        return;
    }
    FindTrayClock();
    if (DockState.TrayClockHwnd != 0) {
        LeaveItem();
        NewHostWindow(clock_, Qt::FramelessWindowHint | Qt::Tool);
        clock_.setMinimumSize(0, 0);
        DockToTrayClock();
        clock_.show();
        if (clock_.tmrClock.isActive()) {
            clock_.tmrClock_Timer();  // the boxes were made anew: drawn at once
        }
    }
}

void ClockPlacer::OnNeedsChanged() {
    needsCheckQueued_ = false;
    const TraySize now = NeededSize(clock_);
    if (now.width == needs_.width && now.height == needs_.height) {
        return;
    }
    needs_ = now;
    if (state_ == State::InTray || state_ == State::Offered) {
        // The same tray is asked again: what it gave for the old drawing says nothing now.
        gaveOwner_ = 0;
        OfferToTray();
    } else if (state_ == State::Floating) {
        if (ChooseHost(FactsNow(false)).host != ClockHost::Floating) {
            OfferToTray();
        } else {
            FitFloat();
            MoveFloat(Point{clock_.x(), clock_.y()});
        }
    }
}

bool ClockPlacer::Drag(const QMouseEvent& event) {
    const QPoint at = event.globalPosition().toPoint();
    switch (event.type()) {
        case QEvent::MouseButtonPress:
            if (event.button() == Qt::LeftButton) {
                pressed_ = true;
                dragging_ = false;
                pressedAt_ = at;
                startedAt_ = clock_.pos();
            }
            return false;
        case QEvent::MouseMove:
            if (!pressed_ || !(event.buttons() & Qt::LeftButton)) {
                return false;
            }
            if (!dragging_ &&
                (at - pressedAt_).manhattanLength() < QApplication::startDragDistance()) {
                return true;
            }
            dragging_ = true;
            if (state_ == State::Floating) {
                clock_.move(startedAt_ + (at - pressedAt_));
            }
            return true;
        case QEvent::MouseButtonRelease: {
            if (event.button() != Qt::LeftButton) {
                return false;
            }
            pressed_ = false;
            if (!std::exchange(dragging_, false)) {
                return false;  // a click: the clock opens its menu
            }
            if (state_ != State::Floating) {
                return true;  // a drag in a host that holds the clock in place: no menu
            }
            MoveFloat(Point{clock_.x(), clock_.y()});
            // Kept at once: the place is the user's, and a session's end may never reach Exit.
            StoreSettings(FloatPositionValues(clock_.x(), clock_.y()));
            return true;
        }
        default:
            return false;
    }
}

void ClockPlacer::ShowDateTip(const QHelpEvent& event) {
    QToolTip::showText(event.globalPos(), QString::fromStdString(DateTipText()), &clock_);
}

bool ClockPlacer::eventFilter(QObject* watched, QEvent* event) {
    if (watched != &clock_) {
        return false;
    }
    switch (event->type()) {
        case QEvent::Resize:
            if (state_ == State::Floating && clock_.isVisible()) {
                // A window manager's own size (i3 floats nothing smaller than 75 x 50): the face
                // goes in its middle, and the window back onto the screen.
                FitToWindow(clock_);
                MoveFloat(Point{clock_.x(), clock_.y()});
            }
            if (state_ == State::Offered || state_ == State::InTray) {
                FitToWindow(clock_);  // the tray's slot
                if (state_ == State::InTray) {
                    settle_.start();
                }
            }
            break;
        case QEvent::Paint:
            if (std::exchange(reportWhenShown_, false) && state_ == State::InTray) {
                settle_.start();
            }
            // A new skin or the other mode may need another size: seen when it is first drawn.
            if (!needsCheckQueued_ && state_ != State::TaskbarClock && state_ != State::Unplaced) {
                const TraySize now = NeededSize(clock_);
                if (now.width != needs_.width || now.height != needs_.height) {
                    needsCheckQueued_ = true;
                    QTimer::singleShot(0, this, [this] { OnNeedsChanged(); });
                }
            }
            break;
        case QEvent::ToolTip:
            ShowDateTip(*static_cast<QHelpEvent*>(event));
            return true;
        case QEvent::MouseButtonPress:
        case QEvent::MouseMove:
        case QEvent::MouseButtonRelease:
            return !wayland_ && Drag(*static_cast<QMouseEvent*>(event));
        default:
            break;
    }
    return false;
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
    ClockPlacer& placer = ClockPlacer::Of(clock);
    if (DockState.TrayClockHwnd == 0) {
        // Once the start-up is over: the skin decides the size.
        QTimer::singleShot(0, &placer, [&placer] { placer.PlaceWithoutTaskbarClock(); });
    } else {
        placer.DockedInTaskbarClock();
    }
}

}  // namespace tikora
