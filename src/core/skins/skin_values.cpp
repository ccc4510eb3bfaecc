// SPDX-License-Identifier: MIT
#include "skins/skin_values.h"

#include <algorithm>
#include <charconv>
#include <system_error>

#include "shared/numeric.h"

namespace tikora {
namespace {

std::string_view TrimBlanks(std::string_view text) {
    const std::size_t first = text.find_first_not_of(" \t");
    if (first == std::string_view::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

bool EqualsIgnoringCase(std::string_view text, std::string_view lower) {
    return std::ranges::equal(text, lower, [](char a, char b) {
        return (a >= 'A' && a <= 'Z' ? static_cast<char>(a + 0x20) : a) == b;
    });
}

// A number that passed the grammar check: the text without its sign, for std::from_chars, which
// takes no "+" and reads "inf", "nan" and other forms the skins do not allow.
struct DecimalText {
    bool negative = false;
    std::string_view digits;
    bool belowOne = false;  // tells an underflow from an overflow when from_chars reports a range
};

std::size_t SkipDigits(std::string_view text, std::size_t pos) {
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        ++pos;
    }
    return pos;
}

// The power of ten of the first significant digit of integer.fraction; zero for a zero value.
std::int64_t LeadingMagnitude(std::string_view integer, std::string_view fraction) {
    const std::size_t lead = integer.find_first_not_of('0');
    if (lead != std::string_view::npos) {
        return static_cast<std::int64_t>(integer.size() - lead) - 1;
    }
    const std::size_t first = fraction.find_first_not_of('0');
    return first == std::string_view::npos ? 0 : -static_cast<std::int64_t>(first) - 1;
}

// Sign, digits with at most one point (at least one digit), then optionally "e" or "E", a sign and
// digits.
std::optional<DecimalText> ScanDecimal(std::string_view text) {
    text = TrimBlanks(text);
    DecimalText result;
    std::size_t pos = 0;
    if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) {
        result.negative = text[pos++] == '-';
    }
    const std::size_t mantissa = pos;
    pos = SkipDigits(text, pos);
    const std::string_view integer = text.substr(mantissa, pos - mantissa);
    std::string_view fraction;
    if (pos < text.size() && text[pos] == '.') {
        const std::size_t fractionEnd = SkipDigits(text, pos + 1);
        fraction = text.substr(pos + 1, fractionEnd - pos - 1);
        pos = fractionEnd;
    }
    if (integer.empty() && fraction.empty()) {
        return std::nullopt;
    }
    std::int64_t magnitude = LeadingMagnitude(integer, fraction);
    if (pos < text.size() && (text[pos] == 'e' || text[pos] == 'E')) {
        std::size_t digits = pos + 1;
        const bool negativeExponent = digits < text.size() && text[digits] == '-';
        if (digits < text.size() && (text[digits] == '+' || text[digits] == '-')) {
            ++digits;
        }
        const std::size_t end = SkipDigits(text, digits);
        if (end == digits) {
            return std::nullopt;
        }
        // Saturating: far past this every type has over- or underflowed already.
        std::int64_t exponent = 0;
        for (std::size_t i = digits; i < end; ++i) {
            exponent = std::min<std::int64_t>(exponent * 10 + (text[i] - '0'), 1'000'000);
        }
        magnitude += negativeExponent ? -exponent : exponent;
        pos = end;
    }
    if (pos != text.size()) {
        return std::nullopt;
    }
    result.digits = text.substr(mantissa);
    result.belowOne = magnitude < 0;
    return result;
}

template <typename Real>
std::optional<Real> ParseDecimal(std::string_view text) {
    const std::optional<DecimalText> decimal = ScanDecimal(text);
    if (!decimal) {
        return std::nullopt;
    }
    Real value = 0;
    const char* const end = decimal->digits.data() + decimal->digits.size();
    const auto [stop, error] = std::from_chars(decimal->digits.data(), end, value);
    if (error == std::errc::result_out_of_range && decimal->belowOne) {
        value = 0;  // too small for the type: a zero, not an error
    } else if (error != std::errc() || stop != end) {
        return std::nullopt;
    }
    return decimal->negative ? -value : value;
}

}  // namespace

std::optional<bool> ParseSkinBoolean(std::string_view text) {
    text = TrimBlanks(text);
    if (EqualsIgnoringCase(text, "true")) {
        return true;
    }
    if (EqualsIgnoringCase(text, "false")) {
        return false;
    }
    if (const std::optional<float> number = ParseSkinNumber(text)) {
        return *number != 0.0f;
    }
    return std::nullopt;
}

std::optional<float> ParseSkinNumber(std::string_view text) {
    return ParseDecimal<float>(text);
}

std::optional<std::uint32_t> ParseSkinColour(std::string_view text) {
    std::uint32_t colour = 0;
    for (int component = 0; component < 3; ++component) {
        const std::size_t comma = text.find(',');
        if (component < 2 && comma == std::string_view::npos) {
            return std::nullopt;  // fewer than three pieces
        }
        // Each piece is rounded straight from its decimal text, without a detour through a float.
        const std::optional<double> value = ParseDecimal<double>(text.substr(0, comma));
        if (!value) {
            return std::nullopt;
        }
        const std::int32_t rounded = RoundHalfEven(*value);
        if (rounded < 0 || rounded > 32767) {
            return std::nullopt;
        }
        colour |= static_cast<std::uint32_t>(std::min(rounded, 255)) << (8 * component);
        if (comma != std::string_view::npos) {
            text.remove_prefix(comma + 1);
        }
    }
    return colour;
}

}  // namespace tikora
