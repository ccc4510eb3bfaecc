#include <gtest/gtest.h>

#include <fstream>
#include <iterator>

#include "skins/picture_decoder.h"

namespace tikora {
namespace {

std::optional<PixelBuffer> Decode(const std::string& name, std::string* whyNot = nullptr) {
    std::ifstream file(std::string(TIKORA_TEST_DATA) + "/pictures/" + name, std::ios::binary);
    return DecodePicture(std::string(std::istreambuf_iterator<char>(file), {}), whyNot);
}

TEST(DecodePicture, PutsEveryPixelInPlace) {
    for (const char* name : {"strip-3x2.png", "strip-3x2.bmp"}) {
        const std::optional<PixelBuffer> picture = Decode(name);
        ASSERT_TRUE(picture.has_value()) << name;
        ASSERT_EQ(std::pair(picture->Width(), picture->Height()), std::pair(3, 2)) << name;
        EXPECT_EQ(picture->Pixel(0, 0), 0xFFFF0000u) << name;
        EXPECT_EQ(picture->Pixel(1, 0), 0xFF00FF00u) << name;
        EXPECT_EQ(picture->Pixel(2, 1), 0xFF123456u) << name;
    }
    EXPECT_EQ(Decode("alpha-2x1.png")->Pixel(0, 0), 0x000A141Eu);  // colour under transparency
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
// the decoder would write past, and two more pictures found by fuzzing.
TEST(DecodePicture, RefusesBrokenPicturesWithAReason) {
    const char* const unreadable = "the file is not a readable picture";
    for (const auto& [name, reason] : {std::pair{"too-wide-16385x1.png", unreadable},
                                       {"over-64MiB-8192x2049.png", "the picture is too large"},
                                       {"huffman-overflow-in-header.jpg", unreadable},
                                       {"huffman-overflow-after-scan.jpg", unreadable},
                                       {"huffman-overflow-found-by-fuzzing.jpg", unreadable},
                                       {"corrupt-progressive-scan.jpg", unreadable},
                                       {"empty-first-idat.png", unreadable}}) {
        std::string whyNot;
        EXPECT_FALSE(Decode(name, &whyNot).has_value()) << name;
        EXPECT_EQ(whyNot, reason) << name;
    }
}

}  // namespace
}  // namespace tikora
