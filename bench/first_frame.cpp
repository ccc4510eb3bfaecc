// SPDX-License-Identifier: MIT
// tikora-bench-first-frame NAME START_NS [TIMEOUT_MS]: watches the X server of $DISPLAY until the
// window whose WM_NAME is NAME is viewable and shows more than one colour, then prints the
// window's id and the milliseconds from START_NS (nanoseconds since the epoch, as `date +%s%N`
// gives them) to that moment. Ends with 1 when the window has not drawn by the timeout (10 s
// unless given). For bench/measure-process: a program's first drawn frame, seen from outside.

#include <xcb/xcb.h>

#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>
#include <thread>
#include <vector>

namespace {

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeDeleter>;

// Nanoseconds since the epoch, the clock `date +%s%N` reads.
long long NowNanoseconds() {
    return std::chrono::duration_cast<std::chrono::nanoseconds>(
               std::chrono::system_clock::now().time_since_epoch())
        .count();
}

bool Named(xcb_connection_t* connection, xcb_window_t window, const std::string& name) {
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, XCB_ATOM_WM_NAME, XCB_ATOM_STRING, 0, 256),
        nullptr));
    return reply && reply->type != XCB_ATOM_NONE &&
           std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply.get()))) ==
               name;
}

xcb_window_t FindByName(xcb_connection_t* connection, xcb_window_t root, const std::string& name) {
    std::vector<xcb_window_t> pending{root};
    while (!pending.empty()) {
        const xcb_window_t window = pending.back();
        pending.pop_back();
        if (Named(connection, window, name)) {
            return window;
        }
        const Reply<xcb_query_tree_reply_t> tree(
            xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
        if (tree) {
            const xcb_window_t* children = xcb_query_tree_children(tree.get());
            pending.insert(pending.end(), children,
                           children + xcb_query_tree_children_length(tree.get()));
        }
    }
    return XCB_WINDOW_NONE;
}

// Viewable and more than one colour among its pixels.
bool Drawn(xcb_connection_t* connection, xcb_window_t window) {
    const Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr));
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    if (!attributes || !geometry || attributes->map_state != XCB_MAP_STATE_VIEWABLE) {
        return false;
    }
    xcb_generic_error_t* error = nullptr;
    const Reply<xcb_get_image_reply_t> image(
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                          geometry->width, geometry->height, ~0u),
                            &error));
    std::free(error);
    if (!image || image->depth != 24) {
        return false;
    }
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image.get()));
    const auto count = static_cast<std::size_t>(xcb_get_image_data_length(image.get())) / 4;
    for (std::size_t i = 1; i < count; ++i) {
        if ((pixels[i] & 0xFFFFFFu) != (pixels[0] & 0xFFFFFFu)) {
            return true;
        }
    }
    return false;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 3) {
        std::fprintf(stderr, "usage: tikora-bench-first-frame NAME START_NS [TIMEOUT_MS]\n");
        return 2;
    }
    const std::string name = argv[1];
    const long long start = std::atoll(argv[2]);
    const long long timeoutMs = argc > 3 ? std::atoll(argv[3]) : 10'000;
    int screenNumber = 0;
    xcb_connection_t* connection = xcb_connect(nullptr, &screenNumber);
    if (xcb_connection_has_error(connection) != 0) {
        std::fprintf(stderr, "tikora-bench-first-frame: no X server\n");
        return 2;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection));
    for (; screenNumber > 0 && screens.rem > 1; --screenNumber) {
        xcb_screen_next(&screens);
    }
    const xcb_window_t root = screens.data->root;
    xcb_window_t window = XCB_WINDOW_NONE;
    int result = 1;
    while ((NowNanoseconds() - start) / 1'000'000 < timeoutMs) {
        if (window == XCB_WINDOW_NONE) {
            window = FindByName(connection, root, name);
        }
        if (window != XCB_WINDOW_NONE && Drawn(connection, window)) {
            const long long drawn = NowNanoseconds();
            std::printf("%u %.1f\n", static_cast<unsigned>(window),
                        static_cast<double>(drawn - start) / 1e6);
            result = 0;
            break;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(2));
    }
    xcb_disconnect(connection);
    return result;
}
