// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>

#include "platform/zone_rules.h"

namespace tikora::testing {

// A zone with one stretch of summer time: `summer` from `summerFrom` up to `summerUntil`,
// `standard` before and after.
struct FakeZone final : ZoneRules {
    FakeZone(std::chrono::seconds standardOffset, std::chrono::seconds summerOffset,
             std::chrono::sys_seconds from, std::chrono::sys_seconds until)
        : standard(standardOffset), summer(summerOffset), summerFrom(from), summerUntil(until) {}
    std::chrono::seconds OffsetAt(std::chrono::sys_seconds when) const override {
        return when >= summerFrom && when < summerUntil ? summer : standard;
    }
    std::chrono::seconds standard, summer;
    std::chrono::sys_seconds summerFrom, summerUntil;
};

// Zurich's rules for 2026: summer time from 29 March to 25 October, changing at 01:00 UTC.
inline const FakeZone kZurich{
    std::chrono::hours{1}, std::chrono::hours{2},
    std::chrono::sys_days{std::chrono::year{2026} / 3 / 29} + std::chrono::hours{1},
    std::chrono::sys_days{std::chrono::year{2026} / 10 / 25} + std::chrono::hours{1}};

}  // namespace tikora::testing
