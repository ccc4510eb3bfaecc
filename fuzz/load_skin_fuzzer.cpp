// SPDX-License-Identifier: MIT
// A whole skin reading on a fuzzed skin folder held in memory: the input is the INI file's bytes,
// then kSeparator, then the image file's bytes, put wherever the INI's Main sends the reader. The
// glyphs of both clock faces are then copied out of the strip as a tick would copy them.
//
// Besides the sanitizers, a reading must tell the truth: a refused skin says why, and only a
// missing image says it with the message the user sees; a loaded one has a strip and sizes a
// screen can hold.

#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "clock/glyph_layout.h"
#include "clock/pixel_buffer.h"
#include "platform/memory_files.h"
#include "skins/skin_reader.h"

namespace {

using namespace tikora;

constexpr std::string_view kSeparator = "\n@@TIKORA-IMAGE@@\n";
constexpr char kFolder[] = "/skins/fuzzed";
constexpr char kIniName[] = "skin.ini";

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

bool SizeOnScreen(float size, float largest) {
    return std::isfinite(size) && size >= 0 && size <= largest;
}

// The two faces a tick draws, into a window of a taskbar clock's size.
void DrawFaces(const SkinLook& look) {
    PixelBuffer window(120, 40);
    for (const auto& [text, beat] : {std::pair{U"12:34", false}, std::pair{U"@987", true}}) {
        const std::u32string_view shown = text;
        for (std::size_t i = 0; i < shown.size(); ++i) {
            const auto copy = PlaceGlyph(shown[i], static_cast<std::int32_t>(i), beat, look.sizes,
                                         window.Width(), window.Height());
            Require(copy.has_value());
            BlockCopy(window, copy->destinationX, copy->destinationY, copy->width, copy->height,
                      look.strip, copy->sourceX, 0);
        }
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find(kSeparator);
    const std::string_view ini = input.substr(0, split);

    MemoryFiles files;
    const std::string folder = kFolder;
    const std::string iniPath = folder + "/" + kIniName;
    files.Put(iniPath, std::string(ini));
    if (split != std::string_view::npos) {
        // The image goes where the reader will look for it, unless Main names the skin file.
        std::string main = SkinFile(files, iniPath).Value("Image Files", "Main");
        std::replace(main.begin(), main.end(), '\\', '/');
        files.Put(folder + "/" + main, std::string(input.substr(split + kSeparator.size())));
        files.Put(iniPath, std::string(ini));
    }

    const SkinReading reading = ReadSkin(files, folder, kIniName);

    Require(reading.look.has_value() == (reading.refusal == SkinRefusal::kNone));
    Require(reading.whyNot.empty() == (reading.refusal == SkinRefusal::kNone));
    Require((reading.whyNot == kImageNotFoundMessage) ==
            (reading.refusal == SkinRefusal::kImageNotFound));
    if (reading.refusal == SkinRefusal::kImageNotFound || reading.look) {
        Require(reading.general.has_value());
    }
    if (reading.look) {
        const SkinLook& look = *reading.look;
        Require(!look.strip.Empty());
        Require(SizeOnScreen(look.sizes.charWidth, kMaxCellSize) &&
                SizeOnScreen(look.sizes.charHeight, kMaxCellSize) &&
                SizeOnScreen(look.sizes.sepWidth, kMaxCellSize) &&
                SizeOnScreen(look.fontSize, kMaxFontSize));
        Require(look.textColor <= 0xFFFFFFu && look.backColor <= 0xFFFFFFu);
        DrawFaces(look);
    }
    return 0;
}
