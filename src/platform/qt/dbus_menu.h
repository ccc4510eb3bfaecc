// SPDX-License-Identifier: MIT
#pragma once

#include <QAction>
#include <QList>
#include <string>

namespace tikora {

// Puts these actions on the session bus as a com.canonical.dbusmenu menu, so a tray's host draws
// the menu itself, at its icon, where the program cannot place a popup of its own (Wayland).
// Captions, check marks and clicks stay the actions'; a change to one tells the host to read the
// menu again. Returns the menu's object path, empty when the bus would not take it.
std::string ExportDBusMenu(const QList<QAction*>& actions);

}  // namespace tikora
