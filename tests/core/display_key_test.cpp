// SPDX-License-Identifier: MIT
#include "shared/display_key.h"

#include <gtest/gtest.h>

namespace tikora {
namespace {

// One key for every name of one X server's local socket; the network's names and Wayland's
// sockets stay apart.
TEST(DisplayKey, NamesOfOneDisplayGiveOneKey) {
    const std::tuple<const char*, const char*, bool, const char*> cases[] = {
        {":0", "", false, ":0"},
        {"unix:0.1", "w", false, ":0"},
        {"unix/:00.0", "", false, ":0"},
        {"/tmp/.X11-unix/X12", "", false, ":12"},
        {"localhost:0", "", false, "localhost:0"},
        {"h/x:1.0", "", false, "h_x:1"},
        {":0", "w-1", true, "wayland:w-1"},
        {":0", "", true, "wayland:wayland-0"},
        {"", "/run/w", false, "wayland:_run_w"},
        {"", "", false, ""}};
    for (const auto& [x11, wayland, onWayland, key] : cases) {
        EXPECT_EQ(DisplayKey(x11, wayland, onWayland), key) << x11 << " " << wayland;
    }
}

}  // namespace
}  // namespace tikora
