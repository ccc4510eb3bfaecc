// SPDX-License-Identifier: MIT
#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QGuiApplication>
#include <QTimer>
#include <QWindow>
#include <set>

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

// Hears what happens to the watched window of ours and to the root window's children, and keeps
// the X errors about a window of ours that its host destroyed away from Qt's log: Qt goes on
// sending requests about it until the window is made anew.
class X11WindowFinder::EventWatch final : public QAbstractNativeEventFilter {
  public:
    EventWatch() {
        QCoreApplication::instance()->installNativeEventFilter(this);
        newWindowsQuiet_.setSingleShot(true);
        // Windows come in bursts (a frame, then its client, then its children): one call after.
        newWindowsQuiet_.setInterval(300);
        QObject::connect(&newWindowsQuiet_, &QTimer::timeout, [this] {
            if (onNewWindows_) {
                onNewWindows_();
            }
        });
    }
    // No destructor of its own: the base class uninstalls the filter, and only while the
    // application still exists (the finder is process-wide and may outlive it).
    EventWatch(const EventWatch&) = delete;
    EventWatch& operator=(const EventWatch&) = delete;

    void Watch(xcb_window_t window, std::function<void(HostChange)> onChange) {
        if (kdeChangeState_ == XCB_ATOM_NONE && xcb::QtConnection() != nullptr) {
            kdeChangeState_ = xcb::Atom(xcb::QtConnection(), "_KDE_WM_CHANGE_STATE");
        }
        watched_ = window;
        onHostChange_ = std::move(onChange);
    }

    void WatchRoot(std::function<void()> onNewWindows) {
        onNewWindows_ = std::move(onNewWindows);
        if (!onNewWindows_) {
            newWindowsQuiet_.stop();
        }
        xcb_connection_t* connection = xcb::QtConnection();
        if (connection == nullptr) {
            return;
        }
        // Qt's own choice of root events stays as it is; the children's comings are added while
        // they are wanted.
        const xcb_window_t root = xcb::DefaultRoot(connection);
        const xcb::Reply<xcb_get_window_attributes_reply_t> attributes(
            xcb_get_window_attributes_reply(connection, xcb_get_window_attributes(connection, root),
                                            nullptr));
        std::uint32_t mask = attributes ? attributes->your_event_mask : 0;
        mask = onNewWindows_ ? mask | XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY
                             : mask & ~std::uint32_t{XCB_EVENT_MASK_SUBSTRUCTURE_NOTIFY};
        xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
        xcb_flush(connection);
        root_ = root;
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != QByteArrayLiteral("xcb_generic_event_t")) {
            return false;
        }
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        switch (event->response_type & 0x7F) {
            case 0:
                return dead_.contains(
                    static_cast<const xcb_generic_error_t*>(message)->resource_id);
            case XCB_REPARENT_NOTIFY: {
                const auto* reparent = static_cast<const xcb_reparent_notify_event_t*>(message);
                // Each change once: as the window hears it, not as its old or new parent does.
                if (reparent->event == reparent->window && reparent->window == watched_) {
                    const bool onRoot = reparent->parent == xcb::DefaultRoot(xcb::QtConnection());
                    Tell(onRoot ? HostChange::Released : HostChange::Embedded);
                }
                break;
            }
            case XCB_DESTROY_NOTIFY: {
                const auto* destroyed = static_cast<const xcb_destroy_notify_event_t*>(message);
                if (destroyed->window == watched_ && destroyed->event == destroyed->window) {
                    dead_.insert(watched_);
                    watched_ = XCB_WINDOW_NONE;
                    Tell(HostChange::Destroyed);
                }
                break;
            }
            case XCB_CLIENT_MESSAGE: {
                // Some window managers tell a window this besides the standard state message;
                // Qt would report it as unknown each time.
                const auto* client = static_cast<const xcb_client_message_event_t*>(message);
                return client->window == watched_ && client->type == kdeChangeState_;
            }
            case XCB_MAP_NOTIFY: {
                const auto* mapped = static_cast<const xcb_map_notify_event_t*>(message);
                if (onNewWindows_ && mapped->event == root_ && !mapped->override_redirect) {
                    newWindowsQuiet_.start();
                }
                break;
            }
            default:
                break;
        }
        return false;
    }

  private:
    // Not from inside Qt's event dispatch: the answer moves windows and sends requests.
    void Tell(HostChange change) {
        if (onHostChange_) {
            QTimer::singleShot(0, QCoreApplication::instance(),
                               [callback = onHostChange_, change] { callback(change); });
        }
    }

    xcb_window_t watched_ = XCB_WINDOW_NONE;
    xcb_window_t root_ = XCB_WINDOW_NONE;
    xcb_atom_t kdeChangeState_ = XCB_ATOM_NONE;
    std::function<void(HostChange)> onHostChange_;
    std::function<void()> onNewWindows_;
    QTimer newWindowsQuiet_;
    std::set<std::uint32_t> dead_;
};

X11WindowFinder::X11WindowFinder() = default;
X11WindowFinder::~X11WindowFinder() = default;

X11WindowFinder::EventWatch& X11WindowFinder::Events() {
    if (!events_) {
        events_ = std::make_unique<EventWatch>();
    }
    return *events_;
}

void X11WindowFinder::SetFloatingHints(WindowHandle window) {
    xcb_connection_t* connection = xcb::QtConnection();
    if (connection == nullptr || window == 0) {
        return;
    }
    const auto id = static_cast<xcb_window_t>(window);
    const auto atoms = [&](std::initializer_list<std::string_view> names) {
        std::vector<xcb_atom_t> list;
        for (const std::string_view name : names) {
            list.push_back(xcb::Atom(connection, name));
        }
        return list;
    };
    // A utility window, never a dock: a tiling window manager makes a bar of a dock (i3), and
    // floats a utility window. The states keep it above, on every desktop, out of the lists.
    const std::vector<xcb_atom_t> type = atoms({"_NET_WM_WINDOW_TYPE_UTILITY"});
    const std::vector<xcb_atom_t> states =
        atoms({"_NET_WM_STATE_ABOVE", "_NET_WM_STATE_STICKY", "_NET_WM_STATE_SKIP_TASKBAR",
               "_NET_WM_STATE_SKIP_PAGER"});
    const std::uint32_t everyDesktop = 0xFFFFFFFF;
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id,
                        xcb::Atom(connection, "_NET_WM_WINDOW_TYPE"), XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(type.size()), type.data());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id,
                        xcb::Atom(connection, "_NET_WM_STATE"), XCB_ATOM_ATOM, 32,
                        static_cast<std::uint32_t>(states.size()), states.data());
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id,
                        xcb::Atom(connection, "_NET_WM_DESKTOP"), XCB_ATOM_CARDINAL, 32, 1,
                        &everyDesktop);
    xcb_flush(connection);
}

namespace {

bool IsDock(xcb_connection_t* connection, xcb_window_t window) {
    const std::optional<std::string> types =
        xcb::ReadProperty(connection, window, xcb::Atom(connection, "_NET_WM_WINDOW_TYPE"));
    const xcb_atom_t dock = xcb::Atom(connection, "_NET_WM_WINDOW_TYPE_DOCK");
    for (std::size_t at = 0; types && at + sizeof dock <= types->size(); at += sizeof dock) {
        if (types->compare(at, sizeof dock,
                           std::string_view(reinterpret_cast<const char*>(&dock), sizeof dock)) ==
            0) {
            return true;
        }
    }
    return false;
}

// The shown dock windows among `windows` and, through window-manager frames, below them.
void CollectDocks(const X11WindowFinder& finder, xcb_connection_t* connection,
                  const std::vector<xcb_window_t>& windows, int depth,
                  std::vector<WindowRect>& docks) {
    for (const xcb_window_t window : windows) {
        if (!xcb::Viewable(connection, window)) {
            continue;
        }
        WindowRect rect;
        if (IsDock(connection, window) && finder.GetWindowRect(window, rect)) {
            docks.push_back(rect);
        } else if (depth > 0) {
            CollectDocks(finder, connection, xcb::Children(connection, window), depth - 1, docks);
        }
    }
}

}  // namespace

std::vector<WindowRect> X11WindowFinder::Panels() const {
    std::vector<WindowRect> docks;
    if (xcb_connection_t* connection = xcb::QtConnection()) {
        CollectDocks(*this, connection, xcb::Children(connection, xcb::DefaultRoot(connection)),
                     kFrameDepth, docks);
    }
    return docks;
}

void X11WindowFinder::WatchHost(WindowHandle window, std::function<void(HostChange)> onChange) {
    Events().Watch(static_cast<xcb_window_t>(window), std::move(onChange));
}

void X11WindowFinder::WatchForNewWindows(std::function<void()> onNewWindows) {
    Events().WatchRoot(std::move(onNewWindows));
}

}  // namespace tikora
