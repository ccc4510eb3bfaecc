// SPDX-License-Identifier: MIT
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tikora {

struct ProgramCall {
    std::string program;
    std::vector<std::string> arguments;
    // A program that must be installed as well for the call to be of use; empty for none.
    std::string alsoNeeds;
};

// The desktops' own date-and-time settings, in the order they are tried; last, the system's
// command-line tool in a terminal.
const std::vector<ProgramCall>& DateTimeSettingsPrograms();

struct DateTimeSettingsOutcome {
    bool opened = false;
    // When nothing opened: why, naming what was looked for.
    std::string message;
};

// Starts the first of them that `find` locates (it returns the program's path or empty).
DateTimeSettingsOutcome OpenDateTimeSettings(
    const std::function<std::string(const std::string&)>& find,
    const std::function<bool(const std::string&, const std::vector<std::string>&)>& start);

}  // namespace tikora
