// SPDX-License-Identifier: MIT
// The clock on a private X server (Xvfb) under openbox or i3, in real panels' trays and the
// fixture taskbar, read from screenshots: it must draw there what the preview draws for its place.

#include <fcntl.h>
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QColorSpace>
#include <QImage>
#include <QString>
#include <QTime>
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <functional>
#include <memory>
#include <optional>
#include <thread>
#include <utility>
#include <vector>

#include "support/child_process.h"
#include "support/temp_folder.h"
#include "x11/xcb_helpers.h"

namespace tikora::testing {
namespace {

using namespace std::chrono_literals;

// Small, as the panels' own defaults are made for bigger screens: they crowd their items, which
// is where the clock used to sit over one.
const QRect kScreen(0, 0, 640, 240);
constexpr char kOpenbox[] = "openbox";

// A desktop to start: a window manager, a panel (none: ""), and the clock at a scale.
struct Desktop {
    const char* name;
    const char* program;          // skipped when it is not installed
    const char* command;          // the panel, or "" for none
    const char* panelClass = "";  // part of the WM_CLASS of the panel's window that holds the tray
    int scale = 1;                // QT_SCALE_FACTOR of the clock; the panel is sized to match
    const char* windowManager = "openbox";  // its command line
    bool autohide = false;  // the panel hides at the bottom edge until the pointer comes
    bool restart = false;   // the panel is ended and started again
};

class Panels : public ::testing::TestWithParam<Desktop> {
  protected:
    void SetUp() override {
        for (const char* program : {"Xvfb", "openbox", "import", "xdotool"}) {
            if (!Installed(program)) {
                GTEST_SKIP() << program << " is not installed (scripts/install-deps)";
            }
        }
        // -displayfd: Xvfb takes the first free display and writes its number once it is ready.
        xvfb_ = std::make_unique<ChildProcess>(
            "Xvfb -displayfd 1 -screen 0 " + std::to_string(kScreen.width()) + "x" +
            std::to_string(kScreen.height()) + "x24 -nolisten tcp -noreset 2>" + home_ / "xvfb");
        display_ = ":" + xvfb_->ReadLine().value_or("none");
        x_ = xcb_connect(display_.c_str(), nullptr);  // a connection in error when there is none
        ASSERT_EQ(xcb_connection_has_error(x_), 0) << "Xvfb did not start";
        root_ = xcb_setup_roots_iterator(xcb_get_setup(x_)).data->root;
        std::filesystem::create_directories(TIKORA_SCREENSHOTS);
    }
    void TearDown() override { xcb_disconnect(x_); }

    void StartWindowManager(const std::string& command) {
        windowManager_ = Start(command, "wm.log");
        ASSERT_TRUE(WaitFor([&] {
            return !Text(root_, xcb::Atom(x_, "_NET_SUPPORTING_WM_CHECK")).empty();
        })) << ReadFile(home_ / "wm.log");
    }

    // `command` with the test's display and a private home for settings, runtime and panel files.
    std::string Env(const std::string& command, const std::string& log) const {
        const std::string home = home_.Path().string();
        return "env DISPLAY=" + display_ + " HOME=" + home + " XDG_CONFIG_HOME=" + home +
               "/.config XDG_CACHE_HOME=" + home + "/.cache XDG_DATA_HOME=" + home +
               "/.local/share XDG_RUNTIME_DIR=" + home + " QT_QPA_PLATFORM=xcb " + command + " 2>" +
               home + "/" + log;
    }
    std::unique_ptr<ChildProcess> Start(const std::string& command, const std::string& log) const {
        return std::make_unique<ChildProcess>(Env(command, log));
    }
    bool Shell(const std::string& command) const {
        return std::system(("DISPLAY=" + display_ + " " + command).c_str()) == 0;
    }

    std::string Text(xcb_window_t window, xcb_atom_t property) {
        return xcb::ReadProperty(x_, window, property).value_or("");
    }

    xcb_window_t TrayOwner() {
        const xcb::Reply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
            x_, xcb_get_selection_owner(x_, xcb::Atom(x_, "_NET_SYSTEM_TRAY_S0")), nullptr));
        return reply ? reply->owner : xcb_window_t{XCB_WINDOW_NONE};
    }

    // The panel, once its tray runs; null when it never does.
    std::unique_ptr<ChildProcess> StartPanel(const Desktop& desktop) {
        const xcb_window_t before = TrayOwner();
        auto panel = Start(desktop.command, "panel.log");
        const bool ready =
            WaitFor([&] { return TrayOwner() != XCB_WINDOW_NONE && TrayOwner() != before; });
        return ready ? std::move(panel) : nullptr;
    }

    void StartClock(int scale = 1) {
        clock_ =
            Start("QT_SCALE_FACTOR=" + std::to_string(scale) + " " TIKORA_BINARY, "tikora.log");
    }
    std::string ClockLog() const { return ReadFile(home_ / "tikora.log"); }
    // Waits until the clock has said `what` on its standard error `count` times.
    bool WaitForReport(const std::string& what, int count = 1) {
        return WaitFor([&] {
            const std::string log = ClockLog();
            std::size_t at = log.find(what);
            for (int found = 1; found < count && at != std::string::npos; ++found) {
                at = log.find(what, at + 1);
            }
            return at != std::string::npos;
        });
    }

    // The first shown window below `window` for which `is` holds.
    xcb_window_t FindShown(xcb_window_t window, const std::function<bool(xcb_window_t)>& is) {
        const xcb::Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(x_, xcb_get_window_attributes(x_, window), nullptr));
        if (window != root_ && attributes && attributes->map_state == XCB_MAP_STATE_VIEWABLE &&
            is(window)) {
            return window;
        }
        for (const xcb_window_t child : xcb::Children(x_, window)) {
            if (const xcb_window_t found = FindShown(child, is); found != XCB_WINDOW_NONE) {
                return found;
            }
        }
        return XCB_WINDOW_NONE;
    }
    xcb_window_t Clock() {
        return FindShown(
            root_, [&](xcb_window_t w) { return Text(w, XCB_ATOM_WM_NAME) == ":: Tikora ::"; });
    }

    // In root coordinates.
    std::optional<QRect> Geometry(xcb_window_t window) {
        const xcb::Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(x_, xcb_get_geometry(x_, window), nullptr));
        const xcb::Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
            x_, xcb_translate_coordinates(x_, window, root_, 0, 0), nullptr));
        if (!geometry || !origin) {
            return std::nullopt;
        }
        return QRect(origin->dst_x, origin->dst_y, geometry->width, geometry->height);
    }

    static std::string LocalHourMinute() {
        return QTime::currentTime().toString(QStringLiteral("HH:mm")).toStdString();
    }

    // The clock's picture on a screenshot, kept as `name`.png, is the preview's for a window of
    // the clock's size at the clock's scale: in a tray's slot, a taskbar's clock or floating.
    bool ShowsPicture(const std::string& name, int scale = 1) {
        return WaitFor([&] {
            const std::optional<QRect> c = Geometry(Clock());
            const std::string minute = LocalHourMinute();
            const std::string shot = std::string(TIKORA_SCREENSHOTS "/") + name + ".png";
            const std::string expected = home_ / "expected.png";
            if (!c || !Shell("import -window root " + shot) ||
                !Shell("QT_QPA_PLATFORM=offscreen QT_SCALE_FACTOR=" + std::to_string(scale) +
                       " " TIKORA_PREVIEW " " TIKORA_SKIN " --size " +
                       std::to_string(c->width() / scale) + "x" +
                       std::to_string(c->height() / scale) + " --at " + minute + ":00 -o " +
                       expected + " >/dev/null 2>&1") ||
                LocalHourMinute() != minute) {
                return false;
            }
            QImage screen(QString::fromStdString(shot));
            screen.setColorSpace(QColorSpace());  // the screenshot's file names one; no matter
            return screen.convertToFormat(QImage::Format_RGB32).copy(*c) ==
                   QImage(QString::fromStdString(expected)).convertToFormat(QImage::Format_RGB32);
        });
    }

    QRect WorkArea() {
        const std::string area = Text(root_, xcb::Atom(x_, "_NET_WORKAREA"));
        std::uint32_t v[4] = {};
        area.copy(reinterpret_cast<char*>(v), std::min(area.size(), sizeof v));
        return QRect(static_cast<int>(v[0]), static_cast<int>(v[1]), static_cast<int>(v[2]),
                     static_cast<int>(v[3]));
    }

    static int Lines(const std::string& text) {
        return static_cast<int>(std::count(text.begin(), text.end(), '\n'));
    }

    std::vector<xcb_window_t> Ancestors(xcb_window_t window) {
        std::vector<xcb_window_t> ancestors;
        for (;;) {
            const xcb::Reply<xcb_query_tree_reply_t> tree(
                xcb_query_tree_reply(x_, xcb_query_tree(x_, window), nullptr));
            if (!tree || tree->parent == root_ || tree->parent == XCB_WINDOW_NONE) {
                return ancestors;
            }
            window = tree->parent;
            ancestors.push_back(window);
        }
    }

    // Inside another program's window (a tray's, a taskbar's), not only a window manager's frame;
    // with `program`, inside a window whose WM_CLASS names it.
    bool Inside(xcb_window_t window, const std::string& program = "") {
        for (const xcb_window_t ancestor : Ancestors(window)) {
            const QString names = QString::fromStdString(Text(ancestor, XCB_ATOM_WM_CLASS));
            if (!names.isEmpty() &&
                names.contains(QString::fromStdString(program), Qt::CaseInsensitive)) {
                return true;
            }
        }
        return false;
    }

    // The deepest window at a point of the screen: the one a click there goes to.
    xcb_window_t WindowAt(QPoint point) {
        xcb_window_t at = root_;
        for (;;) {
            const xcb::Reply<xcb_translate_coordinates_reply_t> reply(
                xcb_translate_coordinates_reply(
                    x_,
                    xcb_translate_coordinates(x_, root_, at, static_cast<std::int16_t>(point.x()),
                                              static_cast<std::int16_t>(point.y())),
                    nullptr));
            if (!reply || reply->child == XCB_WINDOW_NONE) {
                return at;
            }
            at = reply->child;
        }
    }

    // Every place of the panel outside the clock's slot, every few pixels along its middle, takes
    // its own clicks: the pager's buttons, the task buttons and the applets beside the tray.
    void ExpectPanelKeepsItsClicks() {
        const xcb_window_t clock = Clock();
        const std::vector<xcb_window_t> up = Ancestors(clock);
        ASSERT_FALSE(up.empty());
        const QRect panel = Geometry(up.back()).value_or(QRect()) & kScreen;
        const QRect slot = Geometry(clock).value_or(QRect());
        const bool across = panel.width() >= panel.height();
        for (int along = 0; along < (across ? panel.width() : panel.height()); along += 3) {
            const QPoint point = across ? QPoint(panel.left() + along, slot.center().y())
                                        : QPoint(slot.center().x(), panel.top() + along);
            if (!slot.contains(point)) {
                EXPECT_NE(WindowAt(point), clock) << point.x() << "," << point.y();
            }
        }
    }

    // The clock's popup menu, once shown: a window of the clock's program that no window manager
    // handles.
    xcb_window_t Menu() {
        return FindShown(root_, [&](xcb_window_t w) {
            const xcb::Reply<xcb_get_window_attributes_reply_t> attributes(
                xcb_get_window_attributes_reply(x_, xcb_get_window_attributes(x_, w), nullptr));
            return attributes->override_redirect &&
                   Text(w, XCB_ATOM_WM_CLASS).starts_with("tikora") &&
                   Text(w, XCB_ATOM_WM_NAME) != ":: Tikora ::";
        });
    }

    // The host goes: the clock floats, whole. It comes back (`restart`): the clock docks again.
    void ExpectFloatsThenDocksAgain(const std::string& name, const std::function<void()>& restart,
                                    const std::string& docked) {
        ASSERT_TRUE(WaitForReport("went away")) << ClockLog();
        ASSERT_TRUE(ShowsPicture(name + "-gone")) << ClockLog();
        EXPECT_FALSE(Inside(Clock()));
        restart();
        ASSERT_TRUE(WaitForReport(docked, 2)) << ClockLog();
        EXPECT_TRUE(ShowsPicture(name + "-back")) << ClockLog();
        EXPECT_TRUE(Inside(Clock()));
        EXPECT_EQ(Lines(ClockLog()), 3) << "docked, floating, docked, once each\n" << ClockLog();
    }

    // The menu's Internet Time: a click on the clock, then its key. The menu is a window of the
    // clock's program that no window manager handles.
    void SwitchInternetTime() {
        const QPoint at = Geometry(Clock()).value_or(QRect()).center();
        ASSERT_TRUE(Shell("xdotool mousemove " + std::to_string(at.x()) + " " +
                          std::to_string(at.y()) + " click 1"));
        EXPECT_TRUE(WaitFor([&] { return Menu() != XCB_WINDOW_NONE; })) << "the menu did not open";
        ASSERT_TRUE(Shell("xdotool key i"));
    }

    TempFolder home_;
    std::unique_ptr<ChildProcess> xvfb_;
    std::string display_;
    xcb_connection_t* x_ = nullptr;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    std::unique_ptr<ChildProcess> windowManager_;
    std::unique_ptr<ChildProcess> clock_;
};

// In every panel's tray the clock docks in the slot it is given and draws there what the preview
// draws for a slot of that size; every other place on the panel takes its own clicks. It hides and
// shows with a panel that hides, and comes back into the tray of a panel that restarts. Without a
// tray it floats. One line says where it went, and only one.
TEST_P(Panels, DocksInTheTraysSlotAndLeavesThePanelItsClicks) {
    const Desktop desktop = GetParam();
    if (!Installed(desktop.program)) {
        GTEST_SKIP() << desktop.program << " is not installed (scripts/install-deps)";
    }
    StartWindowManager(desktop.windowManager);
    std::unique_ptr<ChildProcess> panel;
    if (*desktop.command != '\0') {
        panel = StartPanel(desktop);
        ASSERT_NE(panel, nullptr) << "no tray\n" << ReadFile(home_ / "panel.log");
    } else if (*desktop.panelClass != '\0') {
        ASSERT_TRUE(WaitFor([&] { return TrayOwner() != XCB_WINDOW_NONE; })) << "no tray";
    }
    StartClock(desktop.scale);
    if (*desktop.panelClass == '\0') {
        // No tray: a small window in the work area (the screen, where i3 names none).
        ASSERT_TRUE(WaitForReport("at the bottom right of the work area")) << ClockLog();
        ASSERT_TRUE(ShowsPicture(desktop.name)) << ClockLog();
        const QRect where = Geometry(Clock()).value_or(QRect());
        EXPECT_TRUE((WorkArea().isEmpty() ? kScreen : WorkArea()).contains(where));
        EXPECT_LT(where.width() * where.height(), 100 * 60);
        EXPECT_EQ(Lines(ClockLog()), 1) << ClockLog();
        return;
    }
    // A hiding panel shows itself, and the clock with it, when the pointer meets the edge.
    const std::string edge = "xdotool mousemove 300 " + std::to_string(kScreen.height() - 1);
    ASSERT_TRUE(!desktop.autohide || Shell(edge));
    const std::string docked = "tikora: docked in the system tray at ";
    ASSERT_TRUE(WaitForReport(docked)) << ClockLog();
    ASSERT_TRUE(ShowsPicture(desktop.name, desktop.scale)) << ClockLog();
    EXPECT_TRUE(Inside(Clock(), desktop.panelClass));
    ExpectPanelKeepsItsClicks();
    if (desktop.autohide) {
        // Away from the panel it hides, the clock with it; back at the edge both come back.
        const xcb_window_t clock = Clock();
        ASSERT_TRUE(Shell("xdotool mousemove 300 60"));
        EXPECT_TRUE(WaitFor([&] { return Clock() == XCB_WINDOW_NONE; })) << ClockLog();
        ASSERT_TRUE(Shell(edge));
        EXPECT_TRUE(ShowsPicture(desktop.name + std::string("-shown"), desktop.scale))
            << ClockLog();
        EXPECT_EQ(Clock(), clock);
    }
    EXPECT_EQ(Lines(ClockLog()), 1) << ClockLog();
    if (desktop.restart) {
        panel.reset();
        ASSERT_TRUE(WaitForReport("went away")) << ClockLog();
        panel = StartPanel(desktop);
        ASSERT_TRUE(WaitForReport(docked, 2)) << ClockLog();
        EXPECT_TRUE(ShowsPicture(desktop.name + std::string("-back"), desktop.scale)) << ClockLog();
        EXPECT_TRUE(Inside(Clock(), desktop.panelClass));
    }
}

// tint2's own configuration, changed by sed on its way to the panel.
#define TINT2_WITH(sed) \
    "sh -c 'sed \"" sed "\" /etc/xdg/tint2/tint2rc >$HOME/t.rc && exec tint2 -c $HOME/t.rc'"
// The test's xfce4-panel layout at an orientation, a size and a place.
#define XFCE4_PANEL(mode, size, position)                                                        \
    "sh -c 'mkdir -p $HOME/.config/xfce4/xfconf/xfce-perchannel-xml && sed "                     \
    "\"s/@MODE@/" mode "/;s/@SIZE@/" size "/;s/@POSITION@/" position "/\" " TIKORA_PANEL_CONFIGS \
    "/xfce4-panel.xml.in >$HOME/.config/xfce4/xfconf/xfce-perchannel-xml/xfce4-panel.xml && "    \
    "exec dbus-run-session -- xfce4-panel'"

INSTANTIATE_TEST_SUITE_P(
    Desktops, Panels,
    ::testing::Values(
        Desktop{"tint2", "tint2", "tint2", "tint2", 1, kOpenbox, false, true},
        Desktop{"tint2_vertical", "tint2",
                "tint2 -c /usr/share/tint2/vertical-neutral-icons.tint2rc", "tint2"},
        Desktop{"tint2_autohide", "tint2", TINT2_WITH("s/^autohide = 0/autohide = 1/"), "tint2", 1,
                kOpenbox, true},
        Desktop{"tint2_2x", "tint2",
                TINT2_WITH("s/^panel_size = 100% 30/panel_size = 100% 60/;"
                           "s/^systray_icon_size = 24/systray_icon_size = 48/"),
                "tint2", 2},
        // Its default layout without the first-start question; its settings service wants a
        // session bus.
        Desktop{"xfce4_panel", "xfce4-panel",
                "dbus-run-session -- env XFCE_PANEL_MIGRATE_DEFAULT=1 xfce4-panel", "xfce4-panel",
                1, kOpenbox, false, true},
        Desktop{"xfce4_panel_vertical", "xfce4-panel", XFCE4_PANEL("1", "26", "p=6;x=0;y=0"),
                "xfce4-panel"},
        Desktop{"xfce4_panel_48", "xfce4-panel", XFCE4_PANEL("0", "48", "p=8;x=0;y=0"),
                "xfce4-panel"},
        Desktop{"lxpanel", "lxpanel", "lxpanel", "lxpanel", 1, kOpenbox, false, true},
        Desktop{"lxpanel_autohide", "lxpanel",
                "sh -c 'mkdir -p $HOME/.config/lxpanel/hiding/panels && sed "
                "\"s/^    setpartialstrut=1/&\\n    autohide=1\\n    heightwhenhidden=2/\" "
                "/etc/xdg/lxpanel/default/panels/panel "
                ">$HOME/.config/lxpanel/hiding/panels/panel && exec lxpanel --profile hiding'",
                "lxpanel", 1, kOpenbox, true},
        // i3 starts its bar itself.
        Desktop{"i3bar", "i3bar", "", "i3bar", 1, "i3 -c " TIKORA_PANEL_CONFIGS "/i3.config"},
        // i3 alone floats a small utility window; it never tiles it nor makes a bar of it.
        Desktop{"i3_alone", "i3", "", "", 1, "i3 -c " TIKORA_PANEL_CONFIGS "/i3-no-bar.config"},
        Desktop{"trayer", "trayer", "trayer --edge bottom --height 24 --widthtype request",
                "trayer", 1, kOpenbox, false, true},
        Desktop{"trayer_2x", "trayer", "trayer --edge bottom --height 48 --widthtype request",
                "trayer", 2}),
    [](const ::testing::TestParamInfo<Desktop>& info) { return std::string(info.param.name); });

// No panel: the clock floats at the bottom right of the work area, says so once, and a second
// copy leaves at once while the
// first goes on. A drag moves it and logout's SIGTERM ends it in order; the next start puts it
// back there, and a choice made through its menu is saved at once and kept through SIGTERM.
TEST_F(Panels, WithNoPanelFloatsKeepsItsPlaceAndChoicesThroughSigterm) {
    StartWindowManager(kOpenbox);
    StartClock();
    ASSERT_TRUE(WaitForReport("at the bottom right of the work area")) << ClockLog();
    ASSERT_TRUE(ShowsPicture("no-panel")) << ClockLog();
    EXPECT_EQ(Lines(ClockLog()), 1) << ClockLog();
    EXPECT_TRUE(Shell("timeout -k 2 30 " + Env(TIKORA_BINARY, "second.log")));
    EXPECT_EQ(ReadFile(home_ / "second.log"),
              "tikora: already running on display \"" + display_ + "\"\n");
    ASSERT_TRUE(clock_->Running()) << "the first clock ended";
    const std::optional<QRect> where = Geometry(Clock());
    ASSERT_TRUE(where);
    EXPECT_EQ(where->right(), 640 - 4 - 1);
    ASSERT_TRUE(Shell("xdotool mousemove " + std::to_string(where->x() + 5) + " " +
                      std::to_string(where->y() + 5) +
                      " mousedown 1 mousemove 100 60 mousemove 80 50 mouseup 1"));
    const auto saved = [&](const char* what) {
        return WaitFor([&] {
            return ReadFile(home_ / ".config/tikora/registry.reg").find(what) != std::string::npos;
        });
    };
    ASSERT_TRUE(saved("FloatTop")) << ClockLog();
    EXPECT_EQ(clock_->End(), 0);
    StartClock();
    ASSERT_TRUE(WaitForReport("where it was last put")) << ClockLog();
    ASSERT_TRUE(ShowsPicture("no-panel-restored")) << ClockLog();
    EXPECT_EQ(Geometry(Clock()).value_or(QRect()).topLeft(), QPoint(75, 45));

    // The menu's Internet Time, off on a first run.
    SwitchInternetTime();
    EXPECT_TRUE(saved("\"BeatTime\"=\"True\"")) << "not saved at once";
    EXPECT_EQ(clock_->End(), 0);
    EXPECT_TRUE(saved("\"BeatTime\"=\"True\""));
}

// Two clocks of one user on two displays share one settings file: the choice one makes (saved at
// once) stays when the other, which changed nothing, ends; a start on another name of the first
// display is refused. While another program holds the settings folder's lock, the choice is not
// saved: the menu's save gives up after 2 s and says so, and at SIGTERM the clock says it on
// standard error alone (no box waits for a click) and ends with status 1.
TEST_F(Panels, TwoClocksOfOneUserKeepEachOthersChoicesAndNoLockHoldsThemUp) {
    StartWindowManager(kOpenbox);
    StartClock();
    ASSERT_TRUE(WaitForReport("at the bottom right of the work area")) << ClockLog();
    ChildProcess otherX(
        "Xvfb -displayfd 1 -screen 0 320x240x24 -nolisten tcp -noreset 2>/dev/null");
    const std::string otherDisplay = ":" + otherX.ReadLine().value_or("none");
    ChildProcess other(Env("env DISPLAY=" + otherDisplay + " " TIKORA_BINARY, "other.log"));
    ASSERT_TRUE(WaitFor([&] {
        return ReadFile(home_ / "other.log").find("bottom right") != std::string::npos;
    })) << ReadFile(home_ / "other.log");
    EXPECT_TRUE(Shell("timeout -k 2 30 " +
                      Env("env DISPLAY=unix" + display_ + ".0 " TIKORA_BINARY, "second.log")));
    EXPECT_EQ(ReadFile(home_ / "second.log"),
              "tikora: already running on display \"" + display_ + "\"\n");

    const std::string file = home_ / ".config/tikora/registry.reg";
    const auto beatTime = [&] {
        return ReadFile(file).find("\"BeatTime\"=\"True\"") != std::string::npos;
    };
    SwitchInternetTime();
    ASSERT_TRUE(WaitFor(beatTime)) << ClockLog();
    EXPECT_EQ(other.End(), 0);
    EXPECT_TRUE(beatTime()) << "the other clock's end undid the choice";

    const int held = open((home_ / ".config/tikora").c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    ASSERT_EQ(flock(held, LOCK_EX), 0);
    SwitchInternetTime();
    const std::string failed = "Tikora can't save its settings: " + file +
                               ": another program has kept the settings folder locked for 2 s\n";
    ASSERT_TRUE(WaitForReport(failed)) << ClockLog();
    // To the clock itself: timeout(1) would kill it 2 s after passing a signal on.
    const std::string pid = Text(Clock(), xcb::Atom(x_, "_NET_WM_PID"));
    ASSERT_EQ(pid.size(), 4U);
    kill(static_cast<pid_t>(*reinterpret_cast<const std::uint32_t*>(pid.data())), SIGTERM);
    EXPECT_EQ(clock_->Wait(), 1);
    close(held);
    EXPECT_TRUE(WaitForReport(failed, 2) && ClockLog().ends_with(failed)) << ClockLog();
    EXPECT_TRUE(beatTime());
}

// The fixture's taskbar puts its clock window in a frame, behind another program's window with a
// "Shell_TrayWnd" child: the clock must find the real one and sit exactly in it. When the taskbar
// goes the clock floats, and when it comes back the clock docks in it again.
TEST_F(Panels, SitsExactlyInTheTaskbarsClockWindowAndComesBackToIt) {
    StartWindowManager(kOpenbox);
    auto taskbar = Start(TIKORA_FIXTURE_TASKBAR, "taskbar.log");
    ASSERT_TRUE(taskbar->ReadLine().has_value()) << "the fixture taskbar did not start";
    StartClock();
    ASSERT_TRUE(WaitForReport("(60 x 22 pixels)")) << ClockLog();
    ASSERT_TRUE(ShowsPicture("taskbar")) << ClockLog();
    EXPECT_TRUE(Inside(Clock()));
    // A press-drag on the docked clock opens no menu (a click then would only close it); a click
    // opens it at the pointer, below or above it and as far left as the screen needs. The click is
    // away from the press, or it would be a double click.
    const QPoint at = Geometry(Clock()).value_or(QRect()).topLeft() + QPoint(5, 5);
    const QPoint click = at + QPoint(30, 0);
    ASSERT_TRUE(Shell("xdotool mousemove " + std::to_string(at.x()) + " " + std::to_string(at.y()) +
                      " mousedown 1 mousemove 200 60 mouseup 1 " + "mousemove " +
                      std::to_string(click.x()) + " " + std::to_string(click.y()) + " click 1"));
    EXPECT_TRUE(WaitFor([&] {
        const QRect menu = Geometry(Menu()).value_or(QRect());
        return (menu.top() == click.y() || menu.bottom() + 1 == click.y()) &&
               menu.left() <= click.x() && click.x() <= menu.right();
    })) << "the menu did not open at the click";
    ASSERT_TRUE(Shell("xdotool key Escape"));
    taskbar.reset();
    ExpectFloatsThenDocksAgain(
        "taskbar", [&] { taskbar = Start(TIKORA_FIXTURE_TASKBAR, "taskbar.log"); },
        "tikora: docked in the taskbar's clock window");
}

}  // namespace
}  // namespace tikora::testing
