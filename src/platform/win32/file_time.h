// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include "platform/clock_setter.h"

namespace tikora {

// FILETIME counts 100-nanosecond steps since 1601-01-01 UTC; UtcTime counts from 1970.
UtcTime FromFileTime(const FILETIME& time);
// Cut to the 100 ns steps a FILETIME holds.
FILETIME ToFileTime(UtcTime time);

// The broken-down instant, cut to the millisecond SYSTEMTIME holds. (UtcTime reaches back to 1677
// only, well after the FILETIME epoch.)
SYSTEMTIME ToSystemTime(UtcTime time);

}  // namespace tikora
