#include <gtest/gtest.h>

#include <set>

#include "menu/date_time_settings.h"

namespace tikora {
namespace {

// What was started ("path arguments..."), or "(none)" when nothing was.
std::string Open(const std::set<std::string>& installed) {
    std::string started = "(none)";
    const bool ok = OpenDateTimeSettings(
        [&](const std::string& program) {
            return installed.contains(program) ? "/usr/bin/" + program : std::string();
        },
        [&](const std::string& path, const std::vector<std::string>& arguments) {
            started = path + (arguments.empty() ? "" : " " + arguments.front());
            return true;
        });
    EXPECT_EQ(ok, started != "(none)");
    return started;
}

TEST(DateTimeSettings, StartsTheFirstInstalledProgramAndNothingWhenNoneIs) {
    EXPECT_EQ(Open({"time-admin", "kcmshell5"}), "/usr/bin/kcmshell5 clock");
    EXPECT_EQ(Open({}), "(none)");
}

}  // namespace
}  // namespace tikora
