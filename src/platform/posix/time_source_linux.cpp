// SPDX-License-Identifier: MIT
#include <ctime>

#include "posix/system_time_source.h"

namespace tikora {

LocalTime SystemTimeSource::Now() const {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    tm local{};
    localtime_r(&now.tv_sec, &local);
    return LocalTime{local.tm_year + 1900,
                     local.tm_mon + 1,
                     local.tm_mday,
                     local.tm_hour,
                     local.tm_min,
                     local.tm_sec,
                     static_cast<std::int32_t>(now.tv_nsec)};
}

}  // namespace tikora
