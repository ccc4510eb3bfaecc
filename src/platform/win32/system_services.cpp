// SPDX-License-Identifier: MIT
#include "win32/system_services.h"

#include "platform/folders.h"
#include "platform/program_folder.h"
#include "platform/services.h"
#include "platform/settings_location.h"
#include "win32/system_time.h"
#include "win32/win32_clock_setter.h"
#include "win32/win32_clock_wake.h"
#include "win32/win32_system_tray.h"
#include "win32/win32_window_finder.h"

namespace tikora {

void InstallSystemServices() {
    static const Win32TimeSource systemTime;
    static const Win32TimeZone systemZone;
    static Win32WindowFinder windows;
    static Win32SystemTray tray;
    static const Win32ClockSetter clockSetter;
    static const Win32WallClock wallClock;
    static const Win32ZoneRules zoneRules;
    // The zone is read afresh at every reading, so a change of zone needs nothing forgotten.
    static Win32ClockWake clockWake;
    InstallServices(Services{&systemTime, &systemZone, RunningProgramFolder, UserSettingsFile,
                             ReadMountTable, &windows, &tray, &clockSetter, &wallClock, &zoneRules,
                             &clockWake});
}

}  // namespace tikora
