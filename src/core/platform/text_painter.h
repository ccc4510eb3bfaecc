// SPDX-License-Identifier: MIT
#pragma once

#include <memory>
#include <string>

#include "clock/pixel_buffer.h"
#include "clock/text_layout.h"

namespace tikora {

struct FontSpec {
    std::string name;
    float pointSize = 0;
    int dotsPerInch = 96;
    bool operator==(const FontSpec&) const = default;
};

struct TextExtent {
    double width = 0;
    double height = 0;
};

// Measures and draws text into pixel buffers with the system's fonts; a face the system lacks is
// replaced by the one fontconfig substitutes. Keeps the last font so that a tick does not build
// fonts and metrics anew.
class TextPainter {
  public:
    TextPainter();
    ~TextPainter();
    TextPainter(const TextPainter&) = delete;
    TextPainter& operator=(const TextPainter&) = delete;

    TextExtent Measure(const std::string& utf8, const FontSpec& font);
    // Draws with the text's top-left corner at `origin`, cut at the edges of `area` and of the
    // buffer: no pixel outside `area` changes, and those inside come out as they would without it.
    void Draw(PixelBuffer& target, const std::string& utf8, const FontSpec& font, Argb colour,
              Point origin, const PixelRect& area);

  private:
    struct Cache;
    std::unique_ptr<Cache> cache_;
};

}  // namespace tikora
