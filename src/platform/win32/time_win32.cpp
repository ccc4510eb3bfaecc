// SPDX-License-Identifier: MIT
#include <windows.h>

#include "win32/file_time.h"
#include "win32/system_time.h"

namespace tikora {
namespace {

using InterruptTime = void(WINAPI*)(PULONGLONG);

// QueryInterruptTimePrecise (Windows 10) counts in 100 ns steps; where it is missing (Wine),
// GetTickCount64 counts the same time in milliseconds. Both go on through sleep and hibernation.
InterruptTime PreciseInterruptTime() {
    const HMODULE kernel = GetModuleHandleW(L"kernelbase.dll");
    const FARPROC found =
        kernel != nullptr ? GetProcAddress(kernel, "QueryInterruptTimePrecise") : nullptr;
    // Through a function type without arguments, which GCC accepts as the generic one.
    return reinterpret_cast<InterruptTime>(reinterpret_cast<void (*)()>(found));
}

std::chrono::nanoseconds SteadyCount() {
    static const InterruptTime precise = PreciseInterruptTime();
    if (precise != nullptr) {
        ULONGLONG steps = 0;
        precise(&steps);
        return std::chrono::nanoseconds{static_cast<std::int64_t>(steps) * 100};
    }
    return std::chrono::milliseconds{static_cast<std::int64_t>(GetTickCount64())};
}

}  // namespace

LocalTime Win32TimeSource::Now() const {
    FILETIME utc{};
    GetSystemTimePreciseAsFileTime(&utc);
    FILETIME local{};
    SYSTEMTIME broken{};
    FileTimeToLocalFileTime(&utc, &local);
    FileTimeToSystemTime(&local, &broken);
    const auto sinceEpoch = FromFileTime(local).time_since_epoch();
    const auto second = sinceEpoch - std::chrono::floor<std::chrono::seconds>(sinceEpoch);
    return LocalTime{broken.wYear,
                     broken.wMonth,
                     broken.wDay,
                     broken.wHour,
                     broken.wMinute,
                     broken.wSecond,
                     static_cast<std::int32_t>(second.count())};
}

ClockReading Win32WallClock::Read() const {
    const std::chrono::nanoseconds steady = SteadyCount();
    FILETIME now{};
    GetSystemTimePreciseAsFileTime(&now);
    return {FromFileTime(now), steady};
}

}  // namespace tikora
