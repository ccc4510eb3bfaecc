// SPDX-License-Identifier: MIT
#pragma once

// The skins that ship with Tikora. Restyling a skin is editing its row; tikora-make-skins draws
// every strip and writes every INI file from this table.
//
// Every strip is drawn for a clock slot of 60 x 22 pixels (a 22-pixel panel): the digits' middle
// falls on the slot's middle, and the ink keeps clear of its edges.

namespace tikora::make_skins {

struct Rgb {
    int r;
    int g;
    int b;
};

// How the ten digits and "@" are drawn: glyphs of the row's font, or segments drawn as polygons.
enum class Digits { Font, SevenSegment };

// How the separator cell is drawn: two square dots on the pixel grid, or two round ones.
enum class Dots { Square, Round };

struct SkinRow {
    const char* name;       // folder, INI file and strip share it
    bool displayImage;      // the DisplayImage key
    Digits digits;          // how the strip draws 0-9 and "@"
    Dots dots;              // how the strip draws the separator
    const char* fontFile;   // the digits' font, in the DejaVu folder; segments need none
    const char* fontStyle;  // the style in that file, as fontconfig names it
    const char* atPixels;   // "@" drawn pixel by pixel, rows split by "|": "#" ink, "+" half
    int charWidth;          // cell sizes, pixels
    int charHeight;         //
    int sepWidth;           //
    int glyphWidth;         // the box each digit must fit inside its cell
    int glyphHeight;        //
    int stroke;             // segment and dot thickness, pixels
    int ghostPercent;       // unlit segments: how much ink is mixed into the background
    Rgb ink;                // TextColor, and the strip's glyphs
    Rgb background;         // BgColor, and every cell's background
    const char* separator;  // the Separator key
    const char* textFont;   // the Font key: an installed family for text mode
    int textPointSize;      // the FontSize key
};

// "@" on the pixel grid, rows split by "|", in the weight and manner of each row's digits. The
// ring's right side doubles as the stem of the "a" inside, as small pixel faces draw it, so that
// the inner bowl keeps a hollow in a digit cell.
// clang-format off
inline constexpr const char* kBoldAt =
    "..+####+..|"
    ".##+..+##.|"
    "##......##|"
    "#+.+####.#|"
    "#.##..##.#|"
    "#.##..##.#|"
    "#.##..##.#|"
    "#+.+####+#|"
    "##.......+|"
    ".##+......|"
    "..+#####+.";
inline constexpr const char* kSerifAt =
    "..+####+..|"
    ".#+....+#.|"
    "##......##|"
    "##.+###..#|"
    "##+#+.##.#|"
    "##.#..##.#|"
    "##+#+.##.#|"
    "##.+###+##|"
    "##.......+|"
    ".#+....+#.|"
    "..+####+..";
inline constexpr const char* kCondensedAt =
    "..+####+..|"
    ".##+..+##.|"
    "##+....+##|"
    "##......+#|"
    "##.+###+.#|"
    "##.#+.##.#|"
    "##.#+.##.#|"
    "##.#+.##.#|"
    "##.#+.##.#|"
    "##.#+.##.#|"
    "##.+###+##|"
    "##+.......|"
    ".##+......|"
    "..+#####+.";
inline constexpr const char* kBookAt =
    "..+####+..|"
    ".#+....+#.|"
    "#+......+#|"
    "#..+###+.#|"
    "#..#...#.#|"
    "#..#...#.#|"
    "#..#...#.#|"
    "#..+###+##|"
    "#+........|"
    ".#+.......|"
    "..+#####+.";
// clang-format on

inline constexpr SkinRow kSkins[] = {
    // The default: bold white digits on dark slate, for dark panels of 22 to 32 pixels.
    {.name = "Zefro",
     .displayImage = true,
     .digits = Digits::Font,
     .dots = Dots::Square,
     .fontFile = "DejaVuSans-Bold.ttf",
     .fontStyle = "Bold",
     .atPixels = kBoldAt,
     .charWidth = 11,
     .charHeight = 16,
     .sepWidth = 6,
     .glyphWidth = 10,
     .glyphHeight = 12,
     .stroke = 2,
     .ghostPercent = 0,
     .ink = {238, 241, 245},
     .background = {38, 43, 52},
     .separator = ":",
     .textFont = "DejaVu Sans",
     .textPointSize = 11},
    // The default's twin for light panels: the same digits in near-black on pale grey.
    {.name = "Daylight",
     .displayImage = true,
     .digits = Digits::Font,
     .dots = Dots::Square,
     .fontFile = "DejaVuSans-Bold.ttf",
     .fontStyle = "Bold",
     .atPixels = kBoldAt,
     .charWidth = 11,
     .charHeight = 16,
     .sepWidth = 6,
     .glyphWidth = 10,
     .glyphHeight = 12,
     .stroke = 2,
     .ghostPercent = 0,
     .ink = {30, 35, 42},
     .background = {236, 237, 239},
     .separator = ":",
     .textFont = "DejaVu Sans",
     .textPointSize = 11},
    // Text mode: the desktop draws the time in DejaVu Sans; the strip matches it.
    {.name = "Plain",
     .displayImage = false,
     .digits = Digits::Font,
     .dots = Dots::Square,
     .fontFile = "DejaVuSans.ttf",
     .fontStyle = "Book",
     .atPixels = kBookAt,
     .charWidth = 10,
     .charHeight = 16,
     .sepWidth = 4,
     .glyphWidth = 9,
     .glyphHeight = 12,
     .stroke = 2,
     .ghostPercent = 0,
     .ink = {246, 248, 252},
     .background = {30, 58, 102},
     .separator = ":",
     .textFont = "DejaVu Sans",
     .textPointSize = 11},
    // A red LED display: drawn segments, the unlit ones faintly visible.
    {.name = "Segment",
     .displayImage = true,
     .digits = Digits::SevenSegment,
     .dots = Dots::Square,
     .fontFile = nullptr,
     .fontStyle = nullptr,
     .atPixels = nullptr,
     .charWidth = 12,
     .charHeight = 18,
     .sepWidth = 6,
     .glyphWidth = 10,
     .glyphHeight = 16,
     .stroke = 2,
     .ghostPercent = 12,
     .ink = {255, 52, 36},
     .background = {22, 10, 10},
     .separator = ":",
     .textFont = "DejaVu Sans Mono",
     .textPointSize = 12},
    // Dark ink on warm paper, in a serif face.
    {.name = "Paper",
     .displayImage = true,
     .digits = Digits::Font,
     .dots = Dots::Round,
     .fontFile = "DejaVuSerif-Bold.ttf",
     .fontStyle = "Bold",
     .atPixels = kSerifAt,
     .charWidth = 11,
     .charHeight = 18,
     .sepWidth = 7,
     .glyphWidth = 10,
     .glyphHeight = 12,
     .stroke = 2,
     .ghostPercent = 0,
     .ink = {44, 38, 32},
     .background = {242, 236, 220},
     .separator = ":",
     .textFont = "DejaVu Serif",
     .textPointSize = 12},
    // Tall condensed digits, black on amber: the most a 22-pixel panel holds, with room round it.
    {.name = "Beacon",
     .displayImage = true,
     .digits = Digits::Font,
     .dots = Dots::Square,
     .fontFile = "DejaVuSansCondensed-Bold.ttf",
     .fontStyle = "Condensed Bold",
     .atPixels = kCondensedAt,
     .charWidth = 12,
     .charHeight = 20,
     .sepWidth = 6,
     .glyphWidth = 10,
     .glyphHeight = 16,
     .stroke = 3,
     .ghostPercent = 0,
     .ink = {26, 24, 20},
     .background = {255, 192, 46},
     .separator = ":",
     .textFont = "DejaVu Sans",
     .textPointSize = 12},
};

}  // namespace tikora::make_skins
