// SPDX-License-Identifier: MIT
#include <QAbstractNativeEventFilter>
#include <QByteArray>
#include <QCoreApplication>
#include <QTimer>
#include <QWindow>
#include <string>

#include "x11/x11_system_tray.h"
#include "x11/xcb_helpers.h"

namespace tikora {
namespace {

// From the freedesktop System Tray and XEmbed protocols.
constexpr std::uint32_t kRequestDock = 0;  // SYSTEM_TRAY_REQUEST_DOCK
constexpr std::uint32_t kXEmbedVersion = 0;
constexpr std::uint32_t kXEmbedMapped = 1;  // XEMBED_MAPPED: the embedder shows the window
constexpr std::uint32_t kVertical = 1;      // _NET_SYSTEM_TRAY_ORIENTATION_VERT

std::string SelectionName() {
    return "_NET_SYSTEM_TRAY_S" + std::to_string(xcb::DefaultScreenNumber());
}

// The first 32-bit figure of a property, if it has one.
std::optional<std::uint32_t> FirstCardinal(xcb_connection_t* connection, xcb_window_t window,
                                           std::string_view property) {
    const std::optional<std::string> bytes =
        xcb::ReadProperty(connection, window, xcb::Atom(connection, property));
    if (!bytes || bytes->size() < sizeof(std::uint32_t)) {
        return std::nullopt;
    }
    std::uint32_t value = 0;
    bytes->copy(reinterpret_cast<char*>(&value), sizeof value);
    return value;
}

// The height of a tray that is on screen, from its window: most trays run their selection from
// the panel's own window. A hidden or off-screen owner says nothing about the panel.
int VisibleHeight(xcb_connection_t* connection, xcb_window_t window) {
    if (!xcb::Viewable(connection, window)) {
        return 0;
    }
    xcb_generic_error_t* error = nullptr;
    const xcb::Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), &error));
    std::free(error);
    return geometry ? geometry->height : 0;
}

}  // namespace

// Hears a tray take the selection: the new owner tells every client with a MANAGER message on the
// root window.
class X11SystemTray::ManagerWatch final : public QAbstractNativeEventFilter {
  public:
    ManagerWatch(xcb_atom_t manager, xcb_atom_t selection, std::function<void()> onNewTray)
        : manager_(manager), selection_(selection), onNewTray_(std::move(onNewTray)) {
        QCoreApplication::instance()->installNativeEventFilter(this);
    }

    bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) override {
        if (eventType != QByteArrayLiteral("xcb_generic_event_t")) {
            return false;
        }
        const auto* event = static_cast<const xcb_generic_event_t*>(message);
        if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE) {
            return false;
        }
        const auto* client = static_cast<const xcb_client_message_event_t*>(message);
        if (client->type == manager_ && client->format == 32 &&
            client->data.data32[1] == selection_) {
            // Not from inside Qt's event dispatch: docking sends requests and moves windows.
            QTimer::singleShot(0, QCoreApplication::instance(), onNewTray_);
        }
        return false;  // Qt keeps its own view of the tray
    }

  private:
    xcb_atom_t manager_;
    xcb_atom_t selection_;
    std::function<void()> onNewTray_;
};

X11SystemTray::X11SystemTray() = default;
X11SystemTray::~X11SystemTray() = default;

TrayHost X11SystemTray::Host() const {
    xcb_connection_t* connection = xcb::QtConnection();
    if (connection == nullptr) {
        return {};
    }
    const xcb_atom_t selection = xcb::Atom(connection, SelectionName());
    const xcb::Reply<xcb_get_selection_owner_reply_t> owner(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, selection), nullptr));
    if (!owner || owner->owner == XCB_WINDOW_NONE) {
        return {};
    }
    TrayHost host;
    host.owner = owner->owner;
    host.vertical =
        FirstCardinal(connection, host.owner, "_NET_SYSTEM_TRAY_ORIENTATION") == kVertical;
    if (!host.vertical) {
        host.iconHeight = VisibleHeight(connection, host.owner);
    }
    return host;
}

bool X11SystemTray::RequestDock(WindowHandle window) {
    xcb_connection_t* connection = xcb::QtConnection();
    const TrayHost host = Host();
    if (connection == nullptr || host.owner == 0) {
        return false;
    }
    const auto id = static_cast<xcb_window_t>(window);
    // The tray maps the window once it holds it (XEMBED_MAPPED); a window that is already mapped
    // gets no width from some trays (GTK's socket). Qt still counts it as shown and paints it
    // when the tray's map exposes it.
    xcb_unmap_window(connection, id);
    const xcb_atom_t xembedInfo = xcb::Atom(connection, "_XEMBED_INFO");
    const std::uint32_t info[] = {kXEmbedVersion, kXEmbedMapped};
    xcb_change_property(connection, XCB_PROP_MODE_REPLACE, id, xembedInfo, xembedInfo, 32, 2, info);

    xcb_client_message_event_t request = {};
    request.response_type = XCB_CLIENT_MESSAGE;
    request.format = 32;
    request.window = host.owner;
    request.type = xcb::Atom(connection, "_NET_SYSTEM_TRAY_OPCODE");
    request.data.data32[0] = XCB_CURRENT_TIME;
    request.data.data32[1] = kRequestDock;
    request.data.data32[2] = id;
    xcb_send_event(connection, 0, host.owner, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&request));
    xcb_flush(connection);
    return true;
}

void X11SystemTray::WatchForNewTray(std::function<void()> onNewTray) {
    watch_.reset();
    xcb_connection_t* connection = xcb::QtConnection();
    if (connection == nullptr || !onNewTray) {
        return;
    }
    // MANAGER goes to clients that hear the root's structure events; Qt's own choice of root
    // events stays as it is.
    const xcb_window_t root = xcb::DefaultRoot(connection);
    const xcb::Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, root), nullptr));
    const std::uint32_t mask =
        (attributes ? attributes->your_event_mask : 0) | XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection, root, XCB_CW_EVENT_MASK, &mask);
    xcb_flush(connection);
    watch_ = std::make_unique<ManagerWatch>(xcb::Atom(connection, "MANAGER"),
                                            xcb::Atom(connection, SelectionName()),
                                            std::move(onNewTray));
}

}  // namespace tikora
