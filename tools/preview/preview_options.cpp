// SPDX-License-Identifier: MIT
#include "preview_options.h"

#include <charconv>

namespace tikora {
namespace {

constexpr int kMaxSide = 4096;

std::optional<int> WholeNumber(std::string_view text) {
    int value = 0;
    const auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || text.empty()) {
        return std::nullopt;
    }
    return value;
}

bool ParseSize(std::string_view text, PreviewOptions& options) {
    const std::size_t x = text.find('x');
    if (x == std::string_view::npos) {
        return false;
    }
    const auto width = WholeNumber(text.substr(0, x));
    const auto height = WholeNumber(text.substr(x + 1));
    if (!width || !height || *width < 1 || *height < 1 || *width > kMaxSide || *height > kMaxSide) {
        return false;
    }
    options.width = *width;
    options.height = *height;
    return true;
}

bool ParseTimeOfDay(std::string_view text, PreviewOptions& options) {
    if (text.size() != 8 || text[2] != ':' || text[5] != ':') {
        return false;
    }
    const auto hours = WholeNumber(text.substr(0, 2));
    const auto minutes = WholeNumber(text.substr(3, 2));
    const auto seconds = WholeNumber(text.substr(6, 2));
    if (!hours || !minutes || !seconds || *hours > 23 || *minutes > 59 || *seconds > 59 ||
        *hours < 0 || *minutes < 0 || *seconds < 0) {
        return false;
    }
    options.secondsSinceMidnight = *hours * 3600 + *minutes * 60 + *seconds;
    return true;
}

}  // namespace

std::optional<PreviewOptions> ParsePreviewArguments(const std::vector<std::string>& arguments,
                                                    std::string& error) {
    PreviewOptions options;
    bool haveSkin = false;
    for (std::size_t i = 0; i < arguments.size(); ++i) {
        const std::string& argument = arguments[i];
        const bool takesValue = argument == "--size" || argument == "--at" || argument == "-o";
        if (takesValue && i + 1 >= arguments.size()) {
            error = argument + " needs a value";
            return std::nullopt;
        }
        if (argument == "--size") {
            if (!ParseSize(arguments[++i], options)) {
                error = "--size wants WxH, each from 1 to 4096";
                return std::nullopt;
            }
        } else if (argument == "--at") {
            if (!ParseTimeOfDay(arguments[++i], options)) {
                error = "--at wants a time of day HH:MM:SS";
                return std::nullopt;
            }
        } else if (argument == "-o") {
            options.output = arguments[++i];
        } else if (argument == "--beat") {
            options.beat = true;
        } else if (!argument.empty() && argument[0] == '-') {
            error = "unknown option " + argument;
            return std::nullopt;
        } else if (!haveSkin) {
            options.skinIni = argument;
            haveSkin = true;
        } else {
            error = "only one skin file, please";
            return std::nullopt;
        }
    }
    if (!haveSkin) {
        error = "which skin? name its INI file";
        return std::nullopt;
    }
    return options;
}

LocalTime PreviewTime::Now() const {
    LocalTime now = system_.Now();
    if (seconds_) {
        now.hour = *seconds_ / 3600;
        now.minute = *seconds_ / 60 % 60;
        now.second = *seconds_ % 60;
        now.nanosecond = 0;
    }
    return now;
}

}  // namespace tikora
