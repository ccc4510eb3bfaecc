// SPDX-License-Identifier: MIT
#include <windows.h>

#include "platform/process_starter.h"
#include "win32/command_line.h"
#include "win32/wide_text.h"

namespace tikora {

std::string FindProgram(const std::string& program) {
    const std::wstring name = Widen(program);
    std::wstring path(MAX_PATH, L'\0');
    for (;;) {
        const DWORD length = SearchPathW(nullptr, name.c_str(), L".exe",
                                         static_cast<DWORD>(path.size()), path.data(), nullptr);
        if (length < path.size()) {
            path.resize(length);  // 0: not found
            return Narrow(path);
        }
        path.resize(length);  // the room needed, its NUL included
    }
}

// Started minimised, as the date-and-time applet is meant to open, and left to run on its own.
bool StartDetached(const std::string& path, const std::vector<std::string>& arguments) {
    std::wstring commandLine = Widen(CommandLine(path, arguments));
    STARTUPINFOW startup{};
    startup.cb = sizeof startup;
    startup.dwFlags = STARTF_USESHOWWINDOW;
    startup.wShowWindow = SW_SHOWMINIMIZED;
    PROCESS_INFORMATION process{};
    // No application name: the system finds the program as the command line's first word.
    if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, DETACHED_PROCESS,
                        nullptr, nullptr, &startup, &process)) {
        return false;
    }
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
    return true;
}

}  // namespace tikora
