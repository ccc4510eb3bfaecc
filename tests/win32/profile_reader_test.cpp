// SPDX-License-Identifier: MIT
// The skin reader's profile rules against the system's own GetPrivateProfileStringA, file by file.
#include <gtest/gtest.h>
#include <windows.h>

#include <filesystem>
#include <fstream>

#include "skins/profile_file.h"
#include "win32/wide_text.h"

namespace tikora {
namespace {

using namespace std::string_literals;

struct ProfileCase {
    const char* name;
    std::string file;
    const char* section;
    const char* key;
    std::string defaultText = "dflt";
    // Where the system answers otherwise, what it answers; the row's comment says why.
    const char* systemAnswer = nullptr;
};

const std::string kLong(300, 'v');

// The text in the system's single-byte code page, as the A functions give it.
std::string InCodePage(const std::string& utf8) {
    char text[1024] = "";
    WideCharToMultiByte(CP_ACP, 0, Widen(utf8).c_str(), -1, text, sizeof text, nullptr, nullptr);
    return text;
}

const ProfileCase kCases[] = {
    {"SectionAndKeyCase", "[General]\nSeparator=:\n", "gENERAL", "SEPARATOR"},
    {"BlanksAroundNames", "[  Image Info  ]\n  CharWidth  =  12  \n", "Image Info", "CharWidth"},
    {"TabsAroundValue", "[T]\nK=\t x y \t\n", "T", "K"},
    {"EnclosingQuotes", "[T]\nFont=\" Arial \"\n", "T", "Font"},
    {"EnclosingSingleQuotes", "[T]\nFont='Arial'\n", "T", "Font"},
    {"QuotesInside", "[T]\nFont=\"\"Arial\"\"\n", "T", "Font"},
    {"QuoteOnTheLeftOnly", "[T]\nFont=\"Arial\n", "T", "Font"},
    {"QuoteOnTheRightOnly", "[T]\nFont=Arial\"\n", "T", "Font"},
    {"MixedQuotes", "[T]\nFont=\"Arial'\n", "T", "Font"},
    {"LoneQuote", "[T]\nFont=\"\n", "T", "Font"},
    {"DuplicateKeyFirstWins", "[T]\nK=first\nk=second\n", "T", "K"},
    {"DuplicateSectionFirstWins", "[T]\nK=first\n[U]\n[t]\nK=second\n", "T", "K"},
    {"KeyOnlyInRepeatedSection", "[T]\nA=1\n[T]\nK=later\n", "T", "K"},
    {"MissingKey", "[T]\nA=1\n", "T", "K"},
    {"MissingSection", "[U]\nK=1\n", "T", "K"},
    {"EmptyFile", "", "T", "K"},
    {"EmptyValue", "[T]\nK=\n", "T", "K"},
    {"BlankValue", "[T]\nK=   \n", "T", "K"},
    {"LongValueCut", "[T]\nK=" + kLong + "\n", "T", "K"},
    {"ValueOf255", "[T]\nK=" + kLong.substr(0, 255) + "\n", "T", "K"},
    {"NoFinalNewline", "[T]\nK=last", "T", "K"},
    {"CrLfLines", "[T]\r\nA=1\r\nK=crlf\r\n", "T", "K"},
    {"CommentLine", "[T]\n;K=commented\nK=real\n", "T", "K"},
    {"TrailingTextIsKept", "[T]\nK=v ; not a comment\n", "T", "K"},
    {"BareKeyOnly", "[T]\nK\n", "T", "K"},
    // Wine takes a line without "=" as the key without a value, which then hides a later "K=";
    // the skin reader skips the line. No skin has such a line before its key.
    {"BareKeyBeforeTheKey", "[T]\nK\nK=after\n", "T", "K", "dflt", "dflt"},
    {"KeyBeforeAnySection", "K=loose\n[T]\nA=1\n", "T", "K"},
    {"EqualsInValue", "[T]\nK=a=b\n", "T", "K"},
    {"TextAfterSectionBracket", "[T] trailing\nK=v\n", "T", "K"},
    {"LookupWithBlanks", "[T]\nK=v\n", " T ", " K "},
    {"LongDefaultCut", "", "T", "K", kLong},
    // The system drops trailing blanks from the default text; the skin reader's default is the skin
    // file's path, which a Windows path never ends in blanks.
    {"DefaultWithTrailingBlanks", "", "T", "K", "dflt  ", "dflt"},
    // Byte-order marks, as Notepad saves "Unicode" (UTF-16, either byte order) and UTF-8.
    {"Utf16", "\xFF\xFE[\0T\0]\0\r\0\n\0K\0=\0Z\0\xFC\0r\0\xAC\x20"s, "T", "K"},
    {"Utf16BigEndian", "\xFE\xFF\0[\0T\0]\0\n\0K\0=\0Z\0\xFC\0r"s, "T", "K"},
    {"Utf8WithMark", "\xEF\xBB\xBF[T]\nK=Z\xC3\xBCr\n", "T", "K"},
};

// Each row in a file of its own: Wine keeps recently read profiles in memory.
TEST(ProfileReader, AnswersAsGetPrivateProfileStringA) {
    const std::filesystem::path folder =
        std::filesystem::temp_directory_path() /
        ("tikora-profiles-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder);
    for (const ProfileCase& row : kCases) {
        SCOPED_TRACE(row.name);
        const std::filesystem::path path = folder / (std::string(row.name) + ".ini");
        std::ofstream(path, std::ios::binary) << row.file;
        char buffer[256] = "";
        GetPrivateProfileStringA(row.section, row.key, row.defaultText.c_str(), buffer,
                                 sizeof buffer, path.string().c_str());
        const std::string ours = InCodePage(
            ReadProfileValue(ProfileFile::Parse(row.file), row.section, row.key, row.defaultText));
        EXPECT_EQ(buffer, row.systemAnswer != nullptr ? row.systemAnswer : ours);
        EXPECT_EQ(row.systemAnswer == nullptr, ours == buffer) << ours;
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tikora
