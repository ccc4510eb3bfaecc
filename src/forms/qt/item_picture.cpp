// SPDX-License-Identifier: MIT
#include "qt/item_picture.h"

#include <QImage>
#include <QPixmap>

#include "dock/item_icon.h"
#include "modules/clock_face.h"
#include "qt/frmMain.h"

namespace tikora {
namespace {

ItemPixmap PixmapOf(const QImage& picture) {
    const QImage argb = picture.convertToFormat(QImage::Format_ARGB32);
    ItemPixmap pixmap{argb.width(), argb.height(), {}};
    pixmap.pixels.reserve(static_cast<std::size_t>(argb.width() * argb.height()));
    for (int y = 0; y < argb.height(); ++y) {
        const auto* row = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        pixmap.pixels.insert(pixmap.pixels.end(), row, row + argb.width());
    }
    return pixmap;
}

}  // namespace

std::vector<ItemPixmap> ItemPictures(ClockWindow& clock) {
    // The hidden clock window, drawn at each size as a window of that size shows it.
    const QSize kept = clock.size();
    std::vector<ItemPixmap> pictures;
    for (const ItemIconSize& size : ItemIconSizes()) {
        clock.resize(size.pixels, size.pixels);
        FitToWindow(clock);
        pictures.push_back(PixmapOf(clock.grab().toImage()));
    }
    clock.resize(kept);
    FitToWindow(clock);
    return pictures;
}

}  // namespace tikora
