// The real clock program against a real X server: docked into a taskbar's clock window, embedded
// in a real system tray, or left alone when there is neither.

#include <gtest/gtest.h>

#include <array>
#include <filesystem>
#include <fstream>
#include <memory>
#include <sstream>

#include "x11/x_harness.h"

namespace tikora::testing {
namespace {

class Docking : public ::testing::Test {
  protected:
    void SetUp() override {
        if (xvfb_.display.empty()) {
            GTEST_SKIP() << "Xvfb is not installed or did not start";
        }
        std::string pattern = std::filesystem::temp_directory_path() / "tikora-x11-XXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        home_ = pattern;
        x_ = std::make_unique<XClient>(xvfb_.display);
        ASSERT_NE(x_->root, XCB_WINDOW_NONE);
    }
    void TearDown() override {
        clock_.reset();
        if (!home_.empty()) {
            std::filesystem::remove_all(home_);
        }
    }

    // `command` run by env(1) with the test's display, home and settings; the home is private, as
    // mkdtemp made it, and serves as the runtime folder too.
    std::vector<std::string> InTestEnvironment(std::vector<std::string> command) const {
        command.insert(command.begin(), {"env", "DISPLAY=" + xvfb_.display, "HOME=" + home_,
                                         "XDG_CONFIG_HOME=" + home_ + "/config",
                                         "XDG_RUNTIME_DIR=" + home_, "QT_QPA_PLATFORM=xcb"});
        return command;
    }

    // Starts the clock program; its window once the program has made it.
    xcb_window_t StartClock() {
        clock_ = std::make_unique<ChildProcess>(InTestEnvironment({TIKORA_BINARY}),
                                                home_ + "/tikora.log");
        xcb_window_t window = XCB_WINDOW_NONE;
        WaitFor([&] { return (window = x_->FindByName(":: Tikora ::")) != XCB_WINDOW_NONE; });
        return window;
    }

    // What the clock program wrote to its standard error, for failure messages.
    std::string ClockLog() const {
        std::ostringstream text;
        text << std::ifstream(home_ + "/tikora.log").rdbuf();
        return "tikora's standard error:\n" + text.str();
    }

    // A panel with a system tray along the bottom edge, once it owns the tray; null when trayer is
    // missing or does not take the tray.
    std::unique_ptr<ChildProcess> StartTray() {
        const xcb_window_t before = x_->SelectionOwner("_NET_SYSTEM_TRAY_S0");
        auto tray = std::make_unique<ChildProcess>(InTestEnvironment(
            {"trayer", "--edge", "bottom", "--height", "24", "--widthtype", "request"}));
        xcb_window_t owner = XCB_WINDOW_NONE;
        WaitFor([&] {
            owner = x_->SelectionOwner("_NET_SYSTEM_TRAY_S0");
            return (owner != XCB_WINDOW_NONE && owner != before) || !tray->Running();
        });
        return owner != XCB_WINDOW_NONE && owner != before ? std::move(tray) : nullptr;
    }

    // Waits until the clock is embedded (a tray window is its parent), shown and drawn; then it
    // must be as wide as it asked to be.
    void ExpectEmbedded(xcb_window_t clock) {
        std::optional<WindowState> state;
        ASSERT_TRUE(WaitFor([&] {
            state = x_->State(clock);
            return state && state->parent != x_->root && x_->Drawn(clock);
        })) << "not embedded, shown and drawn\n"
            << ClockLog();
        EXPECT_EQ(x_->MinimumWidth(clock), state->width) << "not granted the width it asked for";
    }

    Xvfb xvfb_{640, 200};
    std::string home_;
    std::unique_ptr<XClient> x_;
    std::unique_ptr<ChildProcess> clock_;
};

TEST_F(Docking, SitsExactlyInTheTaskbarsClockWindow) {
    ChildProcess taskbar(InTestEnvironment({TIKORA_FIXTURE_TASKBAR}));
    const std::optional<std::string> trayClock = taskbar.ReadLine();
    ASSERT_TRUE(trayClock.has_value()) << "the fixture taskbar did not start";
    const xcb_window_t clock = StartClock();
    ASSERT_NE(clock, XCB_WINDOW_NONE) << ClockLog();

    std::optional<WindowState> state;
    ASSERT_TRUE(WaitFor([&] {
        state = x_->State(clock);
        return state && state->parent == std::stoul(*trayClock) && state->viewable;
    })) << ClockLog();
    EXPECT_EQ((std::array{state->x, state->y, state->width, state->height}),
              (std::array{0, 0, 60, 22}));
    EXPECT_TRUE(WaitFor([&] { return x_->Drawn(clock); })) << "nothing drawn";
    EXPECT_TRUE(clock_->Running()) << ClockLog();
}

TEST_F(Docking, WithoutATaskbarEmbedsInEverySystemTray) {
    std::unique_ptr<ChildProcess> tray = StartTray();
    if (tray == nullptr) {
        GTEST_SKIP() << "trayer is not installed or did not take the system tray";
    }
    const xcb_window_t clock = StartClock();
    ASSERT_NE(clock, XCB_WINDOW_NONE) << ClockLog();
    ASSERT_NO_FATAL_FAILURE(ExpectEmbedded(clock));
    EXPECT_LE(x_->State(clock).value().height, 24) << "taller than the panel";

    tray.reset();  // the panel quits; the X server hands the clock back to the root window
    ASSERT_TRUE(WaitFor([&] { return x_->State(clock).value().parent == x_->root; }));
    tray = StartTray();
    ASSERT_NE(tray, nullptr);
    ExpectEmbedded(clock);
}

TEST_F(Docking, WithNeitherTaskbarNorTrayRunsUnshown) {
    const xcb_window_t clock = StartClock();
    ASSERT_NE(clock, XCB_WINDOW_NONE) << ClockLog();
    EXPECT_FALSE(WaitFor([&] { return !clock_->Running(); }, 1s)) << ClockLog();
    const std::optional<WindowState> state = x_->State(clock);
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(state->parent, x_->root);
    EXPECT_FALSE(state->mapped);  // a window of no size cannot be shown on X
}

}  // namespace
}  // namespace tikora::testing
