// SPDX-License-Identifier: MIT
#include <QGuiApplication>
#include <QScreen>

#include "platform/screen_metrics.h"

namespace tikora {
namespace {

constexpr double kTwipsPerInch = 1440.0;
constexpr double kFallbackDotsPerInch = 96.0;

double TwipsPerPixel(double dotsPerInch) {
    return kTwipsPerInch / (dotsPerInch > 0 ? dotsPerInch : kFallbackDotsPerInch);
}

const QScreen* Primary() {
    return QGuiApplication::primaryScreen();
}

}  // namespace

double ScreenTwipsPerPixelX() {
    return TwipsPerPixel(Primary() ? Primary()->logicalDotsPerInchX() : kFallbackDotsPerInch);
}

double ScreenTwipsPerPixelY() {
    return TwipsPerPixel(Primary() ? Primary()->logicalDotsPerInchY() : kFallbackDotsPerInch);
}

}  // namespace tikora
