// SPDX-License-Identifier: MIT
#include <windows.h>

#include "platform/program_folder.h"
#include "win32/wide_text.h"

namespace tikora {

std::string RunningProgramFolder() {
    std::wstring path(MAX_PATH, L'\0');
    DWORD length = 0;
    // A path that does not fit is cut and reported at the full size of the buffer.
    while ((length = GetModuleFileNameW(nullptr, path.data(), static_cast<DWORD>(path.size()))) ==
           path.size()) {
        path.resize(path.size() * 2);
    }
    path.resize(length);
    const std::size_t separator = path.find_last_of(L"\\/");
    if (separator == std::wstring::npos) {
        return {};
    }
    // A drive's root keeps its separator: "C:\".
    const bool root = separator > 0 && path[separator - 1] == L':';
    path.resize(root ? separator + 1 : separator);
    return Narrow(path);
}

const char kPathSeparator = '\\';

}  // namespace tikora
