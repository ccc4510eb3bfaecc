// SPDX-License-Identifier: MIT
// The skin-file reader and the value conversions: any bytes as a skin's INI file, every value the
// loader looks up and every name the file itself holds read back and converted.

#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "shared/utf8.h"
#include "skins/profile_file.h"
#include "skins/skin_values.h"

namespace {

using tikora::ProfileFile;

// The names the skin loader asks for.
const std::pair<const char*, const char*> kLoaderKeys[] = {
    {"General", "DisplayImage"}, {"General", "Separator"},     {"Image Files", "Main"},
    {"Image Info", "CharWidth"}, {"Image Info", "CharHeight"}, {"Image Info", "SepWidth"},
    {"Text", "TextColor"},       {"Text", "BgColor"},          {"Text", "Font"},
    {"Text", "FontSize"},
};

// Lookups of names taken from the file are capped, so that a file of many short lines costs
// linear time rather than sections times keys.
constexpr std::size_t kMaxNames = 32;

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

std::size_t CodePoints(std::string_view text) {
    std::size_t count = 0;
    for (const char c : text) {
        count += (static_cast<unsigned char>(c) & 0xC0) != 0x80;
    }
    return count;
}

void Convert(std::string_view value) {
    if (const std::optional<float> number = tikora::ParseSkinNumber(value)) {
        Require(std::isfinite(*number));
    }
    tikora::ParseSkinBoolean(value);
    if (const std::optional<std::uint32_t> colour = tikora::ParseSkinColour(value)) {
        Require(*colour <= 0xFFFFFFu);
    }
}

void Check(const ProfileFile& file, std::string_view section, std::string_view key) {
    const std::optional<std::string> value = file.Lookup(section, key);
    if (value) {
        // The reader hands out UTF-8 whatever the file's bytes were.
        Require(tikora::IsValidUtf8(*value));
        Convert(*value);
    }
    const std::string text = tikora::ReadProfileValue(file, section, key, "default");
    Require(tikora::IsValidUtf8(text));
    Require(CodePoints(text) <= tikora::kProfileStringLimit);
    Require(value ? value->starts_with(text) : text == "default");
    Convert(text);
}

std::string_view Trim(std::string_view text) {
    while (!text.empty() && (text.front() == ' ' || text.front() == '\t')) {
        text.remove_prefix(1);
    }
    while (!text.empty() && (text.back() == ' ' || text.back() == '\t')) {
        text.remove_suffix(1);
    }
    return text;
}

// Section and key names as they appear in the raw text, read without the reader's help.
void CollectNames(std::string_view text, std::vector<std::string>& sections,
                  std::vector<std::string>& keys) {
    while (!text.empty() && (sections.size() < kMaxNames || keys.size() < kMaxNames)) {
        const std::size_t end = text.find_first_of("\r\n");
        const std::string_view line = Trim(text.substr(0, end));
        text.remove_prefix(end == std::string_view::npos ? text.size() : end + 1);
        if (line.starts_with('[') && sections.size() < kMaxNames) {
            sections.emplace_back(line.substr(1, line.find(']') - 1));
        } else if (const std::size_t equals = line.find('=');
                   equals != std::string_view::npos && keys.size() < kMaxNames) {
            keys.emplace_back(line.substr(0, equals));
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view bytes(reinterpret_cast<const char*>(data), size);
    const ProfileFile file = ProfileFile::Parse(bytes);
    for (const auto& [section, key] : kLoaderKeys) {
        Check(file, section, key);
    }
    std::vector<std::string> sections, keys;
    CollectNames(bytes, sections, keys);
    for (const std::string& section : sections) {
        for (const std::string& key : keys) {
            Check(file, section, key);
        }
    }
    // The converters on the raw text as well, which holds what no INI value can: line breaks.
    Convert(bytes.substr(0, 256));
    return 0;
}
