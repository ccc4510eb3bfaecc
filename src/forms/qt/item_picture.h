// SPDX-License-Identifier: MIT
#pragma once

#include <vector>

#include "platform/item_tray.h"

namespace tikora {

class ClockWindow;
class FacePainter;

// The clock's picture now, at every size a tray item offers (ItemIconSizes), each drawn for its
// own slot as a window of that size would show it.
std::vector<ItemPixmap> ItemPictures(const ClockWindow& clock, FacePainter& painter);

}  // namespace tikora
