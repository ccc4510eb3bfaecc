// SPDX-License-Identifier: MIT
// The time arithmetic under the clock and the preferences window, on its own.

#include <benchmark/benchmark.h>

#include <string>

#include "atomic/time_of_day.h"
#include "clock/clock_frame.h"
#include "clock/clock_text.h"
#include "posix/system_time_source.h"
#include "posix/system_time_zone.h"

namespace tikora {
namespace {

// A running display of the preferences window moved on from its base: what each of its ticks does.
void BM_AdvanceTime(benchmark::State& state) {
    const std::string base = "23:59:50";
    float seconds = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(AdvanceTime(base, seconds));
        seconds = seconds < 86400 ? seconds + 1.5f : 0;
    }
}
BENCHMARK(BM_AdvanceTime);

void BM_SystemTimeZoneRead(benchmark::State& state) {
    const SystemTimeZone zone;
    for (auto _ : state) {
        benchmark::DoNotOptimize(zone.Read());
    }
}
BENCHMARK(BM_SystemTimeZoneRead);

void BM_SystemTimeSourceNow(benchmark::State& state) {
    const SystemTimeSource time;
    for (auto _ : state) {
        benchmark::DoNotOptimize(time.Now());
    }
}
BENCHMARK(BM_SystemTimeSourceNow);

// Both texts of a tick.
void BM_ComposeTexts(benchmark::State& state) {
    OneCharText separator;
    separator = ":";
    int minute = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(TimeText(12, minute, separator));
        benchmark::DoNotOptimize(BeatText(minute * 16.6));
        minute = (minute + 1) % 60;
    }
}
BENCHMARK(BM_ComposeTexts);

// The wait to the next change of the shown text, worked out once a wake: hours and minutes, and
// Internet Time at the longest wait of a beat (the one shown as @000, 87 s).
void BM_UntilShownTextChanges(benchmark::State& state) {
    const bool beat = state.range(0) != 0;
    ClockFace face{beat, true, {}, {}};
    face.separator = ":";
    const TickReading reading{{2026, 1, 1, 23, 59, 17, 0}, 60};
    for (auto _ : state) {
        benchmark::DoNotOptimize(UntilShownTextChanges(reading, face));
    }
}
BENCHMARK(BM_UntilShownTextChanges)->ArgName("beat")->Arg(0)->Arg(1);

}  // namespace
}  // namespace tikora
