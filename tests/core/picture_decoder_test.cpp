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
        RefusedCase{"Empty", "missing-file.png", "the file is not a readable picture"}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tikora
