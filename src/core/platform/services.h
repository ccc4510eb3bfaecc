// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>

#include "platform/clock_setter.h"
#include "platform/clock_wake.h"
#include "platform/item_tray.h"
#include "platform/system_tray.h"
#include "platform/time_source.h"
#include "platform/time_zone.h"
#include "platform/window_finder.h"
#include "platform/zone_rules.h"

namespace tikora {

// The operating-system services the program reads through. The executable installs the real
// ones at start (InstallSystemServices); tests swap in fakes for the length of a test with
// ScopedServices.
struct Services {
    const TimeSource* time = nullptr;
    const TimeZoneSource* zone = nullptr;
    std::function<std::string()> programFolder;
    // Where the per-user settings store lives.
    std::function<std::string()> settingsFile;
    // The table of mounted file systems the skin chooser offers as drives.
    std::function<std::string()> mountTable;
    // The desktop's windows and its system tray; null finds nothing and docks nowhere.
    WindowFinder* windows = nullptr;
    SystemTray* tray = nullptr;
    // Sets the machine's clock; null leaves it alone.
    const ClockSetter* clockSetter = nullptr;
    // The clock as the preferences window reads it, and the zone's rules at any instant.
    const WallClock* wallClock = nullptr;
    const ZoneRules* zoneRules = nullptr;
    // Wakes the clock; null wakes it never, and it then draws only when its tick is called.
    ClockWake* clockWake = nullptr;
    // The tray that takes items over the session bus; null shows none.
    ItemTray* items = nullptr;
};

const Services& Platform();
// For the program's start: these services from now on.
void InstallServices(Services services);

class ScopedServices {
  public:
    explicit ScopedServices(Services replacement);
    ~ScopedServices();
    ScopedServices(const ScopedServices&) = delete;
    ScopedServices& operator=(const ScopedServices&) = delete;

  private:
    Services saved_;
};

}  // namespace tikora
