// SPDX-License-Identifier: MIT
#pragma once

namespace tikora {

// True when the Wayland compositor that WAYLAND_DISPLAY names takes connections.
bool CanOpenWaylandDisplay();

}  // namespace tikora
