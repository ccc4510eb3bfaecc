// SPDX-License-Identifier: MIT
// The clock on a private X server (Xvfb) under openbox, beside real panels and the fixture
// taskbar, read from screenshots: the whole time must show where the clock belongs.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <QColorSpace>
#include <QImage>
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

#include "support/child_process.h"
#include "support/temp_folder.h"
#include "x11/xcb_helpers.h"

namespace tikora::testing {
namespace {

using namespace std::chrono_literals;

// A panel to start, and whether the clock docks in its tray or floats over the panel.
struct Desktop {
    const char* name;
    const char* command;
    bool docks;
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
            "Xvfb -displayfd 1 -screen 0 640x240x24 -nolisten tcp -noreset 2>" + home_ / "xvfb");
        display_ = ":" + xvfb_->ReadLine().value_or("none");
        x_ = xcb_connect(display_.c_str(), nullptr);  // a connection in error when there is none
        ASSERT_EQ(xcb_connection_has_error(x_), 0) << "Xvfb did not start";
        root_ = xcb_setup_roots_iterator(xcb_get_setup(x_)).data->root;
        std::filesystem::create_directories(TIKORA_SCREENSHOTS);
        windowManager_ = Start("openbox", "openbox.log");
        ASSERT_TRUE(WaitFor(
            [&] { return !Text(root_, xcb::Atom(x_, "_NET_SUPPORTING_WM_CHECK")).empty(); }));
    }
    void TearDown() override { xcb_disconnect(x_); }

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

    void StartClock() { clock_ = Start(TIKORA_BINARY, "tikora.log"); }
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

    // Inside another program's window (a tray's, a taskbar's), not only a window manager's frame.
    bool Docked(xcb_window_t window) {
        for (;;) {
            const xcb::Reply<xcb_query_tree_reply_t> tree(
                xcb_query_tree_reply(x_, xcb_query_tree(x_, window), nullptr));
            if (!tree || tree->parent == root_) {
                return false;
            }
            window = tree->parent;
            if (!Text(window, XCB_ATOM_WM_CLASS).empty()) {
                return true;
            }
        }
    }

    // Over a panel: inside a window of the dock type that is not the clock's.
    bool OnAPanel(const QRect& clock) {
        return FindShown(root_, [&](xcb_window_t w) {
                   const std::string types = Text(w, xcb::Atom(x_, "_NET_WM_WINDOW_TYPE"));
                   const xcb_atom_t dock = xcb::Atom(x_, "_NET_WM_WINDOW_TYPE_DOCK");
                   return types.size() >= 4 && std::memcmp(types.data(), &dock, 4) == 0 &&
                          !Text(w, XCB_ATOM_WM_CLASS).starts_with("tikora") &&
                          Geometry(w).value_or(QRect()).contains(clock);
               }) != XCB_WINDOW_NONE;
    }

    // The whole time, as the preview tool draws the skin at this minute, cut to its ink.
    QImage Expected(const std::string& hhmm) {
        const std::string file = home_ / "expected.png";
        EXPECT_TRUE(Shell("QT_QPA_PLATFORM=offscreen " TIKORA_PREVIEW " " TIKORA_SKIN
                          " --size 120x40 --at " +
                          hhmm + ":00 -o " + file + " >" + file + ".log 2>&1"));
        const QImage full =
            QImage(QString::fromStdString(file)).convertToFormat(QImage::Format_RGB32);
        QRect ink;
        for (int y = 0; y < full.height(); ++y) {
            for (int x = 0; x < full.width(); ++x) {
                ink |= full.pixel(x, y) != full.pixel(0, 0) ? QRect(x, y, 1, 1) : QRect();
            }
        }
        return full.copy(ink);
    }

    static std::string LocalHourMinute() {
        return QTime::currentTime().toString(QStringLiteral("HH:mm")).toStdString();
    }

    // The whole time somewhere inside the clock's window on a screenshot, kept as `name`.png in
    // the build's screenshot folder.
    bool ShowsWholeTime(const std::string& name) {
        return WaitFor([&] {
            const std::optional<QRect> c = Geometry(Clock());
            const std::string minute = LocalHourMinute();
            const std::string shot = std::string(TIKORA_SCREENSHOTS "/") + name + ".png";
            if (!c || !Shell("import -window root " + shot) || LocalHourMinute() != minute) {
                return false;
            }
            // The screenshot's file names its colour space, which is no matter here.
            QImage screen(QString::fromStdString(shot));
            screen.setColorSpace(QColorSpace());
            screen = screen.convertToFormat(QImage::Format_RGB32).copy(*c);
            const QImage time = Expected(minute);
            for (int y = 0; y + time.height() <= screen.height(); ++y) {
                for (int x = 0; x + time.width() <= screen.width(); ++x) {
                    if (screen.copy(x, y, time.width(), time.height()) == time) {
                        return true;
                    }
                }
            }
            return false;
        });
    }

    // The host goes: the clock floats, whole. It comes back (`restart`): the clock docks again.
    void ExpectFloatsThenDocksAgain(const std::string& name, const std::function<void()>& restart,
                                    const std::string& docked) {
        ASSERT_TRUE(WaitForReport("went away")) << ClockLog();
        ASSERT_TRUE(ShowsWholeTime(name + "-gone")) << ClockLog();
        EXPECT_FALSE(Docked(Clock()));
        restart();
        ASSERT_TRUE(WaitForReport(docked, 2)) << ClockLog();
        EXPECT_TRUE(ShowsWholeTime(name + "-back")) << ClockLog();
        EXPECT_TRUE(Docked(Clock()));
    }

    TempFolder home_;
    std::unique_ptr<ChildProcess> xvfb_;
    std::string display_;
    xcb_connection_t* x_ = nullptr;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    std::unique_ptr<ChildProcess> windowManager_;
    std::unique_ptr<ChildProcess> clock_;
};

// In a tray that gives the width the clock asks for it docks; in the square slots of the others
// it floats over the panel beside the tray. Either way the whole time shows on the panel. A tray
// that goes and comes back takes the clock in again.
TEST_P(Panels, TheWholeTimeShowsOnThePanel) {
    const Desktop desktop = GetParam();
    if (!Installed(desktop.name)) {
        GTEST_SKIP() << desktop.name << " is not installed (scripts/install-deps)";
    }
    std::unique_ptr<ChildProcess> panel = StartPanel(desktop);
    ASSERT_NE(panel, nullptr) << "no tray\n" << ReadFile(home_ / "panel.log");
    StartClock();
    const std::string placed = desktop.docks ? "tikora: docked in the system tray"
                                             : "over the panel beside the system tray";
    ASSERT_TRUE(WaitForReport(placed)) << ClockLog();
    ASSERT_TRUE(ShowsWholeTime(desktop.name)) << ClockLog();
    EXPECT_EQ(Docked(Clock()), desktop.docks);
    const std::optional<QRect> where = Geometry(Clock());
    EXPECT_TRUE(where && OnAPanel(*where));
    if (!desktop.docks) {
        return;
    }
    panel.reset();
    ExpectFloatsThenDocksAgain(
        desktop.name, [&] { panel = StartPanel(desktop); }, placed);
}

INSTANTIATE_TEST_SUITE_P(
    Desktops, Panels,
    ::testing::Values(
        Desktop{"trayer", "trayer --edge bottom --height 24 --widthtype request", true},
        Desktop{"tint2", "tint2", false},
        // Its default layout without the first-start question; its settings service wants a
        // session bus.
        Desktop{"xfce4-panel", "dbus-run-session -- env XFCE_PANEL_MIGRATE_DEFAULT=1 xfce4-panel",
                false},
        Desktop{"lxpanel", "lxpanel", false}),
    [](const ::testing::TestParamInfo<Desktop>& info) {
        std::string name = info.param.name;
        std::replace(name.begin(), name.end(), '-', '_');
        return name;
    });

// No panel: the clock floats at the bottom right, and a second copy leaves at once while the
// first goes on. A drag moves it and logout's SIGTERM ends it in order; the next start puts it
// back there, and a choice made through its menu is saved at once and kept through SIGTERM.
TEST_F(Panels, WithNoPanelFloatsKeepsItsPlaceAndChoicesThroughSigterm) {
    StartClock();
    ASSERT_TRUE(WaitForReport("at the bottom right of the work area")) << ClockLog();
    ASSERT_TRUE(ShowsWholeTime("no-panel")) << ClockLog();
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
    ASSERT_TRUE(ShowsWholeTime("no-panel-restored")) << ClockLog();
    EXPECT_EQ(Geometry(Clock()).value_or(QRect()).topLeft(), QPoint(75, 45));

    // The menu's Internet Time, off on a first run: a click on the clock, then its key. The menu
    // is a window of the clock's program that no window manager handles.
    ASSERT_TRUE(Shell("xdotool mousemove 80 50 click 1"));
    EXPECT_TRUE(WaitFor([&] {
        return FindShown(root_, [&](xcb_window_t w) {
                   const xcb::Reply<xcb_get_window_attributes_reply_t> attributes(
                       xcb_get_window_attributes_reply(x_, xcb_get_window_attributes(x_, w),
                                                       nullptr));
                   return attributes->override_redirect &&
                          Text(w, XCB_ATOM_WM_CLASS).starts_with("tikora") &&
                          Text(w, XCB_ATOM_WM_NAME) != ":: Tikora ::";
               }) != XCB_WINDOW_NONE;
    })) << "the menu did not open";
    ASSERT_TRUE(Shell("xdotool key i"));
    EXPECT_TRUE(saved("\"BeatTime\"=\"True\"")) << "not saved at once";
    EXPECT_EQ(clock_->End(), 0);
    EXPECT_TRUE(saved("\"BeatTime\"=\"True\""));
}

// The fixture's taskbar puts its clock window in a frame, behind another program's window with a
// "Shell_TrayWnd" child: the clock must find the real one and sit exactly in it. When the taskbar
// goes the clock floats, and when it comes back the clock docks in it again.
TEST_F(Panels, SitsExactlyInTheTaskbarsClockWindowAndComesBackToIt) {
    auto taskbar = Start(TIKORA_FIXTURE_TASKBAR, "taskbar.log");
    ASSERT_TRUE(taskbar->ReadLine().has_value()) << "the fixture taskbar did not start";
    StartClock();
    ASSERT_TRUE(WaitForReport("tikora: docked in the taskbar's clock window (60 x 22)"))
        << ClockLog();
    ASSERT_TRUE(ShowsWholeTime("taskbar")) << ClockLog();
    EXPECT_TRUE(Docked(Clock()));
    taskbar.reset();
    ExpectFloatsThenDocksAgain(
        "taskbar", [&] { taskbar = Start(TIKORA_FIXTURE_TASKBAR, "taskbar.log"); },
        "tikora: docked in the taskbar's clock window");
}

}  // namespace
}  // namespace tikora::testing
