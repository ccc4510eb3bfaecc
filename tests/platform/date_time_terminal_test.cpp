// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

#include "menu/date_time_settings.h"

namespace tikora {
namespace {

// The terminal's script shows the state and closes at Enter: what is typed after goes nowhere.
TEST(DateTimeSettings, TheTerminalClosesAtAKeyWithNoShellLeftOpen) {
    const std::vector<std::string>& xterm = DateTimeSettingsPrograms().back().arguments;
    const std::string command = "printf '\\nLEFT OPEN\\n' | SHELL=/bin/cat timeout 10 " + xterm[1] +
                                " " + xterm[2] + " \"$SCRIPT\" 2>&1";
    setenv("SCRIPT", xterm[3].c_str(), 1);
    FILE* terminal = popen(command.c_str(), "r");
    std::string shown(4096, '\0');
    shown.resize(std::fread(shown.data(), 1, shown.size(), terminal));
    EXPECT_EQ(pclose(terminal), 0) << shown;
    EXPECT_TRUE(shown.ends_with("Press Enter to close. ")) << shown;
}

}  // namespace
}  // namespace tikora
