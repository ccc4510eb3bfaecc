// SPDX-License-Identifier: MIT
#include "shared/command_line.h"

namespace tikora {

CommandLineRequest ReadCommandLine(const std::vector<std::string>& arguments) {
    if (arguments.empty()) {
        return CommandLineRequest::RunClock;
    }
    if (arguments.size() == 1 && (arguments[0] == "--help" || arguments[0] == "-h")) {
        return CommandLineRequest::ShowHelp;
    }
    if (arguments.size() == 1 && arguments[0] == "--version") {
        return CommandLineRequest::ShowVersion;
    }
    return CommandLineRequest::Unknown;
}

std::string CommandLineError(const std::string& programName,
                             const std::vector<std::string>& arguments) {
    const bool firstKnown = ReadCommandLine({arguments.front()}) != CommandLineRequest::Unknown;
    return programName +
           (firstKnown ? ": unexpected argument \"" + arguments[1]
                       : ": unknown option \"" + arguments.front()) +
           "\"\n";
}

std::string UsageText(const std::string& programName, const std::string& settingsPlace) {
    return "Usage: " + programName +
           " [--help | --version]\n"
           "A skinnable clock for the notification area of the taskbar.\n"
           "Click the clock for its menu. Settings: " +
           settingsPlace + "\n";
}

}  // namespace tikora
