// SPDX-License-Identifier: MIT
#include "qt/item_picture.h"

#include "dock/item_icon.h"
#include "modules/face_picture.h"

namespace tikora {

std::vector<ItemPixmap> ItemPictures(const ClockWindow& clock, FacePainter& painter) {
    std::vector<ItemPixmap> pictures;
    for (const ItemIconSize& size : ItemIconSizes()) {
        const PixelBuffer picture =
            ClockPicture(clock, painter, FaceSlot{size.pixels, size.pixels, size.ratio});
        ItemPixmap pixmap{picture.Width(), picture.Height(), {}};
        pixmap.pixels.reserve(static_cast<std::size_t>(picture.Width() * picture.Height()));
        for (int y = 0; y < picture.Height(); ++y) {
            for (int x = 0; x < picture.Width(); ++x) {
                pixmap.pixels.push_back(picture.Pixel(x, y) | 0xFF000000U);  // opaque
            }
        }
        pictures.push_back(std::move(pixmap));
    }
    return pictures;
}

}  // namespace tikora
