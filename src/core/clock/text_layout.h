#pragma once

namespace tikora {

struct Point {
    int x = 0;
    int y = 0;
};

// Top-left corner for text of the measured size centred in the window: each figure rounded, the
// halves taken with integer division, then one pixel left and one pixel up.
Point TextOrigin(double innerWidth, double innerHeight, double textWidth, double textHeight);

}  // namespace tikora
