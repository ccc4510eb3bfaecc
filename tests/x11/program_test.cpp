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
    const std::tuple<std::string, int, std::string> cases[] = {
        {"--help", 0, "Usage: tikora [--help | --version]\n"},
        {"--version", 0, "tikora "},
        {"--clock", 2, "tikora: unknown option \"--clock\"\nUsage: tikora [--help | --version]\n"},
        {"", 1, "tikora: cannot open display \"\"\n"}};
    for (const auto& [argument, status, start] : cases) {
        const auto [exitStatus, output] =
            Shell("env -u DISPLAY QT_QPA_PLATFORM=xcb HOME=" + home.Path().string() +
                  " " TIKORA_BINARY " " + argument);
        EXPECT_EQ(exitStatus, status) << argument;
        EXPECT_EQ(output.substr(0, start.size()), start) << argument;
    }
}

}  // namespace
}  // namespace tikora::testing
