#include <QGuiApplication>
#include <QWindow>

#include "x11/x11_window_finder.h"
#include "x11/xcb_helpers.h"

namespace tikora {
namespace {

// Window managers put each client in a frame, sometimes inside a second one; clients lie no deeper.
constexpr int kFrameDepth = 3;

// The WM_CLASS class part of each window, asked for all at once to save round trips.
std::vector<std::optional<std::string>> ClassesOf(xcb_connection_t* connection,
                                                  const std::vector<xcb_window_t>& windows) {
    std::vector<xcb_get_property_cookie_t> cookies;
    cookies.reserve(windows.size());
    for (const xcb_window_t window : windows) {
        cookies.push_back(
            xcb_get_property(connection, 0, window, XCB_ATOM_WM_CLASS, XCB_ATOM_STRING, 0, 256));
    }
    std::vector<std::optional<std::string>> classes;
    classes.reserve(windows.size());
    for (const xcb_get_property_cookie_t cookie : cookies) {
        xcb_generic_error_t* error = nullptr;
        const xcb::Reply<xcb_get_property_reply_t> reply(
            xcb_get_property_reply(connection, cookie, &error));
        std::free(error);
        if (!reply || reply->type == XCB_ATOM_NONE) {
            classes.emplace_back();
            continue;
        }
        const std::string value(
            static_cast<const char*>(xcb_get_property_value(reply.get())),
            static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
        classes.push_back(xcb::ClassPart(value).value_or(std::string()));
    }
    return classes;
}

// Searches `windows` in order. A window with a class is a client: it matches or is passed over
// whole. One without a class may be a frame, and its children are searched while depth remains.
xcb_window_t FindClient(xcb_connection_t* connection, const std::vector<xcb_window_t>& windows,
                        std::string_view windowClass, int depth) {
    const std::vector<std::optional<std::string>> classes = ClassesOf(connection, windows);
    for (std::size_t i = 0; i < windows.size(); ++i) {
        if (classes[i]) {
            if (xcb::EqualIgnoringAsciiCase(*classes[i], windowClass)) {
                return windows[i];
            }
        } else if (depth > 0) {
            const xcb_window_t found = FindClient(connection, xcb::Children(connection, windows[i]),
                                                  windowClass, depth - 1);
            if (found != XCB_WINDOW_NONE) {
                return found;
            }
        }
    }
    return XCB_WINDOW_NONE;
}

}  // namespace

WindowHandle X11WindowFinder::FindTopLevel(std::string_view windowClass) const {
    xcb_connection_t* connection = xcb::QtConnection();
    if (connection == nullptr) {
        return 0;
    }
    const xcb_window_t root = xcb::DefaultRoot(connection);
    return FindClient(connection, xcb::Children(connection, root), windowClass, kFrameDepth);
}

WindowHandle X11WindowFinder::FindChild(WindowHandle parent, std::string_view windowClass) const {
    xcb_connection_t* connection = xcb::QtConnection();
    if (connection == nullptr || parent == 0) {
        return 0;
    }
    const std::vector<xcb_window_t> children = xcb::Children(connection, parent);
    const std::vector<std::optional<std::string>> classes = ClassesOf(connection, children);
    for (std::size_t i = 0; i < children.size(); ++i) {
        if (classes[i] && xcb::EqualIgnoringAsciiCase(*classes[i], windowClass)) {
            return children[i];
        }
    }
    return 0;
}

bool X11WindowFinder::GetWindowRect(WindowHandle window, WindowRect& rect) const {
    xcb_connection_t* connection = xcb::QtConnection();
    if (connection == nullptr || window == 0) {
        return false;
    }
    xcb_generic_error_t* error = nullptr;
    const xcb::Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), &error));
    std::free(error);
    if (!geometry) {
        return false;
    }
    error = nullptr;
    // Where the window's inside begins, in the root's coordinates; the border lies round it.
    const xcb::Reply<xcb_translate_coordinates_reply_t> origin(xcb_translate_coordinates_reply(
        connection, xcb_translate_coordinates(connection, window, geometry->root, 0, 0), &error));
    std::free(error);
    if (!origin) {
        return false;
    }
    const std::int32_t border = geometry->border_width;
    rect.left = origin->dst_x - border;
    rect.top = origin->dst_y - border;
    rect.right = rect.left + geometry->width + 2 * border;
    rect.bottom = rect.top + geometry->height + 2 * border;
    return true;
}

namespace {

QWindow* OwnWindow(WindowHandle id) {
    for (QWindow* window : QGuiApplication::allWindows()) {
        if (window->handle() != nullptr && window->winId() == id) {
            return window;
        }
    }
    return nullptr;
}

}  // namespace

void X11WindowFinder::SetParent(WindowHandle childId, WindowHandle parent) {
    QWindow* found = OwnWindow(childId);
    if (found == nullptr) {
        return;
    }
    QWindow& child = *found;
    QWindow* previous = child.parent();
    if (parent == 0) {
        child.setParent(nullptr);
    } else {
        WindowRect unused;
        // Only a window that exists: Qt would report the X error of a vanished one.
        if (!GetWindowRect(parent, unused)) {
            return;
        }
        QWindow* host = QWindow::fromWinId(static_cast<WId>(parent));
        if (host == nullptr) {
            return;
        }
        child.setParent(host);
    }
    // The stand-in for the old foreign parent has no use once its child has left it.
    if (previous != nullptr && previous->type() == Qt::ForeignWindow &&
        previous != child.parent()) {
        delete previous;
    }
}

}  // namespace tikora
