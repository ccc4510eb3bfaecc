// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "message_pump.h"
#include "win32/win32_clock_wake.h"

namespace tikora {
namespace {

constexpr int kDisarm = -1;
constexpr int kStopListening = -2;

struct WakeCase {
    const char* name;
    std::vector<int> steps;  // Arm(milliseconds), kDisarm or kStopListening, in order
    UINT broadcast;          // then sent to every top-level window, as the system does, or 0
    WPARAM detail;
    int wakes;
};
std::ostream& operator<<(std::ostream& out, const WakeCase& c) {
    return out << c.name;
}

class ClockWakeTest : public ::testing::TestWithParam<WakeCase> {};

TEST_P(ClockWakeTest, WakesAsArmedLastAndOnJumps) {
    Win32ClockWake clockWake;
    int wakes = 0;
    clockWake.Listen([&] { ++wakes; });
    for (const int step : GetParam().steps) {
        if (step == kDisarm) {
            clockWake.Disarm();
        } else if (step == kStopListening) {
            clockWake.Listen({});
        } else {
            clockWake.Arm(std::chrono::milliseconds(step));
        }
    }
    if (GetParam().broadcast != 0) {
        SendMessageTimeoutW(HWND_BROADCAST, GetParam().broadcast, GetParam().detail, 0,
                            SMTO_ABORTIFHUNG, 2000, nullptr);
    }
    if (GetParam().wakes > 0) {
        EXPECT_TRUE(test::PumpUntil([&] { return wakes > 0; }));
    }
    // Room for a wake too many: one that was to come would have come.
    test::PumpUntil([] { return false; }, std::chrono::milliseconds(300));
    EXPECT_EQ(wakes, GetParam().wakes);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ClockWakeTest,
    ::testing::Values(WakeCase{"ZeroAtOnce", {0}, 0, 0, 1},
                      WakeCase{"TimedOnlyOnce", {20}, 0, 0, 1},
                      WakeCase{"ZeroDisarmed", {0, kDisarm}, 0, 0, 0},
                      WakeCase{"TimedDisarmed", {20, kDisarm}, 0, 0, 0},
                      WakeCase{"LaterArmReplaces", {20, 60000}, 0, 0, 0},
                      WakeCase{"ZeroReplacesLater", {60000, 0}, 0, 0, 1},
                      WakeCase{"ZeroTwiceWakesOnce", {0, 0}, 0, 0, 1},
                      WakeCase{"ClockChanged", {}, WM_TIMECHANGE, 0, 1},
                      WakeCase{"ZoneChanged", {}, WM_SETTINGCHANGE, 0, 1},
                      WakeCase{"Resumed", {}, WM_POWERBROADCAST, PBT_APMRESUMEAUTOMATIC, 1},
                      WakeCase{"Suspending", {}, WM_POWERBROADCAST, PBT_APMSUSPEND, 0},
                      WakeCase{"NoLongerListening", {20, kStopListening}, WM_TIMECHANGE, 0, 0}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tikora
