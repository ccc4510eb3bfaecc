#include "menu/date_time_settings.h"

namespace tikora {

const std::vector<ProgramCall>& DateTimeSettingsPrograms() {
    static const std::vector<ProgramCall> programs = {
        {"gnome-control-center", {"datetime"}},  // GNOME
        {"cinnamon-settings", {"calendar"}},     // Cinnamon
        {"kcmshell6", {"kcm_clock"}},            // KDE Plasma 6
        {"kcmshell5", {"clock"}},                // KDE Plasma 5
        {"mate-time-admin", {}},                 // MATE
        {"lxqt-admin-time", {}},                 // LXQt
        {"time-admin", {}},                      // Xfce and others, from gnome-system-tools
    };
    return programs;
}

bool OpenDateTimeSettings(
    const std::function<std::string(const std::string&)>& find,
    const std::function<bool(const std::string&, const std::vector<std::string>&)>& start) {
    for (const ProgramCall& call : DateTimeSettingsPrograms()) {
        const std::string path = find(call.program);
        if (!path.empty()) {
            return start(path, call.arguments);
        }
    }
    return false;
}

}  // namespace tikora
