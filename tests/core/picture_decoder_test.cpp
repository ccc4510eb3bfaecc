// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "skins/picture_decoder.h"

namespace tikora {
namespace {

using namespace std::string_literals;

std::optional<PixelBuffer> Decode(const std::string& name, std::string* whyNot = nullptr) {
    std::ifstream file(std::string(TIKORA_TEST_DATA) + "/pictures/" + name, std::ios::binary);
    return DecodePicture(std::string(std::istreambuf_iterator<char>(file), {}), whyNot);
}

TEST(DecodePicture, PutsEveryPixelInPlace) {
    for (const char* name : {"strip-3x2.png", "strip-3x2.bmp", "top-down-3x2.bmp"}) {
        const std::optional<PixelBuffer> picture = Decode(name);
        ASSERT_TRUE(picture.has_value()) << name;
        ASSERT_EQ(std::pair(picture->Width(), picture->Height()), std::pair(3, 2)) << name;
        EXPECT_EQ(picture->Pixel(0, 0), 0xFFFF0000u) << name;
        EXPECT_EQ(picture->Pixel(1, 0), 0xFF00FF00u) << name;
        EXPECT_EQ(picture->Pixel(2, 1), 0xFF123456u) << name;
    }
    EXPECT_EQ(Decode("alpha-2x1.png")->Pixel(0, 0), 0x000A141Eu);  // colour under transparency
    // As large as a picture may be, in the format that needs the most working memory.
    const std::optional<PixelBuffer> deep = Decode("interlaced-rgba16-1024x1024.png");
    ASSERT_TRUE(deep.has_value());
    EXPECT_EQ(deep->Pixel(300, 1023), 0x802C00FFu);
}

// Scans that use AC tables the picture never defines find them empty, not holding what the
// picture decoded before left there: the one block comes out in its mean colour every time.
TEST(DecodePicture, UndefinedHuffmanTablesReadAsEmpty) {
    // A picture with many tables, between its scans too, decoded first.
    ASSERT_TRUE(Decode("strip-3x2-progressive.jpg").has_value());
    const std::optional<PixelBuffer> picture = Decode("undefined-ac-tables.jpg");
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Pixel(2, 1), picture->Pixel(0, 0));
    EXPECT_EQ(Decode("undefined-ac-tables.jpg")->Pixel(0, 0), picture->Pixel(0, 0));
}

// Beyond the gallery of broken skins: pictures too large, JPEG tables of more than 256 codes that
// the decoder would write past, two more pictures found by fuzzing, and a JPEG of so many scans
// that decoding it would take minutes.
TEST(DecodePicture, RefusesBrokenPicturesWithAReason) {
    const char* const unreadable = "the file is not a readable picture";
    for (const auto& [name, reason] : {std::pair{"too-wide-16385x1.png", unreadable},
                                       {"over-64MiB-8192x2049.png", "the picture is too large"},
                                       {"huffman-overflow-in-header.jpg", unreadable},
                                       {"huffman-overflow-after-scan.jpg", unreadable},
                                       {"huffman-overflow-found-by-fuzzing.jpg", unreadable},
                                       {"corrupt-progressive-scan.jpg", unreadable},
                                       {"empty-first-idat.png", unreadable},
                                       {"progressive-2000-scans.jpg",
                                        "the picture is split into more scans than any encoder "
                                        "writes"}}) {
        std::string whyNot;
        EXPECT_FALSE(Decode(name, &whyNot).has_value()) << name;
        EXPECT_EQ(whyNot, reason) << name;
    }
}

// A PNG that declares one pixel and whose data inflates to 64 MiB of zeros: one literal, then
// matches of 258 bytes at distance 1, in a block of the fixed Huffman codes. The decoder would
// grow its buffer to hold all of it; it stops once past what one pixel needs.
std::string InflateBomb() {
    std::string deflate = "\x78\x01";
    unsigned bits = 0, count = 0;
    const auto put = [&](unsigned code, unsigned length, bool reversed) {
        for (unsigned i = 0; i < length; ++i) {
            bits |= (reversed ? code >> (length - 1 - i) & 1 : code >> i & 1) << count;
            if (++count == 8) {
                deflate += static_cast<char>(bits);
                bits = count = 0;
            }
        }
    };
    put(0b011, 3, false);      // the last block, fixed codes
    put(0b00110000, 8, true);  // literal 0
    for (int i = 0; i < (64 << 20) / 258; ++i) {
        put(0b11000101, 8, true);  // length 258
        put(0, 5, true);           // distance 1
    }
    put(0, 7, true);  // end of block
    put(0, 7, false);
    const auto chunk = [](const std::string& kind, const std::string& data) {
        const auto size = static_cast<std::uint32_t>(data.size());
        const char length[] = {char(size >> 24), char(size >> 16), char(size >> 8), char(size)};
        return std::string(length, 4) + kind + data + std::string(4, '\0');  // CRCs go unread
    };
    return "\x89PNG\r\n\x1a\n"s + chunk("IHDR", "\0\0\0\1\0\0\0\1\x08\x02\0\0\0"s) +
           chunk("IDAT", deflate) + chunk("IEND", "");
}

TEST(DecodePicture, RefusesDataBeyondTheDeclaredSize) {
    std::string whyNot;
    EXPECT_FALSE(DecodePicture(InflateBomb(), &whyNot).has_value());
    EXPECT_EQ(whyNot, "the picture holds more data than its size needs");
}

}  // namespace
}  // namespace tikora
