// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <regex>

#include "platform/memory_files.h"
#include "skins/profile_file.h"
#include "skins/skin_reader.h"
#include "skins/skin_values.h"

namespace tikora {
namespace {

using namespace std::literals;

const std::string kGallery = TIKORA_TEST_DATA "/broken-skins/";
const std::string kFolder = "/skins/skin";
const std::string kIni = kFolder + "/skin.ini";

std::string Bytes(const std::filesystem::path& path) {
    std::ifstream file(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), {}};
}

// A good skin file with one line changed: "Key=value" replaces the key's line, "Key" drops it.
std::string Ini(const std::string& change = "") {
    const std::string key = change.substr(0, change.find('=')), line = change + "\n";
    return std::regex_replace(Bytes(kGallery + "main-names-a-folder/skin.ini"),
                              std::regex("\n" + key + "=[^\n]*\n"),
                              key == change ? "\n" : "\n" + line);
}

TEST(SkinReader, ReadsTheWholeLookOnceWithNamesInAnyCaseAndAWindowsPath) {
    MemoryFiles files;
    files.Put(kFolder + "/art/strip.png", Bytes(kGallery + "nan-size/strip.png"));
    files.Put(
        kIni,
        "[general]\ndisplayimage=1\nSeparator=\" ::\"\n[IMAGE FILES]\nMain=Art\\STRIP.png\n"
        "[image info]\ncharwidth=8\nCHARHEIGHT=11\nSepWidth=4.5\n[Text]\n"
        "TextColor= 255 , 128 , 0\nBgColor=0,0,64\nFont=\"DejaVu Sans\0Mono\"\nFontSize=8.25\n"s);

    const SkinReading reading = ReadSkin(files, kFolder + "/", "skin.ini");

    ASSERT_TRUE(reading.general && reading.look) << reading.whyNot;
    EXPECT_EQ(std::pair(reading.general->displayImage, reading.general->separator),
              std::pair(true, "::"s));
    const SkinLook& look = *reading.look;
    EXPECT_EQ(std::pair(look.strip.Width(), look.strip.Height()), std::pair(92, 11));
    EXPECT_EQ(std::tuple(look.sizes.charWidth, look.sizes.charHeight, look.sizes.sepWidth),
              std::tuple(8.0f, 11.0f, 4.5f));
    EXPECT_EQ(std::pair(look.textColor, look.backColor), std::pair(0x0080FFu, 0x400000u));
    EXPECT_EQ(std::pair(look.font, look.fontSize), std::pair(std::string("DejaVu Sans"), 8.25f));
    EXPECT_EQ(look.imagePath, kFolder + "//art/strip.png");
    EXPECT_EQ(files.Reads(), 2u);  // the skin file once for every value, and the strip
    EXPECT_EQ(SkinFile(files, kIni).Value("Text", "Nothing"), kIni);  // a missing key's value
}

// Without the key the usual colon, not the path's first character; an empty one stays empty.
TEST(SkinReader, ReadsAMissingSeparatorAsAColon) {
    MemoryFiles files;
    files.Put(kFolder + "/strip.png", Bytes(kGallery + "nan-size/strip.png"));
    for (const auto& [change, separator] : {std::pair{"Separator", ":"}, {"Separator=", ""}}) {
        files.Put(kIni, Ini(change));
        EXPECT_EQ(ReadSkin(files, kFolder, "skin.ini").general->separator, separator) << change;
    }
}

// Main as written, else the one name in its folder that reads the same in any case, a name in
// the single-byte code page (as written on Windows) read as such.
TEST(SkinReader, FindsTheImageByAUniqueNameInAnyCase) {
    const std::tuple<std::vector<std::string>, std::string, std::string> cases[] = {
        {{"strip.bmp", "Strip.BMP"}, "Strip.BMP", "Strip.BMP"},
        {{"strip.bmp"}, "Strip.BMP", "strip.bmp"},
        {{"h\xE9llo.png"}, "H\xC3\xA9LLO.png", "h\xE9llo.png"},
        {{"a.png", "A.png"}, "a.PNG", ""},
        {{"a.png"}, "b.png", ""},
    };
    for (const auto& [names, main, found] : cases) {
        MemoryFiles files;
        files.Put(kIni, Ini("Main=" + main));
        for (const std::string& name : names) {
            files.Put(kFolder + "/" + name, Bytes(kGallery + "nan-size/strip.png"));
        }
        const SkinReading reading = ReadSkin(files, kFolder, "skin.ini");
        EXPECT_EQ(reading.refusal == SkinRefusal::kImageNotFound, found.empty()) << main;
        if (!found.empty()) {
            EXPECT_EQ(reading.look.value_or(SkinLook{}).imagePath, kFolder + "/" + found) << main;
        }
    }
}

// The gallery of broken skins (its README.md says what each one is) and a few more made from a
// good skin: each is refused with the first reason found, only a missing image with the user's
// message, and DisplayImage and Separator are read unless the skin file itself is refused.
TEST(SkinReader, RefusesBrokenSkinsSayingWhy) {
    struct Refused {
        std::string folder;  // copied from the gallery, if there
        std::string change;  // to the good skin file, as Ini() makes it ("" for none)
        std::string reason;
        bool readsGeneral;
    };
    const std::string picture = ": the file is not a readable picture";
    const std::string size = " is not a size from 0 to 120";
    const std::string colour = " is not a colour \"red,green,blue\"";
    const std::string noFile = "no such skin file, or not a readable one";
    const Refused cases[] = {
        {"truncated-bmp", "", "strip.bmp" + picture, true},
        {"png-claims-100000x100000", "", "strip.png" + picture, true},
        {"zero-size-image", "", "strip.png" + picture, true},
        {"image-is-text", "", "strip.png" + picture, true},
        {"jpeg-of-2000-scans", "",
         "strip.jpg: the picture is split into more scans than any encoder writes", true},
        {"char-width-1e30", "", "CharWidth" + size, true},
        {"nan-size", "", "CharHeight" + size, true},
        {"negative-sizes", "", "SepWidth" + size, true},  // and FontSize, read later
        {"ini-10-mb", "", noFile, false},                 // past 1 MiB a file is not read
        {"main-names-a-folder", "", kImageNotFoundMessage, true},
        {"binary-garbage", "", "DisplayImage is not True or False", false},
        {"nan-size", "Main", kImageNotFoundMessage, true},  // reads as the skin file's own path
        {"nan-size", "CharHeight", "CharHeight" + size, true},
        {"nan-size", "CharWidth=120.5", "CharWidth" + size, true},
        {"nan-size", "FontSize=72.5", "FontSize is not a size from 0 to 72", true},
        {"nan-size", "TextColor=1,2", "TextColor" + colour, true},
        {"nan-size", "BgColor=0,9e9,0", "BgColor" + colour, true},
    };
    for (const Refused& c : cases) {
        SCOPED_TRACE(c.folder + " " + c.change);
        MemoryFiles files;
        std::error_code noFolder;
        for (const auto& entry :
             std::filesystem::directory_iterator(kGallery + c.folder, noFolder)) {
            files.Put(kFolder + "/" + entry.path().filename().string(), Bytes(entry.path()));
        }
        if (c.folder == "ini-10-mb") {
            files.Put(kIni, Ini() + std::string(10'000'000, ';'));
        } else if (c.folder == "main-names-a-folder") {
            files.PutOther(kFolder + "/strip.png");
        } else if (!c.change.empty()) {
            files.Put(kIni, Ini(c.change));
        }

        const SkinReading reading = ReadSkin(files, kFolder, "skin.ini");

        EXPECT_EQ(reading.whyNot, c.reason);
        EXPECT_EQ(reading.refusal, c.reason == kImageNotFoundMessage ? SkinRefusal::kImageNotFound
                                                                     : SkinRefusal::kInvalid);
        EXPECT_FALSE(reading.look.has_value());
        EXPECT_EQ(reading.general.has_value(), c.readsGeneral);
    }
}

// The Windows profile-file rules: what key "x" of section "a" (or the names given) reads as.
TEST(ProfileReader, FindsWhatWindowsWouldFind) {
    struct {
        std::string_view file;
        std::optional<std::string_view> value;
        const char* section = "a";
        const char* key = "x";
    } const cases[] = {
        {"[Clock]\nFont=Arial\n", "Arial", "cLOCK", "FONT"},
        {"[\xC3\x84hre]\n\xC3\x96l=1", "1", "\xC3\xA4hre", "\xC3\xB6l"},
        {" \t[ a ] \n \t x \t= \tArial Narrow \t\n", "Arial Narrow"},
        {"[a]\nx=\" padded \"", " padded "},
        {"[a]\nx='v'", "v"},
        {"[a]\nx=\"\"v\"\"", "\"v\""},
        {"[a]\nx=\"v'", "\"v'"},
        {"[a]\nx=", ""},
        {"[a]\nx=1\nX=2", "1"},
        {"[a]\nx=1\n[A]\nx=2", "1"},
        {"[a]\ny=1\n[b]\n[a]\nx=2", std::nullopt},
        {"[a]\nx = b=c", "b=c"},
        {"[a]\n  ;x=1\n", std::nullopt, "a", ";x"},
        {"[a b \nx=1", "1", "a b"},
        {"[a]\rx=1\ry=2\r", "2", "a", "y"},
        {"[a]\r\nx=1\r\n", "1"},
        {"\xEF\xBB\xBF[a]\nx=1", "1"},
        {"[a]\nx=caf\xE9 \x80", "caf\xC3\xA9 \xE2\x82\xAC"},
        {"[a]\nx=1\0002\ny=3"sv, "1\0002"sv},
        {"\xFF\xFE[\0a\0]\0\r\0\n\0x\0=\0\xE9\0"sv, "\xC3\xA9"},              // UTF-16
        {"\xFE\xFF\0[\0a\0]\0\n\0x\0=\xD8\x3D\xDE\0"sv, "\xF0\x9F\x98\x80"},  // big-endian
        {"\xFF\xFE[\0a\0]\0\n\0x\0=\0\0\xDC!"sv, "\xEF\xBF\xBD"},  // half a pair, odd byte
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string(c.file));
        EXPECT_EQ(ProfileFile::Parse(c.file).Lookup(c.section, c.key), c.value);
    }
}

// Into the callers' 256-character buffers: at most 255 characters, never cut inside one.
TEST(ProfileReader, GivesTheValueOrTheDefaultCutToTheBuffer) {
    const std::string a254(254, 'a');
    const ProfileFile file =
        ProfileFile::Parse("[a]\nx=" + a254 + "\xE2\x82\xAC!\ny=" + a254 + "bc");
    EXPECT_EQ(ReadProfileValue(file, "a", "x", "d"), a254 + "\xE2\x82\xAC");
    EXPECT_EQ(ReadProfileValue(file, "a", "y", "d"), a254 + "b");
    EXPECT_EQ(ReadProfileValue(file, "a", "z", "d"), "d");
    EXPECT_EQ(ReadProfileValue(ProfileFile::Parse("[a]\nx="), "a", "x", "d"), "");
}

// Booleans are words in any case or numbers, numbers decimals in single precision, and colours
// "red,green,blue" with red in the low byte.
TEST(SkinValues, ReadAsTheSkinFilesMeanThem) {
    constexpr std::nullopt_t kNone = std::nullopt;
    const std::pair<const char*, std::optional<bool>> booleans[] = {
        {"True", true}, {" \tFALSE ", false}, {"-1", true}, {"0.0", false},
        {"yes", kNone}, {"truex", kNone},     {"", kNone}};
    for (const auto& [text, value] : booleans) {
        EXPECT_EQ(ParseSkinBoolean(text), value) << '"' << text << '"';
    }
    const std::pair<const char*, std::optional<float>> numbers[] = {
        {"12", 12.0f},   {"-3.5", -3.5f}, {"+.5", 0.5f},   {"2.5E-1", 0.25f},
        {" 7.5 ", 7.5f}, {"1e30", 1e30f}, {"1e-50", 0.0f}, {"1e39", kNone},
        {"NaN", kNone},  {"inf", kNone},  {"0x10", kNone}, {".", kNone},
        {"1e", kNone},   {"1,5", kNone},  {"", kNone},     {"1e99999999", kNone}};
    for (const auto& [text, value] : numbers) {
        EXPECT_EQ(ParseSkinNumber(text), value) << '"' << text << '"';
    }
    const std::pair<const char*, std::optional<std::uint32_t>> colours[] = {
        {" 255 , 128 , 0 ", 0x0080FFu}, {"0,0,255", 0xFF0000u},    {"300,0,0", 0x0000FFu},
        {"1,2,3,x", 0x030201u},         {"2.5,3.5,0", 0x000402u},  {"32767.4,0,0", 0x0000FFu},
        {"1,2", std::nullopt},          {"1,2,", std::nullopt},    {"-1,0,0", std::nullopt},
        {"0,0,32767.5", std::nullopt},  {"red,0,0", std::nullopt}, {"1,,3", std::nullopt}};
    for (const auto& [text, value] : colours) {
        EXPECT_EQ(ParseSkinColour(text), value) << '"' << text << '"';
    }
}

}  // namespace
}  // namespace tikora
