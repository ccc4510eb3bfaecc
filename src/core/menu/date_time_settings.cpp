// SPDX-License-Identifier: MIT
#include "menu/date_time_settings.h"

namespace tikora {
namespace {

// Shows the clock's state and how to set it, and closes at a key: no shell stays open in it (a
// root shell, when the clock runs as root).
const char kTimedatectlScript[] =
    "timedatectl; echo; echo 'Set the time with: sudo timedatectl set-time HH:MM:SS'; "
    "printf 'Press Enter to close. '; read -r answer";

std::string Looked(const ProgramCall& call) {
    return call.alsoNeeds.empty() ? call.program : call.alsoNeeds + " in " + call.program;
}

}  // namespace

const std::vector<ProgramCall>& DateTimeSettingsPrograms() {
    static const std::vector<ProgramCall> programs = {
        {"gnome-control-center", {"datetime"}, ""},  // GNOME
        {"kcmshell6", {"kcm_clock"}, ""},            // KDE Plasma 6
        {"kcmshell5", {"clock"}, ""},                // KDE Plasma 5
        {"time-admin", {}, ""},                      // Xfce, from gnome-system-tools
        {"lxqt-admin-time", {}, ""},                 // LXQt
        {"mate-time-admin", {}, ""},                 // MATE
        {"cinnamon-settings", {"calendar"}, ""},     // Cinnamon
        {"x-terminal-emulator", {"-e", "sh", "-c", kTimedatectlScript}, "timedatectl"},
        {"xterm", {"-e", "sh", "-c", kTimedatectlScript}, "timedatectl"},
    };
    return programs;
}

DateTimeSettingsOutcome OpenDateTimeSettings(
    const std::function<std::string(const std::string&)>& find,
    const std::function<bool(const std::string&, const std::vector<std::string>&)>& start) {
    std::string looked;
    std::string failed;
    for (const ProgramCall& call : DateTimeSettingsPrograms()) {
        looked += (looked.empty() ? "" : ", ") + Looked(call);
        const std::string path = find(call.program);
        if (path.empty() || (!call.alsoNeeds.empty() && find(call.alsoNeeds).empty())) {
            continue;
        }
        if (start(path, call.arguments)) {
            return {true, ""};
        }
        failed += (failed.empty() ? "" : ", ") + path;
    }
    if (!failed.empty()) {
        return {false, "Could not start " + failed + "."};
    }
    return {false, "No program to set the date and time was found. Looked for: " + looked + "."};
}

}  // namespace tikora
