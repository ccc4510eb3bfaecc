#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "skins/picture_decoder.h"

namespace tikora {
namespace {

std::string ReadData(const std::string& name) {
    std::ifstream in(std::string(TIKORA_TEST_DATA) + "/pictures/" + name, std::ios::binary);
    std::ostringstream content;
    content << in.rdbuf();
    return content.str();
}

class DecodesStrip : public ::testing::TestWithParam<const char*> {};

TEST_P(DecodesStrip, WithEveryPixelInPlace) {
    const std::optional<PixelBuffer> picture = DecodePicture(ReadData(GetParam()));
    ASSERT_TRUE(picture.has_value());
    ASSERT_EQ(picture->Width(), 3);
    ASSERT_EQ(picture->Height(), 2);
    EXPECT_EQ(picture->Pixel(0, 0), 0xFFFF0000u);
    EXPECT_EQ(picture->Pixel(1, 0), 0xFF00FF00u);
    EXPECT_EQ(picture->Pixel(2, 0), 0xFF0000FFu);
    EXPECT_EQ(picture->Pixel(0, 1), 0xFFFFFFFFu);
    EXPECT_EQ(picture->Pixel(2, 1), 0xFF123456u);
}

INSTANTIATE_TEST_SUITE_P(Formats, DecodesStrip,
                         ::testing::Values("strip-3x2.png", "strip-3x2.bmp"));

// JPEGs whose tables fit are read, however many tables they define where (a progressive one
// defines more between its scans). JPEG keeps colours only nearly.
class DecodesJpeg : public ::testing::TestWithParam<const char*> {};

TEST_P(DecodesJpeg, NearlyAsItWas) {
    const std::optional<PixelBuffer> picture = DecodePicture(ReadData(GetParam()));
    ASSERT_TRUE(picture.has_value());
    ASSERT_EQ(picture->Width(), 3);
    ASSERT_EQ(picture->Height(), 2);
    const Argb red = picture->Pixel(0, 0);
    EXPECT_GT(red >> 16 & 0xFF, 160u);
    EXPECT_LT(red >> 8 & 0xFF, 100u);
    const Argb white = picture->Pixel(0, 1);
    EXPECT_GT(white & 0xFF, 160u);
}

INSTANTIATE_TEST_SUITE_P(Jpegs, DecodesJpeg,
                         ::testing::Values("strip-3x2.jpg", "strip-3x2-progressive.jpg"));

// A JPEG whose scans use AC tables it never defines: the decoder finds them empty, not holding
// whatever an earlier picture left in its memory, and every pixel of the one block comes out in
// the block's mean colour, the same every time.
TEST(DecodePicture, UndefinedHuffmanTablesReadAsEmpty) {
    // A picture with every table first, whose decoder's memory the next one may be given.
    ASSERT_TRUE(DecodePicture(ReadData("strip-3x2-progressive.jpg")).has_value());
    const std::string bytes = ReadData("undefined-ac-tables.jpg");
    const std::optional<PixelBuffer> picture = DecodePicture(bytes);
    ASSERT_TRUE(picture.has_value());
    ASSERT_EQ(picture->Width(), 3);
    ASSERT_EQ(picture->Height(), 2);
    for (int y = 0; y < 2; ++y) {
        for (int x = 0; x < 3; ++x) {
            EXPECT_EQ(picture->Pixel(x, y), picture->Pixel(0, 0)) << x << "," << y;
        }
    }
    const std::optional<PixelBuffer> again = DecodePicture(bytes);
    ASSERT_TRUE(again.has_value());
    EXPECT_EQ(again->Pixel(0, 0), picture->Pixel(0, 0));
}

TEST(DecodePicture, KeepsColourUnderTransparency) {
    const std::optional<PixelBuffer> picture = DecodePicture(ReadData("alpha-2x1.png"));
    ASSERT_TRUE(picture.has_value());
    EXPECT_EQ(picture->Pixel(0, 0), 0x000A141Eu);
    EXPECT_EQ(picture->Pixel(1, 0), 0xFF28323Cu);
}

struct RefusedCase {
    const char* name;
    const char* file;
    const char* reason;
};

class RefusesPicture : public ::testing::TestWithParam<RefusedCase> {};

TEST_P(RefusesPicture, WithAReason) {
    std::string whyNot;
    EXPECT_FALSE(DecodePicture(ReadData(GetParam().file), &whyNot).has_value());
    EXPECT_EQ(whyNot, GetParam().reason);
}

INSTANTIATE_TEST_SUITE_P(
    Broken, RefusesPicture,
    ::testing::Values(
        RefusedCase{"TextFile", "text-file.png", "the file is not a readable picture"},
        RefusedCase{"NoPixels", "zero-size.png", "the file is not a readable picture"},
        RefusedCase{"TruncatedBitmap", "truncated.bmp", "the file is not a readable picture"},
        RefusedCase{"HeaderClaimsTenGigapixels", "claims-100000x100000.png",
                    "the file is not a readable picture"},
        RefusedCase{"WiderThanSixteenThousand", "too-wide-16385x1.png",
                    "the file is not a readable picture"},
        RefusedCase{"OverSixtyFourMebibytes", "over-64MiB-8192x2049.png",
                    "the picture is too large"},
        RefusedCase{"Empty", "missing-file.png", "the file is not a readable picture"},
        // More than 256 codes in a JPEG Huffman table, which the decoder would write past the
        // table: in the header, after the scan of a good picture, and as the fuzzer found it.
        RefusedCase{"HuffmanTableOverflowInHeader", "huffman-overflow-in-header.jpg",
                    "the file is not a readable picture"},
        RefusedCase{"HuffmanTableOverflowAfterScan", "huffman-overflow-after-scan.jpg",
                    "the file is not a readable picture"},
        RefusedCase{"HuffmanTableOverflowFoundByFuzzing", "huffman-overflow-found-by-fuzzing.jpg",
                    "the file is not a readable picture"},
        // Scan data that runs the decoder's count of bits below zero (found by fuzzing).
        RefusedCase{"CorruptProgressiveScan", "corrupt-progressive-scan.jpg",
                    "the file is not a readable picture"},
        // An empty first IDAT chunk, copied to a buffer not yet there (found by fuzzing).
        RefusedCase{"EmptyFirstImageData", "empty-first-idat.png",
                    "the file is not a readable picture"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tikora
