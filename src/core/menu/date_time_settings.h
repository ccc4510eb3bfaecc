#pragma once

#include <functional>
#include <string>
#include <vector>

namespace tikora {

struct ProgramCall {
    std::string program;
    std::vector<std::string> arguments;
};

// The desktops' own date-and-time settings, in the order they are tried.
const std::vector<ProgramCall>& DateTimeSettingsPrograms();

// Starts the first of them that `find` locates (it returns the program's path or empty); false
// when none is installed or it would not start.
bool OpenDateTimeSettings(
    const std::function<std::string(const std::string&)>& find,
    const std::function<bool(const std::string&, const std::vector<std::string>&)>& start);

}  // namespace tikora
