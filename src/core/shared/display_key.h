// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tikora {

// The name one clock per display is kept under. X display names that reach one server through
// its local socket are one key (":0", ":0.0", "unix:0", "unix/:0", ":00" and
// "/tmp/.X11-unix/X0" all give ":0"); a name over the network ("localhost:0", "host:0") stays its
// own, as another server may answer there. On Wayland, or on X11 with no X display named, the key
// is the compositor's socket name ("wayland:wayland-0", the default on Wayland); with neither,
// the user alone (""). No key holds a "/".
std::string DisplayKey(const std::string& x11Display, const std::string& waylandDisplay,
                       bool onWayland);

}  // namespace tikora
