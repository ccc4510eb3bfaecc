// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "clock/glyph_layout.h"
#include "clock/pixel_buffer.h"
#include "platform/file_access.h"
#include "skins/profile_file.h"

namespace tikora {

// A skin file is a few hundred bytes; anything past this is not a skin and is not read at all.
inline constexpr std::size_t kMaxSkinFileBytes = std::size_t{1} << 20;
// The clock fits the narrowest screen it is made for, 640 pixels wide: four digit cells and the
// separator's, with the room a tray gives round them, and a text face at this font size (whose
// width the window measures) stay within it. Larger cells or fonts are no taskbar clock, and only
// cost memory.
inline constexpr float kMaxCellSize = 120;
inline constexpr float kMaxFontSize = 72;

// The one refusal the user is told about: the skin's image file is not there.
inline constexpr char kImageNotFoundMessage[] =
    "Image file not found. Tikora will load the default skin.";

// A skin file, read and parsed once: a file of a megabyte of sections costs one reading for a
// whole load, not one for every value.
class SkinFile {
  public:
    SkinFile(const FileAccess& files, std::string path);

    // The value as the profile lookup gives it into a 256-character buffer, up to its first NUL and
    // with leading spaces removed. A missing key, or a missing or unreadable file, gives the skin
    // file's own path.
    std::string Value(std::string_view section, std::string_view key) const;
    // The same with `missing` in place of the path.
    std::string ValueOr(std::string_view section, std::string_view key,
                        std::string_view missing) const;

    bool Readable() const { return readable_; }
    const std::string& Path() const { return path_; }

  private:
    std::string path_;
    bool readable_ = false;
    ProfileFile file_;
};

// Read before anything but the skin file itself can fail: a load refused later still puts these
// in force.
struct SkinGeneral {
    bool displayImage = false;
    std::string
        separator;  // the Separator value, ":" when missing; only its first character counts
};

// Everything else a skin puts on the clock window, read and checked as a whole.
struct SkinLook {
    std::string imagePath;
    PixelBuffer strip;
    GlyphMetrics sizes;
    std::uint32_t textColor = 0;  // colour references
    std::uint32_t backColor = 0;
    std::string font;
    float fontSize = 0;
};

enum class SkinRefusal {
    kNone,
    kImageNotFound,  // told to the user (kImageNotFoundMessage)
    kInvalid,        // anything else: `whyNot` says why, for the user and the people who make skins
};

struct SkinReading {
    std::optional<SkinGeneral> general;  // present once DisplayImage could be read
    std::optional<SkinLook> look;        // present only when the skin loads
    SkinRefusal refusal = SkinRefusal::kNone;
    std::string whyNot;  // the first reason found, in a few words; empty when loaded
};

// The skin in `folder` whose file is named `file`: its file at folder + "/" + file, its image at
// folder + "/" + Main, with any "\" of Main (skins made on Windows) read as "/". Skins made on
// Windows also name their files in any letter case, or in the single-byte code page: a part of
// Main that is not there as written stands for the one entry of its folder whose name reads the
// same without regard to case; with none, or more than one, the image is not found.
SkinReading ReadSkin(const FileAccess& files, const std::string& folder, const std::string& file);

}  // namespace tikora
