// SPDX-License-Identifier: MIT
#include "win32/system_message.h"

#include <windows.h>

#include "win32/wide_text.h"

namespace tikora {

std::string SystemMessage(unsigned long error) {
    wchar_t text[512] = L"";
    DWORD length =
        FormatMessageW(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error,
                       0, text, static_cast<DWORD>(std::size(text)), nullptr);
    while (length > 0 &&
           (text[length - 1] == L'\n' || text[length - 1] == L'\r' || text[length - 1] == L' ')) {
        --length;
    }
    if (length == 0) {
        return "Windows error " + std::to_string(error);
    }
    return Narrow(std::wstring_view(text, length));
}

}  // namespace tikora
