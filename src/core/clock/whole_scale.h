// SPDX-License-Identifier: MIT
#pragma once

namespace tikora {

// How many device pixels across each pixel of a picture of whole pixels (a skin's strip) takes on
// a screen that has `ratio` device pixels to a pixel, so that its pixels stay sharp squares of one
// size: the ratio rounded to a whole number, a half upwards (so from 150 % on a picture is
// enlarged), then lowered while the content, scaled by it, would not fit the room. Never below 1.
// The content is in pixels, the room in device pixels; a content size of 0 sets no limit.
int WholeScaleFactor(double ratio, int contentWidth, int contentHeight, int roomWidth,
                     int roomHeight);

}  // namespace tikora
