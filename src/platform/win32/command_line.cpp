// SPDX-License-Identifier: MIT
#include "win32/command_line.h"

namespace tikora {
namespace {

bool NeedsQuotes(const std::string& text, const char* special) {
    return text.empty() || text.find_first_of(special) != std::string::npos;
}

// Backslashes are literal unless a quote follows them: then each pair is one backslash.
void AppendQuoted(std::string& line, const std::string& argument) {
    line += '"';
    std::size_t backslashes = 0;
    for (const char c : argument) {
        if (c == '\\') {
            ++backslashes;
            continue;
        }
        line.append(c == '"' ? 2 * backslashes + 1 : backslashes, '\\');
        line += c;
        backslashes = 0;
    }
    line.append(2 * backslashes, '\\');
    line += '"';
}

}  // namespace

std::string CommandLine(const std::string& program, const std::vector<std::string>& arguments) {
    // The program's name ends at the first blank or at its closing quote; it takes no escapes,
    // and Windows names hold no quotes.
    std::string line = NeedsQuotes(program, " \t") ? '"' + program + '"' : program;
    for (const std::string& argument : arguments) {
        line += ' ';
        if (NeedsQuotes(argument, " \t\n\v\"")) {
            AppendQuoted(line, argument);
        } else {
            line += argument;
        }
    }
    return line;
}

}  // namespace tikora
