// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "platform/item_tray.h"

namespace tikora {

class ClockWindow;

// The clock's picture now, at every size a tray item offers (ItemIconSizes).
std::vector<ItemPixmap> ItemPictures(ClockWindow& clock);

}  // namespace tikora
