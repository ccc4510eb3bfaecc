// SPDX-License-Identifier: MIT
// tikora-fixture-taskbar: a stand-in for the desktop's taskbar, for the X11 tests and
// bench/measure-process. A window of class "Shell_TrayWnd" in a frame of the kind a window manager
// puts round its clients, inside it a "TrayNotifyWnd", inside that a 60 x 22 "TrayClockWClass"
// window; before them, lower in the stack, another program's window with a "Shell_TrayWnd" child
// that a search for top-level windows must pass over. Prints the clock window's id on one line,
// then stays until it is killed or the X server goes away.

#include <xcb/xcb.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

constexpr std::uint16_t kClockWidth = 60;
constexpr std::uint16_t kClockHeight = 22;

xcb_window_t MakeWindow(xcb_connection_t* connection, const xcb_screen_t& screen,
                        xcb_window_t parent, const std::string& windowClass, std::int16_t x,
                        std::int16_t y, std::uint16_t width, std::uint16_t height,
                        std::uint32_t colour) {
    const xcb_window_t window = xcb_generate_id(connection);
    const std::uint32_t values[] = {colour};
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, window, parent, x, y, width, height, 0,
                      XCB_WINDOW_CLASS_INPUT_OUTPUT, screen.root_visual, XCB_CW_BACK_PIXEL, values);
    // WM_CLASS: the instance and the class, each ending in NUL.
    const std::string wmClass = "fixture-taskbar" + std::string(1, '\0') + windowClass + '\0';
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_CLASS,
                        XCB_ATOM_STRING, 8, static_cast<std::uint32_t>(wmClass.size()),
                        wmClass.data());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, window, XCB_ATOM_WM_NAME,
                        XCB_ATOM_STRING, 8, static_cast<std::uint32_t>(windowClass.size()),
                        windowClass.data());
    return window;
}

}  // namespace

int main() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "fixture-taskbar: no X server\n");
        return 1;
    }
    const xcb_screen_t& screen = *xcb_setup_roots_iterator(xcb_get_setup(connection)).data;
    const std::uint16_t barHeight = kClockHeight + 8;
    const auto barTop = static_cast<std::int16_t>(screen.height_in_pixels - barHeight);
    const xcb_window_t other =
        MakeWindow(connection, screen, screen.root, "Other", 0, 0, 10, 10, 0);
    MakeWindow(connection, screen, other, "Shell_TrayWnd", 0, 0, 10, 10, 0);
    const xcb_window_t frame = xcb_generate_id(connection);
    xcb_create_window(connection, XCB_COPY_FROM_PARENT, frame, screen.root, 0, barTop,
                      screen.width_in_pixels, barHeight, 0, XCB_WINDOW_CLASS_INPUT_OUTPUT,
                      screen.root_visual, 0, nullptr);
    const xcb_window_t bar = MakeWindow(connection, screen, frame, "Shell_TrayWnd", 0, 0,
                                        screen.width_in_pixels, barHeight, 0x3C4A5A);
    const std::uint16_t notifyWidth = kClockWidth + 40;
    const xcb_window_t notify =
        MakeWindow(connection, screen, bar, "TrayNotifyWnd",
                   static_cast<std::int16_t>(screen.width_in_pixels - notifyWidth - 4), 2,
                   notifyWidth, barHeight - 4, 0x26303A);
    const xcb_window_t clock = MakeWindow(connection, screen, notify, "TrayClockWClass", 30, 2,
                                          kClockWidth, kClockHeight, 0xC0C0C0);
    xcb_map_window(connection, clock);
    xcb_map_window(connection, notify);
    xcb_map_window(connection, bar);
    xcb_map_window(connection, frame);
    xcb_flush(connection);

    std::printf("%u\n", static_cast<unsigned>(clock));
    std::fflush(stdout);
    while (xcb_generic_event_t* event = xcb_wait_for_event(connection)) {
        std::free(event);
    }
    xcb_disconnect(connection);
    return 0;
}
