#include <gtest/gtest.h>

#include "shared/utf8.h"

namespace tikora {
namespace {

TEST(Utf8, AcceptsWellFormedText) {
    EXPECT_TRUE(IsValidUtf8(""));
    EXPECT_TRUE(IsValidUtf8("plain"));
    EXPECT_TRUE(IsValidUtf8("Z\xC3\xBCrich \xE2\x82\xAC \xF0\x9F\x95\x90"));
}

TEST(Utf8, RejectsWhatWindows1252FilesContain) {
    EXPECT_FALSE(IsValidUtf8("Z\xFCrich"));         // Latin letter in one byte
    EXPECT_FALSE(IsValidUtf8("\xC3"));              // cut short
    EXPECT_FALSE(IsValidUtf8("\xC0\xAF"));          // overlong
    EXPECT_FALSE(IsValidUtf8("\xED\xA0\x80"));      // surrogate
    EXPECT_FALSE(IsValidUtf8("\xF4\x90\x80\x80"));  // past U+10FFFF
}

TEST(Utf8, ReadsWindows1252) {
    EXPECT_EQ(Windows1252ToUtf8("Z\xFCrich"), "Z\xC3\xBCrich");
    EXPECT_EQ(Windows1252ToUtf8("\x80\x99"), "\xE2\x82\xAC\xE2\x84\xA2");
    EXPECT_EQ(Windows1252ToUtf8("\x81"), "\xC2\x81");
}

}  // namespace
}  // namespace tikora
