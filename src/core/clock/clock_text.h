// SPDX-License-Identifier: MIT
#pragma once

#include <string>

#include "shared/modDefs.h"

namespace tikora {

// "HH" + separator + "MM", hours of the 24-hour clock; an empty (NUL) separator shows nothing.
std::string TimeText(int hour, int minute, const OneCharText& separator);

// "@" and the beat value rounded half to even as three digits; a rounded 1000 shows as 000.
std::string BeatText(double beatValue);

}  // namespace tikora
