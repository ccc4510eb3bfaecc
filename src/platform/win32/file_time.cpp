// SPDX-License-Identifier: MIT
#include "win32/file_time.h"

namespace tikora {
namespace {

using Ticks = std::chrono::duration<std::int64_t, std::ratio<1, 10'000'000>>;

// 1601-01-01 to 1970-01-01: 369 years, 89 of them leap years.
constexpr Ticks kFrom1601{116'444'736'000'000'000};

}  // namespace

UtcTime FromFileTime(const FILETIME& time) {
    const std::uint64_t ticks = (std::uint64_t{time.dwHighDateTime} << 32) | time.dwLowDateTime;
    return UtcTime{Ticks{static_cast<std::int64_t>(ticks)} - kFrom1601};
}

FILETIME ToFileTime(UtcTime time) {
    const Ticks ticks = std::chrono::floor<Ticks>(time.time_since_epoch()) + kFrom1601;
    const auto value = static_cast<std::uint64_t>(ticks.count());
    return FILETIME{static_cast<DWORD>(value), static_cast<DWORD>(value >> 32)};
}

SYSTEMTIME ToSystemTime(UtcTime time) {
    SYSTEMTIME broken{};
    const FILETIME whole = ToFileTime(time);
    if (!FileTimeToSystemTime(&whole, &broken)) {
        return SYSTEMTIME{};
    }
    return broken;
}

}  // namespace tikora
