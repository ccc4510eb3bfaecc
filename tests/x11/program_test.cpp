// SPDX-License-Identifier: MIT
// The clock program's command line, and its start with no display.

#include <gtest/gtest.h>
#include <sys/wait.h>

#include <cstdio>
#include <string>
#include <utility>

#include "support/temp_folder.h"

namespace tikora::testing {
namespace {

// A shell command run to its end under timeout(1): its exit status and both its outputs.
std::pair<int, std::string> Shell(const std::string& command) {
    FILE* pipe = popen(("timeout -k 2 30 " + command + " 2>&1").c_str(), "r");
    std::string output;
    for (char buffer[256]; std::fgets(buffer, sizeof buffer, pipe) != nullptr;) {
        output += buffer;
    }
    const int status = pclose(pipe);
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

TEST(Program, AnswersItsCommandLineAndSaysWhenThereIsNoDisplay) {
    const TempFolder home;
    const char* x11 = "QT_QPA_PLATFORM=xcb";
    const char* none = "-u QT_QPA_PLATFORM -u WAYLAND_DISPLAY";
    const std::tuple<const char*, std::string, int, std::string> cases[] = {
        {x11, "--help", 0, "Usage: tikora [--help | --version]\n"},
        {x11, "--version", 0, "tikora "},
        {x11, "--clock", 2,
         "tikora: unknown option \"--clock\"\nUsage: tikora [--help | --version]\n"},
        {x11, "", 1, "tikora: cannot open display \"\"\n"},
        {none, "", 1,
         "tikora: neither a Wayland display (WAYLAND_DISPLAY \"\") nor an X display (DISPLAY "
         "\"\") can be opened\n"}};
    for (const auto& [platform, argument, status, start] : cases) {
        const auto [exitStatus, output] =
            Shell(std::string("env -u DISPLAY ") + platform + " HOME=" + home.Path().string() +
                  " " TIKORA_BINARY " " + argument);
        EXPECT_EQ(exitStatus, status) << argument;
        EXPECT_EQ(output.substr(0, start.size()), start) << argument;
    }
}

}  // namespace
}  // namespace tikora::testing
