// SPDX-License-Identifier: MIT
#include <windows.h>

#include "platform/screen_metrics.h"

namespace tikora {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr int kFallbackDotsPerInch = 96;

struct DotsPerInch {
    int x = kFallbackDotsPerInch;
    int y = kFallbackDotsPerInch;
};

// The screen's logical dots per inch, read once: the design takes twips per pixel at start-up.
const DotsPerInch& ScreenDotsPerInch() {
    static const DotsPerInch dots = [] {
        DotsPerInch read;
        if (const HDC screen = GetDC(nullptr)) {
            read.x = GetDeviceCaps(screen, LOGPIXELSX);
            read.y = GetDeviceCaps(screen, LOGPIXELSY);
            ReleaseDC(nullptr, screen);
        }
        return read;
    }();
    return dots;
}

double TwipsPerPixel(int dotsPerInch) {
    return kTwipsPerInch / (dotsPerInch > 0 ? dotsPerInch : kFallbackDotsPerInch);
}

}  // namespace

double ScreenTwipsPerPixelX() {
    return TwipsPerPixel(ScreenDotsPerInch().x);
}

double ScreenTwipsPerPixelY() {
    return TwipsPerPixel(ScreenDotsPerInch().y);
}

}  // namespace tikora
