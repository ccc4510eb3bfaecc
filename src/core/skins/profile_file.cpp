// SPDX-License-Identifier: MIT
#include "skins/profile_file.h"

#include "shared/utf8.h"

namespace tikora {
namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

// ASCII letters, and the Latin-1 capitals (two bytes, C3 80..C3 9E but not the sign C3 97) that
// skin authors in Western European languages use in names.
std::string FoldCase(std::string_view name) {
    std::string folded(name);
    for (std::size_t i = 0; i < folded.size(); ++i) {
        const auto byte = static_cast<unsigned char>(folded[i]);
        if (byte >= 'A' && byte <= 'Z') {
            folded[i] = static_cast<char>(byte + 0x20);
        } else if (byte == 0xC3 && i + 1 < folded.size()) {
            const auto next = static_cast<unsigned char>(folded[i + 1]);
            if (next >= 0x80 && next <= 0x9E && next != 0x97) {
                folded[++i] = static_cast<char>(next + 0x20);
            }
        }
    }
    return folded;
}

std::string_view Unquote(std::string_view value) {
    if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
        value.back() == value.front()) {
        return value.substr(1, value.size() - 2);
    }
    return value;
}

// UTF-16 after its byte-order mark, as Notepad saves "Unicode" files: pairs of units make one
// character, a unit out of pair stands for U+FFFD, and an odd last byte is dropped.
std::string Utf16ToUtf8(std::string_view bytes, bool bigEndian) {
    const auto unit = [bytes, bigEndian](std::size_t i) -> char32_t {
        const auto first = static_cast<unsigned char>(bytes[i]);
        const auto second = static_cast<unsigned char>(bytes[i + 1]);
        return bigEndian ? first << 8 | second : second << 8 | first;
    };
    const auto high = [](char32_t u) { return u >= 0xD800 && u <= 0xDBFF; };
    const auto low = [](char32_t u) { return u >= 0xDC00 && u <= 0xDFFF; };
    std::string text;
    for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
        char32_t code = unit(i);
        if (high(code) && i + 3 < bytes.size() && low(unit(i + 2))) {
            code = 0x10000 + ((code - 0xD800) << 10) + (unit(i + 2) - 0xDC00);
            i += 2;
        } else if (high(code) || low(code)) {
            code = 0xFFFD;
        }
        AppendUtf8(text, code);
    }
    return text;
}

// The byte-order marks the Windows profile functions know tell UTF-8 or UTF-16 text; without one,
// text that is not valid UTF-8 is taken for the single-byte code page.
std::string DecodeText(std::string_view bytes) {
    if (bytes.starts_with(kByteOrderMark)) {
        bytes.remove_prefix(kByteOrderMark.size());
    } else if (bytes.starts_with("\xFF\xFE") || bytes.starts_with("\xFE\xFF")) {
        return Utf16ToUtf8(bytes.substr(2), bytes.front() == '\xFE');
    }
    return IsValidUtf8(bytes) ? std::string(bytes) : Windows1252ToUtf8(bytes);
}

// Bytes taken by the first `limit` code points of UTF-8 text: a cut falls only before a byte that
// is not a continuation byte.
std::size_t PrefixBytes(std::string_view text, std::size_t limit) {
    std::size_t characters = 0;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if ((static_cast<unsigned char>(text[i]) & 0xC0) != 0x80 && characters++ == limit) {
            return i;
        }
    }
    return text.size();
}

}  // namespace

ProfileFile ProfileFile::Parse(std::string_view bytes) {
    const std::string text = DecodeText(bytes);
    const std::string_view rest(text);
    ProfileFile file;
    // Null until the first header, and for a repeated section: Windows stops at the first section
    // of a name, so keys under a later one with the same name are never seen.
    Entries* current = nullptr;
    std::size_t start = 0;
    while (start <= rest.size()) {
        std::size_t end = rest.find_first_of("\r\n", start);
        if (end == std::string_view::npos) {
            end = rest.size();
        }
        const std::string_view line = TrimBlanks(rest.substr(start, end - start));
        start = end + 1;  // a CRLF leaves an empty line between, which is skipped
        if (line.empty() || line.front() == ';') {
            continue;
        }
        if (line.front() == '[') {
            // Text after the "]" is ignored; without a "]" the rest of the line is the name.
            const std::size_t close = line.find(']', 1);
            const std::string_view name =
                close == std::string_view::npos ? line.substr(1) : line.substr(1, close - 1);
            const auto [it, added] = file.sections_.try_emplace(FoldCase(TrimBlanks(name)));
            current = added ? &it->second : nullptr;
            continue;
        }
        const std::size_t equals = line.find('=');
        if (current == nullptr || equals == std::string_view::npos) {
            continue;
        }
        current->try_emplace(FoldCase(TrimBlanks(line.substr(0, equals))),
                             Unquote(TrimBlanks(line.substr(equals + 1))));
    }
    return file;
}

std::optional<std::string> ProfileFile::Lookup(std::string_view section,
                                               std::string_view key) const {
    const auto found = sections_.find(FoldCase(TrimBlanks(section)));
    if (found == sections_.end()) {
        return std::nullopt;
    }
    const auto entry = found->second.find(FoldCase(TrimBlanks(key)));
    if (entry == found->second.end()) {
        return std::nullopt;
    }
    return entry->second;
}

std::string ReadProfileValue(const ProfileFile& file, std::string_view section,
                             std::string_view key, std::string_view defaultText) {
    std::string text = file.Lookup(section, key).value_or(std::string(defaultText));
    text.resize(PrefixBytes(text, kProfileStringLimit));
    return text;
}

}  // namespace tikora
