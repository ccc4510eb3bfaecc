// SPDX-License-Identifier: MIT
#include "qt/system_services.h"

#include "platform/folders.h"
#include "platform/program_folder.h"
#include "platform/services.h"
#include "platform/settings_location.h"
#include "posix/system_time_source.h"
#include "posix/system_time_zone.h"
#include "posix/system_zone_rules.h"
#include "qt/status_notifier_item.h"
#include "qt/system_clock_setter.h"
#include "qt/system_clock_wake.h"
#include "x11/x11_system_tray.h"
#include "x11/x11_window_finder.h"

namespace tikora {

void InstallSystemServices() {
    static const SystemTimeSource systemTime;
    static SystemTimeZone systemZone;
    static X11WindowFinder windows;
    static X11SystemTray tray;
    static const SystemClockSetter clockSetter;
    static const SystemWallClock wallClock;
    static const SystemZoneRules zoneRules;
    static SystemClockWake clockWake([] { systemZone.Forget(); });
    // Never destroyed: at the process's end the bus's own thread, which a QObject on the bus waits
    // for as it goes, may be gone already.
    static StatusNotifierItem& items = *new StatusNotifierItem;
    InstallServices(Services{&systemTime, &systemZone, RunningProgramFolder, UserSettingsFile,
                             ReadMountTable, &windows, &tray, &clockSetter, &wallClock, &zoneRules,
                             &clockWake, &items});
}

}  // namespace tikora
