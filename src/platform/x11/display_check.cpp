// SPDX-License-Identifier: MIT
#include "x11/display_check.h"

#include <xcb/xcb.h>

namespace tikora {

bool CanOpenDisplay() {
    xcb_connection_t* connection = xcb_connect(nullptr, nullptr);
    const bool connected = xcb_connection_has_error(connection) == 0;
    xcb_disconnect(connection);
    return connected;
}

}  // namespace tikora
