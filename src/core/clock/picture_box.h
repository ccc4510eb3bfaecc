#pragma once

#include <cstdint>
#include <string>

#include "clock/pixel_buffer.h"

namespace tikora {

// A hidden picture box with a persistent off-screen image the size of the box: the target of all
// drawing, with the colours and font that text is drawn in. Colours are colour references.
//
// Whatever draws into `image` says where with MarkDrawn, so that Clear need only put back those
// pixels: the box can be far larger than the window that shows it (docked, it takes the window's
// size in twips as pixels), and a clear of all of it five times a second would cost more than
// everything else the clock does.
struct DrawingBox {
    PixelBuffer image;
    std::uint32_t ForeColor = Rgb(224, 224, 224);
    std::uint32_t BackColor = Rgb(0, 0, 0);
    std::string FontName = "Trebuchet MS";
    float FontSize = 8.25f;

    int Width() const { return image.Width(); }
    int Height() const { return image.Height(); }
    void SetSize(int width, int height) {
        image.Reset(width, height, ColorRefToArgb(BackColor));
        Cleaned();
    }
    // Every pixel becomes the back colour.
    void Clear() {
        const Argb back = ColorRefToArgb(BackColor);
        if (cleanColour_ == back && cleanSize_ == PixelRect{0, 0, Width(), Height()}) {
            image.FillRect(drawn_, back);
        } else {
            image.Fill(back);
        }
        Cleaned();
    }
    // Pixels in `area` may differ from the back colour from now on.
    void MarkDrawn(const PixelRect& area) { drawn_ = Union(drawn_, area); }

  private:
    void Cleaned() {
        cleanColour_ = ColorRefToArgb(BackColor);
        cleanSize_ = {0, 0, Width(), Height()};
        drawn_ = {};
    }

    // Outside `drawn_`, every pixel of a buffer of `cleanSize_` is `cleanColour_`; 0 is no colour
    // a clear leaves, as a clear makes every pixel opaque.
    Argb cleanColour_ = 0;
    PixelRect cleanSize_;
    PixelRect drawn_;
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
