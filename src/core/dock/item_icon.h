// SPDX-License-Identifier: MIT
#pragma once

// The clock as a tray item: which sizes of its picture a host is given, and when they are made
// anew.

#include <string>
#include <vector>

namespace tikora {

// A square picture of `pixels` device pixels, for a screen of `ratio` device pixels a pixel.
struct ItemIconSize {
    int pixels = 0;
    double ratio = 1;
    bool operator==(const ItemIconSize&) const = default;
};

// Smallest first: the sizes panels use, and their doubles for screens of two device pixels a
// pixel, so that a host finds its own size and never scales the glyphs. A double that is also a
// panel's own size is drawn once, for the panel.
std::vector<ItemIconSize> ItemIconSizes();

// What the item's picture shows: made anew only when one of these changes.
struct ItemPictureKey {
    std::string text;  // the shown text
    std::string skin;  // the skin's folder and file
    bool operator==(const ItemPictureKey&) const = default;
};

// Remembers the picture the host has; says whether a tick's picture is another one.
class ItemRenewal {
  public:
    // True the first time and whenever `shown` differs from the last one given.
    bool Due(const ItemPictureKey& shown);
    // The host has no picture of ours (the item was taken away or registers anew).
    void Forget() { known_ = false; }

  private:
    ItemPictureKey last_;
    bool known_ = false;
};

}  // namespace tikora
