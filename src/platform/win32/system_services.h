// SPDX-License-Identifier: MIT
#pragma once

namespace tikora {

// Puts the machine's own services in place of whatever Platform() held: its clock and zone, the
// taskbar's windows, the registry's settings and the files of this user.
void InstallSystemServices();

}  // namespace tikora
