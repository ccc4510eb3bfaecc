// SPDX-License-Identifier: MIT
#include "shared/command_line.h"

#include <gtest/gtest.h>

namespace tikora {
namespace {

TEST(CommandLine, TakesNothingButHelpAndVersion) {
    using Request = CommandLineRequest;
    const std::vector<std::pair<std::vector<std::string>, Request>> cases = {
        {{}, Request::RunClock},           {{"--help"}, Request::ShowHelp},
        {{"-h"}, Request::ShowHelp},       {{"--version"}, Request::ShowVersion},
        {{"--Version"}, Request::Unknown}, {{"--help", "--version"}, Request::Unknown},
        {{"clock"}, Request::Unknown},     {{""}, Request::Unknown},
    };
    for (const auto& [arguments, expected] : cases) {
        EXPECT_EQ(ReadCommandLine(arguments), expected) << ::testing::PrintToString(arguments);
    }
    EXPECT_EQ(CommandLineError("tikora", {"--clock", "x"}), "tikora: unknown option \"--clock\"\n");
    EXPECT_EQ(CommandLineError("tikora", {"-h", "x"}), "tikora: unexpected argument \"x\"\n");
}

}  // namespace
}  // namespace tikora
