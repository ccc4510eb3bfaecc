// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <tuple>
#include <vector>

#include "message_pump.h"
#include "win32/win32_window_finder.h"

namespace tikora {
namespace {

HWND Make(const wchar_t* windowClass, DWORD style, HWND parent, int x, int y, int w, int h) {
    WNDCLASSEXW registration{};
    registration.cbSize = sizeof registration;
    registration.lpfnWndProc = DefWindowProcW;
    registration.lpszClassName = windowClass;
    RegisterClassExW(&registration);  // fails harmlessly once registered
    return CreateWindowExW(0, windowClass, L"", style, x, y, w, h, parent, nullptr, nullptr,
                           nullptr);
}

WindowHandle Id(HWND window) {
    return reinterpret_cast<WindowHandle>(window);
}

auto Corners(const WindowRect& r) {
    return std::tuple(r.left, r.top, r.right, r.bottom);
}

LONG_PTR ChildOrPopup(HWND window) {
    return GetWindowLongPtrW(window, GWL_STYLE) & (WS_CHILD | WS_POPUP);
}

// A taskbar, its notification area and its clock, nested as Explorer does, under classes of the
// test's own (Wine's desktop may have a taskbar), and a window of ours.
class WindowFinderTest : public ::testing::Test {
  protected:
    void TearDown() override {
        DestroyWindow(own_);
        DestroyWindow(tray_);
    }

    Win32WindowFinder finder_;
    HWND tray_ = Make(L"TikoraTestTray", WS_POPUP, nullptr, 100, 600, 400, 40);
    HWND notify_ = Make(L"TikoraTestNotify", WS_CHILD, tray_, 250, 5, 140, 30);
    HWND clock_ = Make(L"TikoraTestClock", WS_CHILD, notify_, 80, 4, 50, 22);
    HWND own_ = Make(L"TikoraTestOwn", WS_POPUP, nullptr, 3, 2, 20, 10);
};

TEST_F(WindowFinderTest, FindsTheChainByClassInAnyCase) {
    EXPECT_EQ(finder_.FindTopLevel("tikoratesttray"), Id(tray_));
    EXPECT_EQ(finder_.FindChild(Id(tray_), "TikoraTestNotify"), Id(notify_));
    EXPECT_EQ(finder_.FindChild(Id(notify_), "TIKORATESTCLOCK"), Id(clock_));
    EXPECT_EQ(finder_.FindChild(Id(tray_), "TikoraTestClock"), 0u) << "a grandchild";
    EXPECT_EQ(finder_.FindChild(0, "TikoraTestNotify"), 0u);
    EXPECT_EQ(finder_.FindTopLevel("TikoraTestNotify"), 0u) << "a child";
}

TEST_F(WindowFinderTest, ChildAtItsPositionInTheParentAndBack) {
    WindowRect rect;
    ASSERT_TRUE(finder_.GetWindowRect(Id(clock_), rect));
    EXPECT_EQ(Corners(rect), std::tuple(430, 609, 480, 631)) << "on the screen";
    finder_.SetParent(Id(own_), Id(clock_));
    EXPECT_EQ(GetParent(own_), clock_);
    EXPECT_EQ(ChildOrPopup(own_), WS_CHILD);
    ASSERT_TRUE(finder_.GetWindowRect(Id(own_), rect));
    EXPECT_EQ(Corners(rect), std::tuple(433, 611, 453, 621));

    finder_.SetParent(Id(own_), 0);
    EXPECT_EQ(GetAncestor(own_, GA_PARENT), GetDesktopWindow());
    EXPECT_EQ(ChildOrPopup(own_), WS_POPUP);
    ASSERT_TRUE(finder_.GetWindowRect(Id(own_), rect));
    EXPECT_EQ(Corners(rect), std::tuple(3, 2, 23, 12));
    DestroyWindow(clock_);
    finder_.SetParent(Id(own_), Id(clock_));
    EXPECT_EQ(ChildOrPopup(own_), WS_POPUP) << "no parent to go into";
    EXPECT_FALSE(finder_.GetWindowRect(Id(clock_), rect));
    EXPECT_EQ(Corners(rect), std::tuple(3, 2, 23, 12)) << "untouched";
}

TEST_F(WindowFinderTest, TellsOfEmbeddingReleaseAndTheHostsEnd) {
    std::vector<HostChange> changes;
    finder_.WatchHost(Id(own_), [&](HostChange change) { changes.push_back(change); });
    finder_.SetParent(Id(own_), Id(clock_));
    finder_.SetParent(Id(own_), 0);
    finder_.SetParent(Id(own_), Id(clock_));
    DestroyWindow(tray_);
    test::PumpUntil([&] { return changes.size() >= 4; });
    EXPECT_EQ(changes, (std::vector{HostChange::Embedded, HostChange::Released,
                                    HostChange::Embedded, HostChange::Destroyed}));
}

TEST_F(WindowFinderTest, NewTaskbarBurstTellsOnceWhileWatched) {
    const UINT taskbarCreated = RegisterWindowMessageW(L"TaskbarCreated");
    int calls = 0;
    finder_.WatchForNewWindows([&] { ++calls; });
    PostMessageW(HWND_BROADCAST, taskbarCreated, 0, 0);
    PostMessageW(HWND_BROADCAST, taskbarCreated, 0, 0);
    test::DispatchWaiting();
    EXPECT_EQ(calls, 1);
    finder_.WatchForNewWindows({});
    PostMessageW(HWND_BROADCAST, taskbarCreated, 0, 0);
    test::DispatchWaiting();
    EXPECT_EQ(calls, 1);
}

}  // namespace
}  // namespace tikora
