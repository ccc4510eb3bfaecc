// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace tikora {

// A command line that splits back into `program` and `arguments` by the rules of
// CommandLineToArgvW and the C runtime: the program quoted when it holds blanks; an argument
// quoted when empty or holding blanks or quotes, with its quotes and the backslashes before them
// escaped. Plain arguments stay as they are.
std::string CommandLine(const std::string& program, const std::vector<std::string>& arguments);

}  // namespace tikora
