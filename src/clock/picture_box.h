#pragma once

#include <cstdint>
#include <string>

#include "clock/pixel_buffer.h"

namespace tikora {

// A hidden picture box with a persistent off-screen image the size of the box: the target of all
// drawing, with the colours and font that text is drawn in. Colours are colour references.
struct DrawingBox {
    PixelBuffer image;
    std::uint32_t ForeColor = Rgb(224, 224, 224);
    std::uint32_t BackColor = Rgb(0, 0, 0);
    std::string FontName = "Trebuchet MS";
    float FontSize = 8.25f;

    int Width() const { return image.Width(); }
    int Height() const { return image.Height(); }
    void SetSize(int width, int height) { image.Reset(width, height, ColorRefToArgb(BackColor)); }
    void Clear() { image.Fill(ColorRefToArgb(BackColor)); }
};

// A hidden picture box that holds a picture at the picture's own size, whatever the box's size.
struct PictureHolder {
    int Width = 0;
    int Height = 0;
    PixelBuffer picture;
};

// A hidden box that only has a place and a size.
struct PlacedBox {
    int Left = 0;
    int Top = 0;
    int Width = 0;
    int Height = 0;
};

}  // namespace tikora
