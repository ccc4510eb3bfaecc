// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <new>
#include <utility>
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

// A rectangle of pixels: its top-left corner and its size. Nothing when either side is 0 or less.
struct PixelRect {
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool Empty() const { return width <= 0 || height <= 0; }
    bool operator==(const PixelRect&) const = default;
};

// The smallest rectangle that holds both; an empty one adds nothing. Sides that would pass the
// 32-bit range stop at its limits.
PixelRect Union(const PixelRect& a, const PixelRect& b);

// The part of `rect` inside a buffer of the given size, or an empty rectangle.
PixelRect ClipToBuffer(const PixelRect& rect, int width, int height);

// Zeroed memory from calloc, whose new elements are left as they are: the pages of a fresh large
// block are the kernel's zero pages, resident only once something is written to them.
template <class T>
struct ZeroedAllocator {
    using value_type = T;
    ZeroedAllocator() = default;
    template <class U>
    explicit ZeroedAllocator(const ZeroedAllocator<U>&) noexcept {}
    T* allocate(std::size_t count) {
        if (void* memory = std::calloc(count, sizeof(T))) {
            return static_cast<T*>(memory);
        }
        throw std::bad_alloc();
    }
    void deallocate(T* memory, std::size_t) noexcept { std::free(memory); }
    template <class U>
    void construct(U*) noexcept {}
    template <class U, class... Arguments>
    void construct(U* place, Arguments&&... arguments) {
        ::new (static_cast<void*>(place)) U(std::forward<Arguments>(arguments)...);
    }
    friend bool operator==(const ZeroedAllocator&, const ZeroedAllocator&) { return true; }
};

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
    // New size; the contents become 0 without being written, so that a large buffer takes memory
    // only where it is drawn into.
    void ResetZeroed(int width, int height);
    void Fill(Argb colour);
    void FillRect(int x, int y, int width, int height, Argb colour);
    void FillRect(const PixelRect& rect, Argb colour) {
        FillRect(rect.x, rect.y, rect.width, rect.height, colour);
    }

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
    std::vector<Argb, ZeroedAllocator<Argb>> pixels_;
};

// What a window last showed of a buffer drawn at its top-left corner: the window's size, the
// buffer's pixels inside the window, and the colour of the window's part the buffer does not
// cover. Lets a tick that drew the very same frame again leave the window as it is.
class ShownFrame {
  public:
    void Remember(const PixelBuffer& buffer, int windowWidth, int windowHeight, Argb uncovered);
    void Forget() { known_ = false; }
    // True when showing `buffer` in a window of this size would change no pixel of it.
    bool Shows(const PixelBuffer& buffer, int windowWidth, int windowHeight, Argb uncovered) const;

  private:
    bool known_ = false;
    int windowWidth_ = 0;
    int windowHeight_ = 0;
    Argb uncovered_ = 0;
    PixelBuffer covered_;  // the buffer's pixels inside the window
};

// The block copy: width x height pixels from (sx, sy) of the source to (dx, dy) of the destination,
// clipped to both buffers. Colour channels are copied as they are and the result is opaque, as a
// copy onto a device without an alpha channel would be.
void BlockCopy(PixelBuffer& destination, int dx, int dy, int width, int height,
               const PixelBuffer& source, int sx, int sy);

// The same copy with every source pixel drawn as a factor x factor square.
void ScaledBlockCopy(PixelBuffer& destination, int dx, int dy, int width, int height,
                     const PixelBuffer& source, int sx, int sy, int factor);

}  // namespace tikora
