// SPDX-License-Identifier: MIT
#pragma once

#include <cstdint>
#include <string>

#include "clock/pixel_buffer.h"

namespace tikora {

// A hidden picture box with a persistent off-screen image the size of the box: the target of all
// drawing, with the colours and font that text is drawn in. Colours are colour references.
//
// The box can be far larger than the window that shows it (docked, it takes the window's size in
// twips as pixels: 1.2 MB at 60 x 22), so it costs only what is used of it:
// - Its pixels are real only where they were uncovered (Uncover): elsewhere they are the back
//   colour in meaning but zero in memory, and take none. What is shown or drawn into must have
//   been uncovered first (the window's part, the text's reach, the glyph cells).
// - Whatever draws into `image` says where with MarkDrawn, so that Clear need only put back
//   those pixels.
struct DrawingBox {
    PixelBuffer image;
    std::uint32_t ForeColor = Rgb(224, 224, 224);
    std::uint32_t BackColor = Rgb(0, 0, 0);
    std::string FontName = "Trebuchet MS";
    float FontSize = 8.25f;

    int Width() const { return image.Width(); }
    int Height() const { return image.Height(); }
    void SetSize(int width, int height) {
        image.ResetZeroed(width, height);
        uncovered_ = {};
        Cleaned();
    }
    // The pixels in `area` become real; those not uncovered before take the back colour the last
    // clear left.
    void Uncover(const PixelRect& area) {
        const PixelRect grown = Union(uncovered_, ClipToBuffer(area, Width(), Height()));
        if (grown == uncovered_) {
            return;
        }
        const PixelRect& old = uncovered_;
        for (int y = grown.y; y < grown.y + grown.height; ++y) {
            if (old.Empty() || y < old.y || y >= old.y + old.height) {
                image.FillRect(grown.x, y, grown.width, 1, cleanColour_);
            } else {
                image.FillRect(grown.x, y, old.x - grown.x, 1, cleanColour_);
                image.FillRect(old.x + old.width, y, grown.x + grown.width - old.x - old.width, 1,
                               cleanColour_);
            }
        }
        uncovered_ = grown;
    }
    // Every pixel becomes the back colour.
    void Clear() {
        const Argb back = ColorRefToArgb(BackColor);
        const PixelRect whole{0, 0, Width(), Height()};
        if (cleanSize_ != whole) {
            image.Fill(back);  // the image was replaced behind the box's back: all of it is real
            uncovered_ = whole;
        } else if (cleanColour_ == back) {
            image.FillRect(drawn_, back);
        } else {
            image.FillRect(Union(uncovered_, drawn_), back);
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
    PixelRect uncovered_;
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
