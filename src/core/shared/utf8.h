// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <string_view>

namespace tikora {

// The first character of a UTF-8 text; a byte that does not start a valid sequence counts as the
// Windows-1252 character it would be in the single-byte code page.
char32_t FirstCodePoint(std::string_view utf8);

// Every character of a UTF-8 text; bytes outside a valid sequence count as Windows-1252.
std::u32string DecodeUtf8(std::string_view utf8);

void AppendUtf8(std::string& out, char32_t codePoint);

bool IsValidUtf8(std::string_view bytes);

// Reads single-byte Windows-1252 text into UTF-8.
std::string Windows1252ToUtf8(std::string_view bytes);

}  // namespace tikora
