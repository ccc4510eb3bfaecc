// SPDX-License-Identifier: MIT
#pragma once

namespace tikora {

// True when the X server that $DISPLAY names accepts a connection. Qt aborts the process when it
// cannot connect; asking first lets the program say so plainly.
bool CanOpenDisplay();

}  // namespace tikora
