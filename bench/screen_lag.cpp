// SPDX-License-Identifier: MIT
// tikora-bench-screen-lag WINDOW minute
// tikora-bench-screen-lag WINDOW set FILE MILLISECONDS
// Reads the window's pixels from the X server of $DISPLAY about once a millisecond and prints the
// milliseconds from a moment to the first reading that differs from the picture before it:
//   minute  the next minute boundary of the wall clock (reading from 300 ms before it);
//   set     the moment MILLISECONDS is written into FILE, the clock shift that
//           libtikora-bench-clock-shift.so gives the window's program (in one rename).
// Prints "-" when nothing changed within 5 s. For bench/measure-process.

#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

using Clock = std::chrono::system_clock;

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};

std::vector<std::uint8_t> Picture(xcb_connection_t* connection, xcb_window_t window) {
    const std::unique_ptr<xcb_get_geometry_reply_t, FreeDeleter> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    if (!geometry) {
        return {};
    }
    const std::unique_ptr<xcb_get_image_reply_t, FreeDeleter> image(
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                          geometry->width, geometry->height, ~0u),
                            nullptr));
    if (!image) {
        return {};
    }
    const std::uint8_t* data = xcb_get_image_data(image.get());
    return {data, data + xcb_get_image_data_length(image.get())};
}

// Milliseconds from `from` to the first picture unlike `before`, or a negative number.
double FirstChange(xcb_connection_t* connection, xcb_window_t window,
                   const std::vector<std::uint8_t>& before, Clock::time_point from) {
    while (Clock::now() < from + std::chrono::seconds(5)) {
        if (Picture(connection, window) != before) {
            return std::chrono::duration<double, std::milli>(Clock::now() - from).count();
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return -1;
}

}  // namespace

int main(int argc, char* argv[]) {
    const std::string mode = argc > 2 ? argv[2] : "";
    if (!(mode == "minute" && argc == 3) && !(mode == "set" && argc == 5)) {
        std::fprintf(stderr,
                     "usage: tikora-bench-screen-lag WINDOW minute\n"
                     "       tikora-bench-screen-lag WINDOW set FILE MILLISECONDS\n");
        return 2;
    }
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "tikora-bench-screen-lag: no X server\n");
        return 2;
    }
    const auto window = static_cast<xcb_window_t>(std::strtoul(argv[1], nullptr, 0));
    Clock::time_point from;
    std::vector<std::uint8_t> before;
    if (mode == "minute") {
        from = std::chrono::ceil<std::chrono::minutes>(Clock::now());
        std::this_thread::sleep_until(from - std::chrono::milliseconds(300));
        before = Picture(connection, window);
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        // Whatever the window showed in the last moments of the minute.
        while (Clock::now() < from) {
            before = Picture(connection, window);
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
        }
    } else {
        before = Picture(connection, window);
        const std::string file = argv[3];
        std::ofstream(file + ".new") << argv[4] << "\n";
        from = Clock::now();
        std::rename((file + ".new").c_str(), file.c_str());
    }
    const double lag = FirstChange(connection, window, before, from);
    if (lag < 0) {
        std::puts("-");
    } else {
        std::printf("%.1f\n", lag);
    }
    xcb_disconnect(connection);
    return before.empty() ? 1 : 0;
}
