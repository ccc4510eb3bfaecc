// SPDX-License-Identifier: MIT
#pragma once

namespace tikora {

// Puts the machine's own services in place of whatever Platform() held: its clock and zone, the
// desktop's windows and tray over Qt's X connection, and the files of this user.
void InstallSystemServices();

}  // namespace tikora
