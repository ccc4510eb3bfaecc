// SPDX-License-Identifier: MIT
#include "dock/dock_layout.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace tikora {
namespace {

// Room on each side of the content when asking a tray for space, in pixels.
constexpr int kTrayPadding = 2;

std::int32_t Saturate(std::int64_t value) {
    return static_cast<std::int32_t>(std::clamp<std::int64_t>(
        value, std::numeric_limits<std::int32_t>::min(), std::numeric_limits<std::int32_t>::max()));
}

std::int32_t ToPixels(std::int32_t twips, std::int32_t twipsPerPixel) {
    return twipsPerPixel > 0 ? twips / twipsPerPixel : 0;
}

int CeilToInt(double value) {
    if (!std::isfinite(value) || value <= 0) {
        return 0;
    }
    return static_cast<int>(std::min(std::ceil(value), 32767.0));
}

}  // namespace

DockedSizes DockedSizesFor(const WindowRect& clockRect, std::int32_t twipsPerPixelX,
                           std::int32_t twipsPerPixelY) {
    const std::int64_t width = std::int64_t{clockRect.right} - clockRect.left;
    const std::int64_t height = std::int64_t{clockRect.bottom} - clockRect.top;
    DockedSizes sizes;
    sizes.heightTwips = Saturate(height * twipsPerPixelY);
    sizes.widthTwips = Saturate(width * twipsPerPixelX);
    sizes.widthPixels = ToPixels(sizes.widthTwips, twipsPerPixelX);
    sizes.heightPixels = ToPixels(sizes.heightTwips, twipsPerPixelY);
    return sizes;
}

BoxOrigin CentredBoxOrigin(int innerWidth, int innerHeight, int boxWidth, int boxHeight) {
    return {innerWidth / 2 - boxWidth / 2 - 1, innerHeight / 2 - boxHeight / 2 - 1};
}

TraySize TrayRequestSize(double contentWidth, double contentHeight, int trayIconHeight) {
    const int height =
        trayIconHeight > 0 ? trayIconHeight : CeilToInt(contentHeight) + 2 * kTrayPadding;
    return {CeilToInt(contentWidth) + 2 * kTrayPadding, height};
}

double WidestGlyphBlock(const GlyphMetrics& metrics) {
    return 4.0 * metrics.charWidth + std::max(0.0, static_cast<double>(metrics.sepWidth));
}

}  // namespace tikora
