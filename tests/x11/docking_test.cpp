// The real clock program against a real X server: docked into a taskbar's clock window, embedded
// in a real system tray, or left alone when there is neither.

#include <gtest/gtest.h>
#include <stdlib.h>

#include <filesystem>
#include <fstream>
#include <sstream>

#include "x11/x_harness.h"

namespace tikora::testing {
namespace {

const std::string kClockName = ":: Tikora ::";

class Docking : public ::testing::Test {
  protected:
    void SetUp() override {
        if (!xvfb_.Ready()) {
            GTEST_SKIP() << "Xvfb is not installed or did not start";
        }
        std::string pattern = (std::filesystem::temp_directory_path() / "tikora-x11-XXXXXX");
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        home_ = pattern;
        std::filesystem::create_directories(home_ + "/runtime");
        std::filesystem::permissions(home_ + "/runtime", std::filesystem::perms::owner_all);
        client_ = std::make_unique<XClient>(xvfb_.Display());
        ASSERT_TRUE(client_->Connected());
    }
    void TearDown() override {
        clock_.reset();
        client_.reset();
        if (!home_.empty()) {
            std::error_code ignored;
            std::filesystem::remove_all(home_, ignored);
        }
    }

    std::map<std::string, std::string> Environment() const {
        return {{"DISPLAY", xvfb_.Display()},
                {"HOME", home_},
                {"XDG_CONFIG_HOME", home_ + "/config"},
                {"XDG_RUNTIME_DIR", home_ + "/runtime"},
                {"QT_QPA_PLATFORM", "xcb"}};
    }

    std::unique_ptr<ChildProcess> Run(const std::vector<std::string>& command) const {
        return std::make_unique<ChildProcess>(command, Environment());
    }

    void StartClock() {
        clock_ = std::make_unique<ChildProcess>(std::vector<std::string>{TIKORA_BINARY},
                                                Environment(), home_ + "/tikora.log");
    }

    // The clock's window once the program has made it.
    xcb_window_t ClockWindow() {
        std::optional<xcb_window_t> window;
        WaitFor([&] { return (window = client_->FindByName(kClockName)).has_value(); });
        return window.value_or(XCB_WINDOW_NONE);
    }

    // What the clock program said on its standard error, for failure messages.
    std::string ClockLog() const {
        std::ifstream log(home_ + "/tikora.log");
        std::ostringstream text;
        text << log.rdbuf();
        return "tikora's standard error:\n" + text.str();
    }

    Xvfb xvfb_{640, 200};
    std::string home_;
    std::unique_ptr<XClient> client_;
    std::unique_ptr<ChildProcess> clock_;
};

TEST_F(Docking, SitsExactlyOverTheTaskbarsClockWindow) {
    ChildProcess taskbar({TIKORA_FIXTURE_TASKBAR}, Environment());
    const std::optional<std::string> line = taskbar.ReadLine(5s);
    ASSERT_TRUE(line.has_value()) << "the fixture taskbar did not start";
    const auto trayClock = static_cast<xcb_window_t>(std::stoul(*line));
    StartClock();
    const xcb_window_t clock = ClockWindow();
    ASSERT_NE(clock, XCB_WINDOW_NONE) << ClockLog();

    std::optional<WindowState> state;
    const bool docked = WaitFor([&] {
        state = client_->State(clock);
        return state && state->parent == trayClock && state->viewable;
    });
    ASSERT_TRUE(docked) << ClockLog();
    EXPECT_EQ(state->x, 0);
    EXPECT_EQ(state->y, 0);
    EXPECT_EQ(state->width, 60);
    EXPECT_EQ(state->height, 22);
    EXPECT_TRUE(WaitFor([&] { return !client_->LooksUniform(clock); })) << "nothing drawn";
    EXPECT_TRUE(clock_->Running()) << ClockLog();
}

class TrayDocking : public Docking {
  protected:
    void SetUp() override {
        Docking::SetUp();
        if (IsSkipped()) {
            return;
        }
        if (!OnPath("trayer")) {
            GTEST_SKIP() << "trayer is not installed";
        }
        tray_ = StartTray();
        ASSERT_NE(tray_, nullptr) << "trayer did not take the system tray";
    }
    void TearDown() override {
        clock_.reset();
        tray_.reset();
        Docking::TearDown();
    }

    // A panel with a system tray along the bottom edge, once it owns the tray selection.
    std::unique_ptr<ChildProcess> StartTray() {
        const xcb_window_t before = client_->SelectionOwner("_NET_SYSTEM_TRAY_S0");
        auto tray = Run({"trayer", "--edge", "bottom", "--height", "24", "--widthtype", "request"});
        const bool owns = WaitFor([&] {
            const xcb_window_t owner = client_->SelectionOwner("_NET_SYSTEM_TRAY_S0");
            return owner != XCB_WINDOW_NONE && owner != before;
        });
        return owns ? std::move(tray) : nullptr;
    }

    // Embedded (a tray window is its parent), shown, of the width it asked for, and drawn.
    ::testing::AssertionResult Embedded(xcb_window_t clock) {
        std::optional<WindowState> state;
        const bool shown = WaitFor([&] {
            state = client_->State(clock);
            return state && state->parent != client_->Root() && state->viewable &&
                   !client_->LooksUniform(clock);
        });
        if (!shown) {
            return ::testing::AssertionFailure()
                   << "not embedded, shown and drawn: parent " << (state ? state->parent : 0)
                   << ", root " << client_->Root() << "\n"
                   << ClockLog();
        }
        const std::optional<std::pair<int, int>> asked = client_->MinimumSize(clock);
        if (!asked || asked->first != state->width) {
            return ::testing::AssertionFailure()
                   << "granted width " << state->width << " is not the width asked for";
        }
        return ::testing::AssertionSuccess();
    }

    std::unique_ptr<ChildProcess> tray_;
};

TEST_F(TrayDocking, WithoutATaskbarTheClockBecomesATrayIcon) {
    StartClock();
    const xcb_window_t clock = ClockWindow();
    ASSERT_NE(clock, XCB_WINDOW_NONE) << ClockLog();
    EXPECT_TRUE(Embedded(clock));
    const std::optional<WindowState> state = client_->State(clock);
    ASSERT_TRUE(state.has_value());
    EXPECT_LE(state->height, 24) << "taller than the panel";
}

TEST_F(TrayDocking, ARestartedTrayTakesTheClockAgain) {
    StartClock();
    const xcb_window_t clock = ClockWindow();
    ASSERT_NE(clock, XCB_WINDOW_NONE) << ClockLog();
    ASSERT_TRUE(Embedded(clock));
    tray_.reset();  // the panel quits; the X server hands the clock back to the root window
    ASSERT_TRUE(WaitFor([&] {
        const std::optional<WindowState> state = client_->State(clock);
        return state && state->parent == client_->Root();
    }));
    tray_ = StartTray();
    ASSERT_NE(tray_, nullptr);
    EXPECT_TRUE(Embedded(clock));
}

TEST_F(Docking, WithNeitherTaskbarNorTrayTheClockRunsUnshown) {
    StartClock();
    const xcb_window_t clock = ClockWindow();
    ASSERT_NE(clock, XCB_WINDOW_NONE) << ClockLog();
    // Answering a ping needs the event loop that also runs the clock's tick.
    EXPECT_TRUE(client_->Pings(clock)) << ClockLog();
    const std::optional<WindowState> state = client_->State(clock);
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(state->parent, client_->Root());
    // A window of no size cannot be shown on X: it stays unmapped.
    EXPECT_FALSE(state->mapped);
    EXPECT_TRUE(clock_->Running()) << ClockLog();
}

}  // namespace
}  // namespace tikora::testing
