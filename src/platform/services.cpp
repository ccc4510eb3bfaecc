#include "platform/services.h"

#include "platform/folders.h"
#include "platform/program_folder.h"
#include "platform/settings_location.h"

namespace tikora {
namespace {

Services& Current() {
    static Services services;
    return services;
}

}  // namespace

const Services& Platform() {
    return Current();
}

void InstallSystemServices() {
    static const SystemTimeSource systemTime;
    static const SystemTimeZone systemZone;
    static X11WindowFinder windows;
    static X11SystemTray tray;
    static const SystemClockSetter clockSetter;
    Current() =
        Services{&systemTime, &systemZone, RunningProgramFolder, UserSettingsFile, ReadMountTable,
                 &windows,    &tray,       &clockSetter};
}

ScopedServices::ScopedServices(Services replacement) : saved_(Current()) {
    Current() = std::move(replacement);
}

ScopedServices::~ScopedServices() {
    Current() = std::move(saved_);
}

}  // namespace tikora
