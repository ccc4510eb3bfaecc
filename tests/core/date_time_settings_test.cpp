#include <gtest/gtest.h>

#include "menu/date_time_settings.h"

namespace tikora {
namespace {

struct Started {
    std::string path;
    std::vector<std::string> arguments;
};

TEST(DateTimeSettings, StartsTheFirstInstalledProgram) {
    Started started;
    const bool ok = OpenDateTimeSettings(
        [](const std::string& program) {
            return program == "kcmshell5" || program == "time-admin" ? "/usr/bin/" + program
                                                                     : std::string();
        },
        [&](const std::string& path, const std::vector<std::string>& arguments) {
            started = {path, arguments};
            return true;
        });
    EXPECT_TRUE(ok);
    EXPECT_EQ(started.path, "/usr/bin/kcmshell5");
    EXPECT_EQ(started.arguments, std::vector<std::string>{"clock"});
}

TEST(DateTimeSettings, NothingInstalledStartsNothing) {
    int starts = 0;
    EXPECT_FALSE(OpenDateTimeSettings(
        [](const std::string&) { return std::string(); },
        [&](const std::string&, const std::vector<std::string>&) { return ++starts > 0; }));
    EXPECT_EQ(starts, 0);
}

}  // namespace
}  // namespace tikora
