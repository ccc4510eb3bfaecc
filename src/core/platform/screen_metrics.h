// SPDX-License-Identifier: MIT
#pragma once

namespace tikora {

// Twips (1/1440 inch) per pixel of the primary screen, from its logical dots per inch.
double ScreenTwipsPerPixelX();
double ScreenTwipsPerPixelY();

}  // namespace tikora
