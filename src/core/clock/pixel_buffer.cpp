// SPDX-License-Identifier: MIT
#include "clock/pixel_buffer.h"

#include <algorithm>
#include <climits>
#include <cstring>

namespace tikora {
namespace {

int ClampSide(int side) {
    return std::clamp(side, 0, PixelBuffer::kMaxSide);
}

int ClampInt(long long value) {
    return static_cast<int>(std::clamp<long long>(value, INT_MIN, INT_MAX));
}

}  // namespace

PixelRect Union(const PixelRect& a, const PixelRect& b) {
    if (a.Empty()) {
        return b.Empty() ? PixelRect{} : b;
    }
    if (b.Empty()) {
        return a;
    }
    const long long left = std::min(a.x, b.x);
    const long long top = std::min(a.y, b.y);
    const long long right =
        std::max(static_cast<long long>(a.x) + a.width, static_cast<long long>(b.x) + b.width);
    const long long bottom =
        std::max(static_cast<long long>(a.y) + a.height, static_cast<long long>(b.y) + b.height);
    return {static_cast<int>(left), static_cast<int>(top), ClampInt(right - left),
            ClampInt(bottom - top)};
}

PixelRect ClipToBuffer(const PixelRect& rect, int width, int height) {
    if (rect.Empty()) {
        return {};
    }
    const long long left = std::max(rect.x, 0);
    const long long top = std::max(rect.y, 0);
    const long long right =
        std::min(static_cast<long long>(rect.x) + rect.width, static_cast<long long>(width));
    const long long bottom =
        std::min(static_cast<long long>(rect.y) + rect.height, static_cast<long long>(height));
    if (left >= right || top >= bottom) {
        return {};
    }
    return {static_cast<int>(left), static_cast<int>(top), static_cast<int>(right - left),
            static_cast<int>(bottom - top)};
}

PixelBuffer::PixelBuffer(int width, int height, Argb fill) {
    Reset(width, height, fill);
}

void PixelBuffer::Reset(int width, int height, Argb fill) {
    ResetZeroed(width, height);
    Fill(fill);
}

void PixelBuffer::ResetZeroed(int width, int height) {
    width_ = ClampSide(width);
    height_ = ClampSide(height);
    if (width_ > 0 && static_cast<std::size_t>(width_) * height_ > kMaxPixels) {
        height_ = static_cast<int>(kMaxPixels / static_cast<std::size_t>(width_));
    }
    // A new block, not the old one cleared: its untouched pages cost nothing.
    decltype(pixels_)().swap(pixels_);
    pixels_.resize(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_));
}

void PixelBuffer::Fill(Argb colour) {
    std::fill(pixels_.begin(), pixels_.end(), colour);
}

void PixelBuffer::FillRect(int x, int y, int width, int height, Argb colour) {
    const int left = std::max(x, 0);
    const int top = std::max(y, 0);
    const int right = std::min<long long>(static_cast<long long>(x) + width, width_);
    const int bottom = std::min<long long>(static_cast<long long>(y) + height, height_);
    for (int row = top; row < bottom; ++row) {
        Argb* line = pixels_.data() + static_cast<std::size_t>(row) * width_;
        std::fill(line + left, line + std::max(left, right), colour);
    }
}

Argb PixelBuffer::Pixel(int x, int y) const {
    if (x < 0 || y < 0 || x >= width_ || y >= height_) {
        return 0;
    }
    return pixels_[static_cast<std::size_t>(y) * width_ + x];
}

void ShownFrame::Remember(const PixelBuffer& buffer, int windowWidth, int windowHeight,
                          Argb uncovered) {
    const int width = std::clamp(windowWidth, 0, buffer.Width());
    const int height = std::clamp(windowHeight, 0, buffer.Height());
    if (covered_.Width() != width || covered_.Height() != height) {
        covered_.Reset(width, height);
    }
    for (int row = 0; covered_.Width() > 0 && row < covered_.Height(); ++row) {
        std::memcpy(covered_.Data() + static_cast<std::size_t>(row) * covered_.Width(),
                    buffer.Data() + static_cast<std::size_t>(row) * buffer.Width(),
                    static_cast<std::size_t>(covered_.Width()) * sizeof(Argb));
    }
    windowWidth_ = windowWidth;
    windowHeight_ = windowHeight;
    uncovered_ = uncovered;
    known_ = true;
}

bool ShownFrame::Shows(const PixelBuffer& buffer, int windowWidth, int windowHeight,
                       Argb uncovered) const {
    const int width = std::clamp(windowWidth, 0, buffer.Width());
    const int height = std::clamp(windowHeight, 0, buffer.Height());
    if (!known_ || windowWidth != windowWidth_ || windowHeight != windowHeight_ ||
        uncovered != uncovered_ || width != covered_.Width() || height != covered_.Height()) {
        return false;
    }
    for (int row = 0; width > 0 && row < height; ++row) {
        if (std::memcmp(covered_.Data() + static_cast<std::size_t>(row) * width,
                        buffer.Data() + static_cast<std::size_t>(row) * buffer.Width(),
                        static_cast<std::size_t>(width) * sizeof(Argb)) != 0) {
            return false;
        }
    }
    return true;
}

void BlockCopy(PixelBuffer& destination, int dx, int dy, int width, int height,
               const PixelBuffer& source, int sx, int sy) {
    // Work in 64 bits so that no combination of positions and sizes can overflow.
    long long x0 = 0, y0 = 0, x1 = width, y1 = height;  // offsets within the copied rectangle
    auto clip = [](long long& lo, long long& hi, long long origin, long long extent) {
        lo = std::max(lo, -origin);
        hi = std::min(hi, extent - origin);
    };
    clip(x0, x1, dx, destination.Width());
    clip(x0, x1, sx, source.Width());
    clip(y0, y1, dy, destination.Height());
    clip(y0, y1, sy, source.Height());
    if (x0 >= x1 || y0 >= y1) {
        return;
    }
    const auto run = static_cast<std::size_t>(x1 - x0);
    for (long long row = y0; row < y1; ++row) {
        const Argb* from = source.Data() + (sy + row) * source.Width() + (sx + x0);
        Argb* to = destination.Data() + (dy + row) * destination.Width() + (dx + x0);
        for (std::size_t i = 0; i < run; ++i) {
            to[i] = from[i] | kOpaque;
        }
    }
}

void ScaledBlockCopy(PixelBuffer& destination, int dx, int dy, int width, int height,
                     const PixelBuffer& source, int sx, int sy, int factor) {
    if (factor <= 1) {
        BlockCopy(destination, dx, dy, width, height, source, sx, sy);
        return;
    }
    const PixelRect from = ClipToBuffer({sx, sy, width, height}, source.Width(), source.Height());
    for (int y = from.y; y < from.y + from.height; ++y) {
        for (int x = from.x; x < from.x + from.width; ++x) {
            destination.FillRect(dx + (x - sx) * factor, dy + (y - sy) * factor, factor, factor,
                                 source.Pixel(x, y) | kOpaque);
        }
    }
}

}  // namespace tikora
