#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace tikora {

// 0xAARRGGBB, the layout of QImage's 32-bit formats on every platform we build for.
using Argb = std::uint32_t;

inline constexpr Argb kOpaque = 0xFF000000u;

// A colour reference as the skin files and the records hold it: red in the low byte, then green,
// then blue.
inline Argb ColorRefToArgb(std::uint32_t colorRef) {
    return kOpaque | ((colorRef & 0xFFu) << 16) | (colorRef & 0xFF00u) | ((colorRef >> 16) & 0xFFu);
}

inline constexpr std::uint32_t Rgb(std::uint32_t red, std::uint32_t green, std::uint32_t blue) {
    return red | (green << 8) | (blue << 16);
}

// A plain rectangle of 32-bit pixels, rows stored top to bottom without padding.
class PixelBuffer {
  public:
    // Larger sizes are cut to these, so that no figure can make the program allocate without
    // bound: a side of at most kMaxSide, and at most kMaxPixels in all (the height gives way).
    static constexpr int kMaxSide = 16384;
    static constexpr std::size_t kMaxPixels = std::size_t{16} << 20;

    PixelBuffer() = default;
    PixelBuffer(int width, int height, Argb fill = kOpaque);

    // New size; the contents become `fill`.
    void Reset(int width, int height, Argb fill = kOpaque);
    void Fill(Argb colour);
    void FillRect(int x, int y, int width, int height, Argb colour);

    int Width() const { return width_; }
    int Height() const { return height_; }
    bool Empty() const { return pixels_.empty(); }
    Argb* Data() { return pixels_.data(); }
    const Argb* Data() const { return pixels_.data(); }
    int BytesPerLine() const { return width_ * 4; }
    Argb Pixel(int x, int y) const;

  private:
    int width_ = 0;
    int height_ = 0;
    std::vector<Argb> pixels_;
};

// The block copy: width x height pixels from (sx, sy) of the source to (dx, dy) of the destination,
// clipped to both buffers. Colour channels are copied as they are and the result is opaque, as a
// copy onto a device without an alpha channel would be.
void BlockCopy(PixelBuffer& destination, int dx, int dy, int width, int height,
               const PixelBuffer& source, int sx, int sy);

}  // namespace tikora
