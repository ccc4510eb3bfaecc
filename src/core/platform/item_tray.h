// SPDX-License-Identifier: MIT
#pragma once

// A tray that shows items it is told about over the session's message bus (StatusNotifierItem):
// the panel draws the picture it is given, at the size it likes, and passes clicks on.

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "clock/text_layout.h"

namespace tikora {

// One size of the item's picture: rows of 0xAARRGGBB pixels.
struct ItemPixmap {
    int width = 0;
    int height = 0;
    std::vector<std::uint32_t> pixels;
};

struct ItemHandlers {
    // A click (Activate) or a request for the menu (ContextMenu), at the screen point the host
    // gives; {0, 0} when it gives none.
    std::function<void(Point)> activate;
    std::function<void(Point)> contextMenu;
    // The tooltip's text, read when the host asks for it.
    std::function<std::string()> toolTip;
    // The object path of a menu that the host reads over the bus and draws itself, at its icon,
    // on a click too; empty when the program opens its own menu.
    std::string menu;
};

class ItemTray {
  public:
    virtual ~ItemTray() = default;

    // Who takes items in, for the user ("org.kde.StatusNotifierWatcher (waybar)"); empty when
    // nobody does.
    virtual std::string Host() const = 0;
    // Shows the item with these pictures, or renews them on an item already shown. False when
    // no host took it in.
    virtual bool Show(const std::vector<ItemPixmap>& pictures, ItemHandlers handlers) = 0;
    // Takes the item away.
    virtual void Hide() = 0;
    // Calls `onChange` from the event loop whenever a host comes or goes (a panel started,
    // ended or restarted). Replaces the previous watch; an empty function ends it.
    virtual void WatchForHost(std::function<void()> onChange) = 0;
};

}  // namespace tikora
