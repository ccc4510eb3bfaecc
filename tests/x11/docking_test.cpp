// The real clock program on a private X server (Xvfb): docked into the fixture taskbar's clock
// window, or embedded in a real system tray (trayer) when there is no taskbar.

#include <gtest/gtest.h>
#include <signal.h>

#include <algorithm>
#include <array>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <memory>
#include <optional>
#include <thread>

#include "support/temp_folder.h"
#include "x11/xcb_helpers.h"

namespace tikora::testing {
namespace {

using namespace std::chrono_literals;

// Polls `condition`, which asks the X server or a child process, until it holds or time is up.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s) {
    for (const auto end = std::chrono::steady_clock::now() + timeout; !condition();) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

// A shell command run under timeout(1), so that nothing outlives a test that dies, with its
// standard output on a pipe; ended when the object goes.
class ChildProcess {
  public:
    explicit ChildProcess(const std::string& command)
        : output_(popen(("echo $$; exec timeout -k 2 120 " + command).c_str(), "r")),
          pid_(std::atoi(ReadLine().value_or("0").c_str())) {}
    ~ChildProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
        }
        if (output_ != nullptr) {
            pclose(output_);
        }
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    // The next line of standard output; nothing at its end.
    std::optional<std::string> ReadLine() {
        char line[256];
        if (output_ == nullptr || std::fgets(line, sizeof line, output_) == nullptr) {
            return std::nullopt;
        }
        return std::string(line, std::strcspn(line, "\n"));
    }

  private:
    FILE* output_;
    pid_t pid_;
};

struct WindowState {
    xcb_window_t parent;
    int x, y, width, height;
};

class Docking : public ::testing::Test {
  protected:
    void SetUp() override {
        // -displayfd: Xvfb takes the first free display and writes its number once it is ready.
        display_ = ":" + xvfb_.ReadLine().value_or("none");
        x_ = xcb_connect(display_.c_str(), nullptr);  // a connection in error when there is none
        if (xcb_connection_has_error(x_) != 0) {
            GTEST_SKIP() << "Xvfb is not installed or did not start";
        }
        root_ = xcb_setup_roots_iterator(xcb_get_setup(x_)).data->root;
    }
    void TearDown() override { xcb_disconnect(x_); }

    // `command` with the test's display, and a private home for the settings and runtime files.
    std::unique_ptr<ChildProcess> Start(const std::string& command,
                                        const std::string& errors = "/dev/null") const {
        const std::string home = home_.Path().string();
        return std::make_unique<ChildProcess>(
            "env DISPLAY=" + display_ + " HOME=" + home + " XDG_CONFIG_HOME=" + home +
            " XDG_RUNTIME_DIR=" + home + " QT_QPA_PLATFORM=xcb " + command + " 2>" + errors);
    }

    // Starts the clock program; its window once the program has made it.
    xcb_window_t StartClock() {
        clock_ = Start(TIKORA_BINARY, home_ / "log");
        xcb_window_t window = XCB_WINDOW_NONE;
        WaitFor([&] { return (window = FindClock(root_)) != XCB_WINDOW_NONE; });
        return window;
    }
    std::string ClockLog() const { return "tikora's standard error:\n" + ReadFile(home_ / "log"); }

    xcb_window_t FindClock(xcb_window_t window) {
        xcb_window_t found = XCB_WINDOW_NONE;
        if (xcb::ReadProperty(x_, window, XCB_ATOM_WM_NAME) == ":: Tikora ::") {
            return window;
        }
        for (const xcb_window_t child : xcb::Children(x_, window)) {
            found = found != XCB_WINDOW_NONE ? found : FindClock(child);
        }
        return found;
    }

    std::optional<WindowState> State(xcb_window_t window) {
        const xcb::Reply<xcb_get_geometry_reply_t> geometry(
            xcb_get_geometry_reply(x_, xcb_get_geometry(x_, window), nullptr));
        const xcb::Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(x_, xcb_query_tree(x_, window), nullptr));
        if (!geometry || !tree) {
            return std::nullopt;
        }
        return WindowState{tree->parent, geometry->x, geometry->y, geometry->width,
                           geometry->height};
    }

    // Shown (the image of a window that is not viewable cannot be had) and in more than one colour.
    bool Drawn(xcb_window_t window, const WindowState& state) {
        const xcb::Reply<xcb_get_image_reply_t> image(
            xcb_get_image_reply(x_,
                                xcb_get_image(x_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                              state.width, state.height, ~0U),
                                nullptr));
        if (!image || image->depth != 24) {
            return false;
        }
        const auto* pixels =
            reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image.get()));
        const auto* end = pixels + xcb_get_image_data_length(image.get()) / 4;
        return std::any_of(pixels, end, [&](std::uint32_t p) { return (p ^ *pixels) & 0xFFFFFF; });
    }

    // Waits until `parentIs` holds for the clock's parent and the clock is drawn.
    std::optional<WindowState> WaitUntilDrawnIn(xcb_window_t clock,
                                                const std::function<bool(xcb_window_t)>& parentIs) {
        std::optional<WindowState> state;
        WaitFor([&] {
            state = State(clock);
            return state && parentIs(state->parent) && Drawn(clock, *state);
        });
        return state && parentIs(state->parent) ? state : std::nullopt;
    }

    // A panel with a system tray along the bottom edge, once it owns the tray; null when trayer is
    // missing or does not take the tray.
    std::unique_ptr<ChildProcess> StartTray() {
        const auto owner = [&] {
            const xcb::Reply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
                x_, xcb_get_selection_owner(x_, xcb::Atom(x_, "_NET_SYSTEM_TRAY_S0")), nullptr));
            return reply ? reply->owner : xcb_window_t{XCB_WINDOW_NONE};
        };
        const xcb_window_t before = owner();
        auto tray = Start("trayer --edge bottom --height 24 --widthtype request");
        const auto taken = [&] { return owner() != XCB_WINDOW_NONE && owner() != before; };
        return WaitFor(taken) ? std::move(tray) : nullptr;
    }

    // Once embedded and drawn, the clock must have been granted the width it asked for (the
    // minimum in WM_NORMAL_HINTS), within the panel's height.
    void ExpectEmbedded(xcb_window_t clock) {
        const auto state = WaitUntilDrawnIn(clock, [&](xcb_window_t p) { return p != root_; });
        ASSERT_TRUE(state) << "not embedded, shown and drawn\n" << ClockLog();
        const auto hints = xcb::ReadProperty(x_, clock, XCB_ATOM_WM_NORMAL_HINTS);
        std::uint32_t fields[6] = {};  // flags (bit 4: a minimum size), x, y, w, h, minimum width
        ASSERT_GE(hints.value_or("").size(), sizeof fields);
        std::memcpy(fields, hints->data(), sizeof fields);
        EXPECT_EQ(fields[0] & 1U << 4 ? static_cast<int>(fields[5]) : -1, state->width);
        EXPECT_LE(state->height, 24) << "taller than the panel";
    }

    ChildProcess xvfb_{"Xvfb -displayfd 1 -screen 0 640x200x24 -nolisten tcp -noreset 2>/dev/null"};
    std::string display_;
    xcb_connection_t* x_ = nullptr;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    TempFolder home_;
    std::unique_ptr<ChildProcess> clock_;
};

// The fixture puts its taskbar in a frame, behind another program's window with a "Shell_TrayWnd"
// child: the clock must find the real one through the frame and pass over the other.
TEST_F(Docking, SitsExactlyInTheTaskbarsClockWindowAndDraws) {
    const auto taskbar = Start(TIKORA_FIXTURE_TASKBAR);
    const std::optional<std::string> trayClock = taskbar->ReadLine();
    ASSERT_TRUE(trayClock.has_value()) << "the fixture taskbar did not start";
    const auto state = WaitUntilDrawnIn(
        StartClock(), [&](xcb_window_t parent) { return parent == std::stoul(*trayClock); });
    ASSERT_TRUE(state) << ClockLog();
    EXPECT_EQ((std::array{state->x, state->y, state->width, state->height}),
              (std::array{0, 0, 60, 22}));
}

TEST_F(Docking, WithoutATaskbarEmbedsInEverySystemTrayThatStarts) {
    std::unique_ptr<ChildProcess> tray = StartTray();
    if (tray == nullptr) {
        GTEST_SKIP() << "trayer is not installed or did not take the system tray";
    }
    const xcb_window_t clock = StartClock();
    ASSERT_NO_FATAL_FAILURE(ExpectEmbedded(clock));
    tray.reset();  // the panel quits; the X server hands the clock back to the root window
    ASSERT_TRUE(WaitFor([&] { return State(clock).value_or(WindowState{}).parent == root_; }));
    tray = StartTray();
    ASSERT_NE(tray, nullptr);
    ExpectEmbedded(clock);
}

}  // namespace
}  // namespace tikora::testing
