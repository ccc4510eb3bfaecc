// The X11 window finder in a Qt program on a private X server, against windows this test makes
// through a connection of its own.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QWindow>
#include <cstring>

#include "platform/window_finder.h"
#include "x11/x_harness.h"

namespace tikora::testing {
namespace {

class X11Finder : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        server_ = new Xvfb(320, 200);
        if (!server_->Ready()) {
            return;
        }
        setenv("DISPLAY", server_->Display().c_str(), 1);
        setenv("QT_QPA_PLATFORM", "xcb", 1);
        application_ = new QGuiApplication(argc_, argv_);
    }
    static void TearDownTestSuite() {
        delete application_;
        application_ = nullptr;
        delete server_;
        server_ = nullptr;
    }

    void SetUp() override {
        if (application_ == nullptr) {
            GTEST_SKIP() << "Xvfb is not installed or did not start";
        }
        client_ = std::make_unique<XClient>(server_->Display());
        ASSERT_TRUE(client_->Connected());
    }
    void TearDown() override {
        for (const xcb_window_t window : made_) {
            xcb_destroy_window(client_->Connection(), window);
        }
        if (client_) {
            SyncTestConnection();
        }
    }

    // A window of the test's own, with WM_CLASS when `windowClass` is given.
    xcb_window_t Make(xcb_window_t parent, const char* windowClass, int x = 0, int y = 0,
                      int width = 10, int height = 10, int border = 0) {
        xcb_connection_t* connection = client_->Connection();
        const xcb_window_t window = xcb_generate_id(connection);
        xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, parent,
                          static_cast<std::int16_t>(x), static_cast<std::int16_t>(y),
                          static_cast<std::uint16_t>(width), static_cast<std::uint16_t>(height),
                          static_cast<std::uint16_t>(border), XCB_WINDOW_CLASS_INPUT_OUTPUT,
                          XCB_COPY_FROM_PARENT, 0, nullptr);
        if (windowClass != nullptr) {
            std::string value = std::string("test") + '\0' + windowClass + '\0';
            xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS,
                                XCB_ATOM_STRING, 8, static_cast<std::uint32_t>(value.size()),
                                value.data());
        }
        if (parent == client_->Root()) {
            made_.push_back(window);
        }
        SyncTestConnection();
        return window;
    }

    // Waits until every request of the test's connection has reached the server.
    void SyncTestConnection() {
        std::free(xcb_get_input_focus_reply(client_->Connection(),
                                            xcb_get_input_focus(client_->Connection()), nullptr));
    }

    static inline Xvfb* server_ = nullptr;
    static inline QGuiApplication* application_ = nullptr;
    static inline int argc_ = 1;
    static inline char name_[] = "tikora_x11_tests";
    static inline char* argv_[] = {name_, nullptr};

    std::unique_ptr<XClient> client_;
    std::vector<xcb_window_t> made_;
    X11WindowFinder finder_;
};

TEST_F(X11Finder, FindsATopLevelClientByClassIgnoringAsciiCase) {
    Make(client_->Root(), "Other");
    const xcb_window_t bar = Make(client_->Root(), "Shell_TrayWnd");
    EXPECT_EQ(finder_.FindTopLevel("shell_traywnd"), bar);
    EXPECT_EQ(finder_.FindTopLevel("SHELL_TRAYWND"), bar);
    EXPECT_EQ(finder_.FindTopLevel("Shell_Tray"), 0u);
}

TEST_F(X11Finder, LooksThroughWindowManagerFrames) {
    // Frames have no WM_CLASS; the client sits one or two levels inside.
    const xcb_window_t frame = Make(client_->Root(), nullptr);
    const xcb_window_t wrapper = Make(frame, nullptr);
    const xcb_window_t client = Make(wrapper, "Shell_TrayWnd");
    EXPECT_EQ(finder_.FindTopLevel("Shell_TrayWnd"), client);
}

TEST_F(X11Finder, DoesNotTakeAChildOfAnotherClientForATopLevel) {
    const xcb_window_t other = Make(client_->Root(), "Other");
    Make(other, "Shell_TrayWnd");
    EXPECT_EQ(finder_.FindTopLevel("Shell_TrayWnd"), 0u);
}

TEST_F(X11Finder, FindsTheBottomMostChildOfTheClass) {
    const xcb_window_t bar = Make(client_->Root(), "Shell_TrayWnd");
    Make(bar, "Button");
    const xcb_window_t first = Make(bar, "TrayNotifyWnd");
    Make(bar, "TrayNotifyWnd");
    EXPECT_EQ(finder_.FindChild(bar, "traynotifywnd"), first);
    EXPECT_EQ(finder_.FindChild(bar, "TrayClockWClass"), 0u);
    EXPECT_EQ(finder_.FindChild(0, "TrayNotifyWnd"), 0u);
}

TEST_F(X11Finder, MeasuresTheOuterRectangleInRootCoordinates) {
    const xcb_window_t outer = Make(client_->Root(), "Outer", 100, 50, 200, 100);
    const xcb_window_t inner = Make(outer, "Inner", 10, 20, 60, 22, 3);
    WindowRect rect;
    ASSERT_TRUE(finder_.GetWindowRect(inner, rect));
    // The position given at creation is the border's outer corner.
    EXPECT_EQ(rect.left, 110);
    EXPECT_EQ(rect.top, 70);
    EXPECT_EQ(rect.right, 110 + 60 + 6);
    EXPECT_EQ(rect.bottom, 70 + 22 + 6);
}

TEST_F(X11Finder, LeavesTheRectangleAloneForNoWindowOrAVanishedOne) {
    const xcb_window_t gone = Make(client_->Root(), "Gone");
    xcb_destroy_window(client_->Connection(), gone);
    SyncTestConnection();
    const WindowRect untouched{1, 2, 3, 4};
    WindowRect rect = untouched;
    EXPECT_FALSE(finder_.GetWindowRect(gone, rect));
    EXPECT_FALSE(finder_.GetWindowRect(0, rect));
    EXPECT_EQ(std::memcmp(&rect, &untouched, sizeof rect), 0);
    EXPECT_EQ(finder_.FindChild(gone, "Anything"), 0u);
}

TEST_F(X11Finder, ReparentsAQtWindowIntoAForeignOneAndBack) {
    const xcb_window_t host = Make(client_->Root(), "Host", 40, 30, 100, 50);
    QWindow window;
    window.setGeometry(0, 0, 60, 22);
    window.create();
    const auto id = static_cast<xcb_window_t>(window.winId());

    finder_.SetParent(window, host);
    QGuiApplication::sync();
    std::optional<WindowState> state = client_->State(id);
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(state->parent, host);
    EXPECT_EQ(state->x, 0);
    EXPECT_EQ(state->y, 0);
    EXPECT_EQ(window.parent()->winId(), host);

    finder_.SetParent(window, 0);
    QGuiApplication::sync();
    state = client_->State(id);
    ASSERT_TRUE(state.has_value());
    EXPECT_EQ(state->parent, client_->Root());
    EXPECT_EQ(window.parent(), nullptr);
}

}  // namespace
}  // namespace tikora::testing
