#pragma once

// The skins that ship with Tikora. Restyling a skin is editing its row; tikora-make-skins draws
// every strip and writes every INI file from this table.

namespace tikora::make_skins {

struct Rgb {
    int r;
    int g;
    int b;
};

// How the ten digits are drawn: glyphs of the row's font, or seven segments drawn as polygons.
enum class Digits { Font, SevenSegment };

// How the separator cell is drawn: the font's glyph, or two square dots on the pixel grid.
enum class Dots { Font, Square };

struct SkinRow {
    const char* name;         // folder, INI file and strip share it
    bool displayImage;        // the DisplayImage key
    Digits digits;            // how the strip draws 0-9
    Dots dots;                // how the strip draws the separator
    const char* fontFile;     // digits and a font separator; seven-segment digits ignore it
    const char* fontStyle;    // the style in that file, as fontconfig names it
    const char* atFontFile;   // "@" must fit a digit cell: a narrow (monospaced) font keeps it open
    const char* atFontStyle;  //
    int charWidth;            // cell sizes, pixels
    int charHeight;           //
    int sepWidth;             //
    int glyphWidth;           // the box each digit must fit inside its cell
    int glyphHeight;          //
    int stroke;               // segment and square-dot thickness, pixels
    int ghostPercent;         // unlit segments: how much ink is mixed into the background
    Rgb ink;                  // TextColor, and the strip's glyphs
    Rgb background;           // BgColor, and every cell's background
    const char* separator;    // the Separator key, and the glyph a font separator draws
    const char* textFont;     // the Font key: an installed family for text mode
    int textPointSize;        // the FontSize key
};

inline constexpr SkinRow kSkins[] = {
    // The default: bold white digits on dark slate, for 22-32 pixel panels.
    {.name = "Zefro",
     .displayImage = true,
     .digits = Digits::Font,
     .dots = Dots::Square,
     .fontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans-Bold.ttf",
     .fontStyle = "Bold",
     .atFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
     .atFontStyle = "Bold",
     .charWidth = 9,
     .charHeight = 16,
     .sepWidth = 5,
     .glyphWidth = 8,
     .glyphHeight = 11,
     .stroke = 2,
     .ghostPercent = 0,
     .ink = {238, 241, 245},
     .background = {38, 43, 52},
     .separator = ":",
     .textFont = "DejaVu Sans",
     .textPointSize = 11},
    // Text mode: the desktop draws the time in DejaVu Sans; the strip matches it.
    {.name = "Plain",
     .displayImage = false,
     .digits = Digits::Font,
     .dots = Dots::Font,
     .fontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSans.ttf",
     .fontStyle = "Book",
     .atFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono.ttf",
     .atFontStyle = "Book",
     .charWidth = 8,
     .charHeight = 16,
     .sepWidth = 4,
     .glyphWidth = 7,
     .glyphHeight = 10,
     .stroke = 1,
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
     .fontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
     .fontStyle = "Bold",
     .atFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
     .atFontStyle = "Bold",
     .charWidth = 11,
     .charHeight = 18,
     .sepWidth = 5,
     .glyphWidth = 9,
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
     .dots = Dots::Font,
     .fontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSerif-Bold.ttf",
     .fontStyle = "Bold",
     .atFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
     .atFontStyle = "Bold",
     .charWidth = 10,
     .charHeight = 18,
     .sepWidth = 5,
     .glyphWidth = 9,
     .glyphHeight = 12,
     .stroke = 2,
     .ghostPercent = 0,
     .ink = {44, 38, 32},
     .background = {242, 236, 220},
     .separator = ":",
     .textFont = "DejaVu Serif",
     .textPointSize = 12},
    // Large condensed digits, black on amber, for 36-48 pixel panels.
    {.name = "Beacon",
     .displayImage = true,
     .digits = Digits::Font,
     .dots = Dots::Square,
     .fontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSansCondensed-Bold.ttf",
     .fontStyle = "Condensed Bold",
     .atFontFile = "/usr/share/fonts/truetype/dejavu/DejaVuSansMono-Bold.ttf",
     .atFontStyle = "Bold",
     .charWidth = 13,
     .charHeight = 28,
     .sepWidth = 7,
     .glyphWidth = 12,
     .glyphHeight = 20,
     .stroke = 3,
     .ghostPercent = 0,
     .ink = {26, 24, 20},
     .background = {255, 192, 46},
     .separator = ":",
     .textFont = "DejaVu Sans",
     .textPointSize = 16},
};

}  // namespace tikora::make_skins
