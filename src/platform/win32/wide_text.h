// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace tikora {

// The core keeps text in UTF-8; Win32 takes it in UTF-16 (the W calls), so that every name reaches
// the system whole whatever the user's code page. Invalid UTF-8 becomes U+FFFD on the way in.
std::wstring Widen(std::string_view utf8);
std::string Narrow(std::wstring_view utf16);

}  // namespace tikora
