// SPDX-License-Identifier: MIT
#include "dock/item_icon.h"

#include <algorithm>

namespace tikora {

std::vector<ItemIconSize> ItemIconSizes() {
    // KDE's and xfce4-panel's small icons, GNOME's and waybar's defaults, larger panels.
    constexpr int kPanelSizes[] = {16, 22, 24, 32, 48, 64};
    std::vector<ItemIconSize> sizes;
    for (const int size : kPanelSizes) {
        sizes.push_back({size, 1});
    }
    for (const int size : kPanelSizes) {
        const auto taken = [&](const ItemIconSize& given) { return given.pixels == size * 2; };
        if (std::none_of(sizes.begin(), sizes.end(), taken)) {
            sizes.push_back({size * 2, 2});
        }
    }
    std::sort(sizes.begin(), sizes.end(),
              [](const ItemIconSize& a, const ItemIconSize& b) { return a.pixels < b.pixels; });
    return sizes;
}

bool ItemRenewal::Due(const ItemPictureKey& shown) {
    if (known_ && shown == last_) {
        return false;
    }
    last_ = shown;
    known_ = true;
    return true;
}

}  // namespace tikora
