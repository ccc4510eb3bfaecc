// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace tikora {

// What the command line asks of the program. It takes no options of its own beyond these two.
enum class CommandLineRequest { RunClock, ShowHelp, ShowVersion, Unknown };

CommandLineRequest ReadCommandLine(const std::vector<std::string>& arguments);

// For a command line ReadCommandLine does not take: what is wrong with it, naming the argument,
// as "tikora: unknown option "--clock"" and a line feed.
std::string CommandLineError(const std::string& programName,
                             const std::vector<std::string>& arguments);

// The usage text for --help and for an unknown option, ending with a line feed.
std::string UsageText(const std::string& programName, const std::string& settingsPlace);

}  // namespace tikora
