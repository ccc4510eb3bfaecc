// The X11 window finder in a Qt program on a private X server, against windows this test makes
// through a connection of its own.

#include <gtest/gtest.h>

#include <QGuiApplication>
#include <QWindow>
#include <array>
#include <memory>

#include "x11/x11_window_finder.h"
#include "x11/x_harness.h"

namespace tikora::testing {
namespace {

class X11Finder : public ::testing::Test {
  protected:
    static void SetUpTestSuite() {
        server_ = std::make_unique<Xvfb>(320, 200);
        if (!server_->display.empty()) {
            setenv("DISPLAY", server_->display.c_str(), 1);
            setenv("QT_QPA_PLATFORM", "xcb", 1);
            application_ = std::make_unique<QGuiApplication>(argc_, argv_);
        }
    }
    static void TearDownTestSuite() {
        application_.reset();
        server_.reset();
    }

    void SetUp() override {
        if (application_ == nullptr) {
            GTEST_SKIP() << "Xvfb is not installed or did not start";
        }
        x_ = std::make_unique<XClient>(server_->display);
        ASSERT_NE(x_->root, XCB_WINDOW_NONE);
    }

    // A window of the test's own, with WM_CLASS when `windowClass` is given. The windows go with
    // the test's connection.
    xcb_window_t Make(xcb_window_t parent, const char* windowClass, std::int16_t x = 0,
                      std::int16_t y = 0, std::uint16_t width = 10, std::uint16_t height = 10,
                      std::uint16_t border = 0) {
        const xcb_window_t window = xcb_generate_id(x_->connection);
        xcb_create_window(x_->connection, XCB_COPY_FROM_PARENT, window, parent, x, y, width, height,
                          border, XCB_WINDOW_CLASS_INPUT_OUTPUT, XCB_COPY_FROM_PARENT, 0, nullptr);
        if (windowClass != nullptr) {
            const std::string value = "test" + std::string(1, '\0') + windowClass + '\0';
            xcb_change_property(x_->connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS,
                                XCB_ATOM_STRING, 8, static_cast<std::uint32_t>(value.size()),
                                value.data());
        }
        x_->Sync();
        return window;
    }

    static inline std::unique_ptr<Xvfb> server_;
    static inline std::unique_ptr<QGuiApplication> application_;
    static inline int argc_ = 1;
    static inline char name_[] = "tikora_x11_tests";
    static inline char* argv_[] = {name_, nullptr};

    std::unique_ptr<XClient> x_;
    X11WindowFinder finder_;
};

// A taskbar client inside two frames, behind another client with a child of the same class.
TEST_F(X11Finder, FindsClientsByClassIgnoringCaseThroughFrames) {
    Make(Make(x_->root, "Other"), "Shell_TrayWnd");
    const xcb_window_t bar = Make(Make(Make(x_->root, nullptr, 100, 50, 300, 100), nullptr),
                                  "Shell_TrayWnd", 0, 0, 300, 100);
    Make(bar, "Button");
    const xcb_window_t notify = Make(bar, "TrayNotifyWnd", 10, 20, 60, 22, 3);
    Make(bar, "TrayNotifyWnd");

    EXPECT_EQ(finder_.FindTopLevel("shell_TRAYwnd"), bar);
    EXPECT_EQ(finder_.FindTopLevel("Shell_Tray"), 0U);
    EXPECT_EQ(finder_.FindChild(bar, "TRAYNOTIFYWND"), notify);
    EXPECT_EQ(finder_.FindChild(bar, "TrayClockWClass"), 0U);
    EXPECT_EQ(finder_.FindChild(0, "TrayNotifyWnd"), 0U);
    // The outer rectangle, border included, in root coordinates.
    WindowRect rect;
    ASSERT_TRUE(finder_.GetWindowRect(notify, rect));
    EXPECT_EQ((std::array{rect.left, rect.top, rect.right, rect.bottom}),
              (std::array{110, 70, 110 + 66, 70 + 28}));
}

TEST_F(X11Finder, PassesOverVanishedWindows) {
    const xcb_window_t gone = Make(x_->root, "Gone");
    xcb_destroy_window(x_->connection, gone);
    x_->Sync();
    WindowRect rect{1, 2, 3, 4};
    EXPECT_FALSE(finder_.GetWindowRect(gone, rect));
    EXPECT_FALSE(finder_.GetWindowRect(0, rect));
    EXPECT_EQ((std::array{rect.left, rect.top, rect.right, rect.bottom}), (std::array{1, 2, 3, 4}));
    EXPECT_EQ(finder_.FindChild(gone, "Gone"), 0U);
    QWindow window;
    window.create();
    finder_.SetParent(window.winId(), gone);
    EXPECT_EQ(window.parent(), nullptr);
}

}  // namespace
}  // namespace tikora::testing
