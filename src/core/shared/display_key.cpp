// SPDX-License-Identifier: MIT
#include "shared/display_key.h"

#include <algorithm>

namespace tikora {
namespace {

constexpr char kLocalSocket[] = "/tmp/.X11-unix/X";

bool AllDigits(const std::string& text) {
    return !text.empty() &&
           std::all_of(text.begin(), text.end(), [](char c) { return c >= '0' && c <= '9'; });
}

// "[protocol/][host]:number[.screen]": the screen is of no account, nor how the local socket is
// named.
std::string X11Key(std::string name) {
    if (name.starts_with(kLocalSocket)) {
        name.replace(0, sizeof kLocalSocket - 1, ":");
    }
    if (name.starts_with("unix/")) {
        name.erase(0, 5);
    }
    const std::size_t colon = name.rfind(':');
    if (colon == std::string::npos) {
        return name;
    }
    const std::string host = name.substr(0, colon);
    std::string number = name.substr(colon + 1);
    number.resize(std::min(number.size(), number.find('.')));
    if (!AllDigits(number)) {
        return name;
    }
    number.erase(0, std::min(number.find_first_not_of('0'), number.size() - 1));
    // Appended piece by piece: GCC 12 at -O3 takes "" + ":" + ... for an overlapping copy.
    std::string key = host == "unix" ? std::string() : host;
    return key.append(":").append(number);
}

}  // namespace

std::string DisplayKey(const std::string& x11Display, const std::string& waylandDisplay,
                       bool onWayland) {
    std::string key;
    if (!onWayland && !x11Display.empty()) {
        key = X11Key(x11Display);
    } else if (onWayland || !waylandDisplay.empty()) {
        key.append("wayland:").append(waylandDisplay.empty() ? "wayland-0" : waylandDisplay);
    }
    std::replace(key.begin(), key.end(), '/', '_');
    return key;
}

}  // namespace tikora
