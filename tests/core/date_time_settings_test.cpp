// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <set>

#include "menu/date_time_settings.h"

namespace tikora {
namespace {

TEST(DateTimeSettings, StartsTheFirstInstalledToolThatStartsElseSaysWhatItLookedFor) {
    struct Case {
        std::set<std::string> installed;
        std::set<std::string> broken;  // installed, but will not start
        std::string started;           // "program first-argument", or the message
    };
    const Case cases[] = {
        {{"time-admin", "kcmshell5", "mate-time-admin"}, {}, "kcmshell5 clock"},
        {{"gnome-control-center", "lxqt-admin-time"}, {"gnome-control-center"}, "lxqt-admin-time"},
        {{"xterm", "timedatectl"}, {}, "xterm -e"},
        {{"x-terminal-emulator", "xterm"},  // a terminal is no use without the tool
         {},
         "No program to set the date and time was found. Looked for: gnome-control-center, "
         "kcmshell6, kcmshell5, time-admin, lxqt-admin-time, mate-time-admin, cinnamon-settings, "
         "timedatectl in x-terminal-emulator, timedatectl in xterm."},
        {{"cinnamon-settings"}, {"cinnamon-settings"}, "Could not start /bin/cinnamon-settings."},
    };
    for (const Case& c : cases) {
        std::string started;
        const DateTimeSettingsOutcome outcome = OpenDateTimeSettings(
            [&](const std::string& program) {
                return c.installed.contains(program) ? "/bin/" + program : std::string();
            },
            [&](const std::string& path, const std::vector<std::string>& arguments) {
                if (c.broken.contains(path.substr(5))) {
                    return false;
                }
                started = path.substr(5) + (arguments.empty() ? "" : " " + arguments.front());
                return true;
            });
        EXPECT_EQ(outcome.opened ? started : outcome.message, c.started);
        EXPECT_EQ(outcome.opened, !started.empty());
    }
}

}  // namespace
}  // namespace tikora
