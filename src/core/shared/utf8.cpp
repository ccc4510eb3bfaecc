// SPDX-License-Identifier: MIT
#include "shared/utf8.h"

#include <array>
#include <cstdint>
#include <optional>

namespace tikora {
namespace {

// Windows-1252 differs from Latin-1 only in 0x80..0x9F; the five unassigned bytes keep their C1
// code points, as Windows' own conversion does.
constexpr std::array<char16_t, 32> kCp1252High = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0x008D, 0x017D, 0x008F, 0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

char32_t Cp1252ToCodePoint(unsigned char byte) {
    if (byte >= 0x80 && byte <= 0x9F) {
        return kCp1252High[byte - 0x80];
    }
    return byte;
}

// Decodes one well-formed UTF-8 sequence at pos (no overlongs, no surrogates, at most U+10FFFF)
// and moves pos past it; gives nothing and leaves pos alone for anything else.
std::optional<char32_t> DecodeOne(std::string_view text, std::size_t& pos) {
    const auto lead = static_cast<unsigned char>(text[pos]);
    if (lead < 0x80) {
        ++pos;
        return lead;
    }
    int length = 0;
    char32_t value = 0;
    char32_t minimum = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, value = lead & 0x1F, minimum = 0x80;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, value = lead & 0x0F, minimum = 0x800;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, value = lead & 0x07, minimum = 0x10000;
    } else {
        return std::nullopt;
    }
    if (pos + static_cast<std::size_t>(length) > text.size()) {
        return std::nullopt;
    }
    for (int i = 1; i < length; ++i) {
        const auto next = static_cast<unsigned char>(text[pos + static_cast<std::size_t>(i)]);
        if ((next & 0xC0) != 0x80) {
            return std::nullopt;
        }
        value = (value << 6) | (next & 0x3F);
    }
    if (value < minimum || value > 0x10FFFF || (value >= 0xD800 && value <= 0xDFFF)) {
        return std::nullopt;
    }
    pos += static_cast<std::size_t>(length);
    return value;
}

}  // namespace

char32_t FirstCodePoint(std::string_view utf8) {
    if (utf8.empty()) {
        return U'\0';
    }
    std::size_t pos = 0;
    if (const auto decoded = DecodeOne(utf8, pos)) {
        return *decoded;
    }
    return Cp1252ToCodePoint(static_cast<unsigned char>(utf8[0]));
}

std::u32string DecodeUtf8(std::string_view utf8) {
    std::u32string characters;
    characters.reserve(utf8.size());
    std::size_t pos = 0;
    while (pos < utf8.size()) {
        if (const auto decoded = DecodeOne(utf8, pos)) {
            characters.push_back(*decoded);
        } else {
            characters.push_back(Cp1252ToCodePoint(static_cast<unsigned char>(utf8[pos++])));
        }
    }
    return characters;
}

void AppendUtf8(std::string& out, char32_t cp) {
    auto put = [&out](std::uint32_t byte) { out.push_back(static_cast<char>(byte)); };
    if (cp < 0x80) {
        put(cp);
    } else if (cp < 0x800) {
        put(0xC0 | (cp >> 6));
        put(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        put(0xE0 | (cp >> 12));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    } else {
        put(0xF0 | (cp >> 18));
        put(0x80 | ((cp >> 12) & 0x3F));
        put(0x80 | ((cp >> 6) & 0x3F));
        put(0x80 | (cp & 0x3F));
    }
}

bool IsValidUtf8(std::string_view bytes) {
    std::size_t pos = 0;
    while (pos < bytes.size()) {
        if (!DecodeOne(bytes, pos)) {
            return false;
        }
    }
    return true;
}

std::string Windows1252ToUtf8(std::string_view bytes) {
    std::string out;
    out.reserve(bytes.size());
    for (const char byte : bytes) {
        AppendUtf8(out, Cp1252ToCodePoint(static_cast<unsigned char>(byte)));
    }
    return out;
}

}  // namespace tikora
