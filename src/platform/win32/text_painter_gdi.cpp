// SPDX-License-Identifier: MIT
#include <windows.h>

#include <cmath>
#include <cstring>
#include <optional>

#include "platform/text_painter.h"
#include "win32/wide_text.h"

namespace tikora {
namespace {

// GDI's font height in pixels; negative asks for the character height, as a point size does.
int FontHeight(const FontSpec& font) {
    if (font.pointSize <= 0) {
        return 0;  // the mapper's default size
    }
    return -static_cast<int>(std::lround(double{font.pointSize} * font.dotsPerInch / 72.0));
}

COLORREF ToColorRef(Argb colour) {
    return RGB((colour >> 16) & 0xFFu, (colour >> 8) & 0xFFu, colour & 0xFFu);
}

}  // namespace

struct TextPainter::Cache {
    HDC dc = CreateCompatibleDC(nullptr);
    HGDIOBJ firstFont = nullptr;  // the device context's own, selected back before deletion
    FontSpec current;
    HFONT font = nullptr;
    int lineHeight = 0;
    // The last text measured in this font and its size: a tick measures the text it shows, which
    // changes once a minute.
    std::optional<std::string> measuredText;
    TextExtent measured;

    Cache() {
        SetBkMode(dc, TRANSPARENT);
        SetTextAlign(dc, TA_TOP | TA_LEFT | TA_NOUPDATECP);
    }
    ~Cache() {
        if (firstFont != nullptr) {
            SelectObject(dc, firstFont);
        }
        DeleteObject(font);
        DeleteDC(dc);
    }
    Cache(const Cache&) = delete;
    Cache& operator=(const Cache&) = delete;

    // The font mapper stands in a face of its choice for one the system lacks.
    void Use(const FontSpec& wanted) {
        if (font != nullptr && wanted == current) {
            return;
        }
        measuredText.reset();
        current = wanted;
        const HFONT made = CreateFontW(FontHeight(wanted), 0, 0, 0, FW_NORMAL, FALSE, FALSE, FALSE,
                                       DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS,
                                       ANTIALIASED_QUALITY, DEFAULT_PITCH | FF_DONTCARE,
                                       Widen(wanted.name).c_str());
        if (made == nullptr) {
            return;
        }
        const HGDIOBJ previous = SelectObject(dc, made);
        if (firstFont == nullptr) {
            firstFont = previous;
        }
        DeleteObject(font);
        font = made;
        TEXTMETRICW metrics{};
        GetTextMetricsW(dc, &metrics);
        lineHeight = metrics.tmHeight;
    }
};

TextPainter::TextPainter() : cache_(std::make_unique<Cache>()) {}
TextPainter::~TextPainter() = default;

TextExtent TextPainter::Measure(const std::string& utf8, const FontSpec& font) {
    cache_->Use(font);
    if (cache_->measuredText != utf8) {
        const std::wstring text = Widen(utf8);
        SIZE size{};
        GetTextExtentPoint32W(cache_->dc, text.c_str(), static_cast<int>(text.size()), &size);
        cache_->measured = {static_cast<double>(size.cx), static_cast<double>(cache_->lineHeight)};
        cache_->measuredText = utf8;
    }
    return cache_->measured;
}

namespace {

// A 32-bit top-down DIB section: its pixels are laid out as the buffer's.
HBITMAP MakeSection(HDC dc, int width, int height, Argb*& pixels) {
    BITMAPINFO info{};
    info.bmiHeader.biSize = sizeof info.bmiHeader;
    info.bmiHeader.biWidth = width;
    info.bmiHeader.biHeight = -height;
    info.bmiHeader.biPlanes = 1;
    info.bmiHeader.biBitCount = 32;
    info.bmiHeader.biCompression = BI_RGB;
    void* bits = nullptr;
    const HBITMAP section = CreateDIBSection(dc, &info, DIB_RGB_COLORS, &bits, nullptr, 0);
    pixels = static_cast<Argb*>(bits);
    return section;
}

}  // namespace

// GDI draws into a copy of the area and cannot reach past it; the copy then goes back.
void TextPainter::Draw(PixelBuffer& target, const std::string& utf8, const FontSpec& font,
                       Argb colour, Point origin, const PixelRect& area) {
    const PixelRect part = ClipToBuffer(area, target.Width(), target.Height());
    if (part.Empty()) {
        return;
    }
    cache_->Use(font);
    Argb* pixels = nullptr;
    const HBITMAP section = MakeSection(cache_->dc, part.width, part.height, pixels);
    if (section == nullptr) {
        return;
    }
    const auto rowBytes = static_cast<std::size_t>(part.width) * sizeof(Argb);
    const auto row = [&](int y) {
        return target.Data() + static_cast<std::size_t>(part.y + y) * target.Width() + part.x;
    };
    for (int y = 0; y < part.height; ++y) {
        std::memcpy(pixels + static_cast<std::size_t>(y) * part.width, row(y), rowBytes);
    }
    const HGDIOBJ previous = SelectObject(cache_->dc, section);
    SetTextColor(cache_->dc, ToColorRef(colour));
    const std::wstring text = Widen(utf8);
    TextOutW(cache_->dc, origin.x - part.x, origin.y - part.y, text.c_str(),
             static_cast<int>(text.size()));
    GdiFlush();
    // GDI leaves the alpha byte of every pixel it touches at 0.
    for (int y = 0; y < part.height; ++y) {
        Argb* out = row(y);
        const Argb* drawn = pixels + static_cast<std::size_t>(y) * part.width;
        for (int x = 0; x < part.width; ++x) {
            const Argb opaque = (out[x] & kOpaque) == kOpaque ? kOpaque : 0;
            out[x] = drawn[x] | opaque;
        }
    }
    SelectObject(cache_->dc, previous);
    DeleteObject(section);
}

}  // namespace tikora
