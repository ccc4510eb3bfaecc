#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "app/registry_format.h"

namespace tikora {
namespace {

using namespace std::string_literals;

constexpr const char* kTikora = "Software\\Vardo Software\\Tikora";

std::string Export(std::string_view body) {
    return "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vardo Software\\Tikora]\n" +
           std::string(body);
}

struct ReadCase {
    const char* name;
    std::string file;
    const char* path;
    std::string valueName;
    std::optional<RegistryValue> value;
};

class ExportReading : public ::testing::TestWithParam<ReadCase> {};

TEST_P(ExportReading, FindsTheStoredTypeAndBytes) {
    const ReadCase& c = GetParam();
    const std::optional<RegistryTree> tree = ParseRegistryExport(c.file);
    ASSERT_TRUE(tree.has_value());
    const RegistryValue* found = tree->FindValue(c.path, c.valueName);
    ASSERT_EQ(found != nullptr, c.value.has_value());
    if (found != nullptr) {
        EXPECT_EQ(*found, *c.value);
    }
}

INSTANTIATE_TEST_SUITE_P(
    Accepted, ExportReading,
    ::testing::Values(
        ReadCase{"QuotedTextGainsItsNul", Export("\"a\"=\"x y\""), kTikora, "a", {{1, "x y\0"s}}},
        ReadCase{"EscapesUndone",
                 Export(R"("a"="C:\\Skins\\a \"q\"")"),
                 kTikora,
                 "a",
                 {{1, "C:\\Skins\\a \"q\"\0"s}}},
        ReadCase{"NonAsciiKept",
                 Export("\"\xC3\x84\"=\"\xE2\x82\xAC\""),
                 kTikora,
                 "\xC3\x84",
                 {{1, "\xE2\x82\xAC\0"s}}},
        ReadCase{"DefaultValue", Export("@=\"d\""), kTikora, "", {{1, "d\0"s}}},
        ReadCase{"ExpandString", Export("\"a\"=hex(2):41,00"), kTikora, "a", {{2, "A\0"s}}},
        ReadCase{"Dword", Export("\"a\"=dword:0000001f"), kTikora, "a", {{4, "\x1f\0\0\0"s}}},
        ReadCase{"ShortUpperDword", Export("\"a\"=DWORD:1F"), kTikora, "a", {{4, "\x1f\0\0\0"s}}},
        ReadCase{"Binary", Export("\"a\"=hex:de,AD"), kTikora, "a", {{3, "\xde\xad"s}}},
        ReadCase{"AnyType", Export("\"a\"=hex(b):01"), kTikora, "a", {{11, "\x01"s}}},
        ReadCase{"EmptyHexList", Export("\"a\"=hex:"), kTikora, "a", {{3, ""}}},
        ReadCase{"ContinuedList",
                 Export("\"a\"=hex(1):41, \\\n \t 42,00"),
                 kTikora,
                 "a",
                 {{1, "AB\0"s}}},
        ReadCase{"CrLfLines",
                 "REGEDIT4\r\n\r\n[HKEY_CURRENT_USER\\k]\r\n\"a\"=\"x\"\r\n",
                 "k",
                 "a",
                 {{1, "x\0"s}}},
        ReadCase{
            "ByteOrderMark", "\xEF\xBB\xBF" + Export("\"a\"=\"x\""), kTikora, "a", {{1, "x\0"s}}},
        ReadCase{"CommentsAndBlanks",
                 Export("; note\n\n  \"a\" = \"x\"  \n"),
                 kTikora,
                 "a",
                 {{1, "x\0"s}}},
        ReadCase{"LaterValueWins", Export("\"a\"=\"1\"\n\"A\"=\"2\""), kTikora, "a", {{1, "2\0"s}}},
        ReadCase{"RepeatedKeyMerges",
                 "REGEDIT4\n[HKEY_CURRENT_USER\\k]\n[HKEY_CURRENT_USER\\l]\n"
                 "[HKEY_CURRENT_USER\\K]\n\"b\"=\"2\"",
                 "k",
                 "b",
                 {{1, "2\0"s}}},
        ReadCase{
            "ValueOfTheRoot", "REGEDIT4\n[HKEY_CURRENT_USER]\n@=\"r\"", "", "", {{1, "r\0"s}}}),
    [](const auto& info) { return std::string(info.param.name); });

struct RejectCase {
    const char* name;
    std::string file;
};

class ExportRejection : public ::testing::TestWithParam<RejectCase> {};

TEST_P(ExportRejection, RefusesTheWholeFile) {
    EXPECT_FALSE(ParseRegistryExport(GetParam().file).has_value());
}

INSTANTIATE_TEST_SUITE_P(
    Malformed, ExportRejection,
    ::testing::Values(
        RejectCase{"Empty", ""}, RejectCase{"NoFirstLine", "[HKEY_CURRENT_USER\\k]\n"},
        RejectCase{"OtherVersion", "Windows Registry Editor Version 5.00\n"},
        RejectCase{"ValueBeforeAnyKey", "REGEDIT4\n\"a\"=\"x\"\n"},
        RejectCase{"OtherRoot", "REGEDIT4\n[HKEY_LOCAL_MACHINE\\k]\n"},
        RejectCase{"LongerRootName", "REGEDIT4\n[HKEY_CURRENT_USERS\\k]\n"},
        RejectCase{"UnclosedHeader", "REGEDIT4\n[HKEY_CURRENT_USER\\k\n"},
        RejectCase{"DeletedKey", "REGEDIT4\n[-HKEY_CURRENT_USER\\k]\n"},
        RejectCase{"EmptyPathPart", "REGEDIT4\n[HKEY_CURRENT_USER\\a\\\\b]\n"},
        RejectCase{"TrailingSeparator", "REGEDIT4\n[HKEY_CURRENT_USER\\a\\]\n"},
        RejectCase{"DeletedValue", Export("\"a\"=-")},
        RejectCase{"UnknownEscape", Export(R"("a"="\n")")},
        RejectCase{"UnterminatedText", Export(R"("a"="x\")")},
        RejectCase{"TextAfterQuote", Export("\"a\"=\"x\" y")},
        RejectCase{"NameWithoutData", Export("\"a\"=")}, RejectCase{"NameAlone", Export("\"a\"")},
        RejectCase{"StrayLine", Export("a=b")}, RejectCase{"BadHexDigit", Export("\"a\"=hex:4g")},
        RejectCase{"ThreeDigitByte", Export("\"a\"=hex:123")},
        RejectCase{"TrailingComma", Export("\"a\"=hex:41,")},
        RejectCase{"ContinuedPastTheEnd", Export("\"a\"=hex:41,\\")},
        RejectCase{"DwordTooLong", Export("\"a\"=dword:123456789")},
        RejectCase{"BadType", Export("\"a\"=hex(g):00")}),
    [](const auto& info) { return std::string(info.param.name); });

struct WriteCase {
    const char* name;
    std::string valueName;
    RegistryValue value;
    std::string line;
};

class ExportWriting : public ::testing::TestWithParam<WriteCase> {};

TEST_P(ExportWriting, WritesTheLineThatReadsBackTheSameBytes) {
    const WriteCase& c = GetParam();
    RegistryTree tree;
    ASSERT_TRUE(tree.SetValue(*tree.AddKey(kTikora), c.valueName, c.value));
    const std::string file = WriteRegistryExport(tree);
    EXPECT_EQ(file, Export(c.line + "\n\n"));
    const std::optional<RegistryTree> back = ParseRegistryExport(file);
    ASSERT_TRUE(back.has_value());
    const RegistryValue* found = back->FindValue(kTikora, c.valueName);
    ASSERT_NE(found, nullptr);
    EXPECT_EQ(*found, c.value);
}

INSTANTIATE_TEST_SUITE_P(
    Forms, ExportWriting,
    ::testing::Values(WriteCase{"PlainText",
                                "ProgramPath",
                                {1, "/usr/lib/tikora\0"s},
                                R"("ProgramPath"="/usr/lib/tikora")"},
                      WriteCase{"QuotesAndBackslashes",
                                "P",
                                {1, "C:\\Skins\\a \"quoted\" name\0"s},
                                R"("P"="C:\\Skins\\a \"quoted\" name")"},
                      WriteCase{"NonAscii",
                                "\xC3\x84",
                                {1, "\xC3\x9Chr \xE2\x82\xAC\0"s},
                                "\"\xC3\x84\"=\"\xC3\x9Chr \xE2\x82\xAC\""},
                      WriteCase{"EmptyText", "a", {1, "\0"s}, R"("a"="")"},
                      WriteCase{"EmbeddedNul", "a", {1, "A\0B\0"s}, R"("a"=hex(1):41,00,42,00)"},
                      WriteCase{"NoTerminatingNul", "a", {1, "AB"}, R"("a"=hex(1):41,42)"},
                      WriteCase{"NoBytes", "a", {1, ""}, R"("a"=hex(1):)"},
                      WriteCase{"LineBreak", "a", {1, "a\r\n\0"s}, R"("a"=hex(1):61,0d,0a,00)"},
                      WriteCase{"InvalidUtf8", "a", {1, "\xE9\0"s}, R"("a"=hex(1):e9,00)"},
                      WriteCase{"ExpandString", "a", {2, "%H\0"s}, R"("a"=hex(2):25,48,00)"},
                      WriteCase{"Dword", "a", {4, "\x1f\x01\0\x80"s}, R"("a"=dword:8000011f)"},
                      WriteCase{"ShortDword", "a", {4, "\x01"}, R"("a"=hex(4):01)"},
                      WriteCase{"Binary", "a", {3, "\0\xff"s}, R"("a"=hex:00,ff)"},
                      WriteCase{
                          "LargestType", "a", {0xFFFFFFFF, "\x01"}, R"("a"=hex(ffffffff):01)"},
                      WriteCase{"DefaultValue", "", {1, "d\0"s}, R"(@="d")"},
                      WriteCase{"NameNeedsEscapes", "a\"b\\c", {1, "x\0"s}, R"("a\"b\\c"="x")"}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExportWriting, KeepsKeysInOrderAndWrapsLongLists) {
    RegistryTree tree;
    const std::size_t skins = *tree.AddKey("Software\\Vardo Software\\Tikora\\Skins");
    const std::size_t tikora = *tree.AddKey(kTikora);
    std::string bytes;
    for (int i = 0; i < 1000; ++i) {
        bytes += static_cast<char>(i);
    }
    tree.SetValue(skins, "Long", {7, bytes});
    tree.SetValue(tikora, "BeatTime", {1, "True\0"s});
    tree.SetValue(tikora, "beattime", {1, "False\0"s});  // keeps the first spelling
    const std::string file = WriteRegistryExport(tree);

    EXPECT_TRUE(
        file.starts_with("REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vardo "
                         "Software\\Tikora\\Skins]\n\"Long\"=hex(7):00,01,02,"));
    EXPECT_TRUE(
        file.ends_with("\n\n[HKEY_CURRENT_USER\\Software\\Vardo Software\\Tikora]\n"
                       "\"BeatTime\"=\"False\"\n\n"));
    std::istringstream lines(file);
    for (std::string line; std::getline(lines, line);) {
        EXPECT_LE(line.size(), 80U) << line;
    }
    const std::optional<RegistryTree> back = ParseRegistryExport(file);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->FindValue("SOFTWARE\\vardo software\\tikora\\skins", "long")->data, bytes);
    EXPECT_EQ(WriteRegistryExport(*back), file);
}

struct KeyCase {
    const char* name;
    const char* path;
    bool exists;
};

class KeyExistence : public ::testing::TestWithParam<KeyCase> {};

TEST_P(KeyExistence, CoversTheKeyAndItsParentsOnly) {
    RegistryTree tree;
    tree.AddKey("Software\\Vardo Software\\Tikora\\Skins");
    tree.AddKey("Software\\Vardo Softwarez");
    EXPECT_EQ(tree.HasKey(GetParam().path), GetParam().exists);
}

INSTANTIATE_TEST_SUITE_P(
    Paths, KeyExistence,
    ::testing::Values(KeyCase{"Itself", "Software\\Vardo Software\\Tikora\\Skins", true},
                      KeyCase{"OtherCase", "SOFTWARE\\vardo software\\TIKORA\\skins", true},
                      KeyCase{"Parent", kTikora, true}, KeyCase{"TopKey", "software", true},
                      KeyCase{"Root", "", true},
                      KeyCase{"TextPrefixIsNoParent", "Software\\Vardo", false},
                      KeyCase{"Child", "Software\\Vardo Software\\Tikora\\Skins\\x", false},
                      KeyCase{"Sibling", "Software\\Vardo Software\\Other", false},
                      KeyCase{"TrailingSeparator", "Software\\", false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(ExportReading, StaysLinearOnHugeInput) {
    std::string manyKeys = "REGEDIT4\n";
    std::string manyValues = Export("");
    for (int i = 0; i < 100000; ++i) {
        manyKeys += "[HKEY_CURRENT_USER\\k" + std::to_string(i) + "\\x]\n";
        manyValues += "\"v" + std::to_string(i) + "\"=\"" + std::to_string(i) + "\"\n";
    }
    EXPECT_TRUE(ParseRegistryExport(manyKeys)->HasKey("K99999"));
    EXPECT_EQ(ParseRegistryExport(manyValues)->FindValue(kTikora, "V99999")->data, "99999\0"s);

    std::string deep = "REGEDIT4\n[HKEY_CURRENT_USER\\a";
    for (int i = 0; i < 300000; ++i) {
        deep += "\\a";
    }
    EXPECT_TRUE(ParseRegistryExport(deep + "]\n\"v\"=\"1\"\n\"w\"=\"2\"\n")->HasKey("A\\a"));

    std::string continued = Export("\"a\"=hex:00");
    for (int i = 0; i < 300000; ++i) {
        continued += ",\\\n  00";
    }
    EXPECT_EQ(ParseRegistryExport(continued)->FindValue(kTikora, "a")->data.size(), 300001U);
}

TEST(ExportReading, SurvivesArbitraryBytes) {
    std::mt19937 random(11);
    std::string noise(1'000'000, '\0');
    for (char& byte : noise) {
        byte = static_cast<char>(random() % 8 == 0 ? '\n' : random() & 0xFF);
    }
    EXPECT_FALSE(ParseRegistryExport("REGEDIT4\n" + noise).has_value());
}

// Random files of valid and broken lines: whatever is accepted writes out to a file that reads
// back the same.
TEST(ExportWriting, RoundTripsWhateverIsAccepted) {
    const std::vector<std::string> others = {"[HKEY_CURRENT_USER\\k]",
                                             "[hkey_current_user\\K\\z]",
                                             "[HKEY_CURRENT_USER]",
                                             "; note",
                                             "",
                                             " \t"};
    const std::vector<std::string> names = {"\"a\"", "@", "\"A\"", R"("q\"\\")", "\"\xC3\xA9\""};
    const std::vector<std::string> data = {"\"x\"",
                                           R"("\\\"")",
                                           "\"\"",
                                           "dword:1f",
                                           "hex:",
                                           "hex(1):41,00",
                                           "hex(2):41,\\\n  00",
                                           "hex(0):ff,\\\n0",
                                           "hex(7):0",
                                           R"("bad\x")",
                                           "hex:4"};
    std::mt19937 random(5);
    const auto pick = [&random](const std::vector<std::string>& from) {
        return from[random() % from.size()];
    };
    int accepted = 0;
    for (int i = 0; i < 5000; ++i) {
        std::string file = "REGEDIT4\n[HKEY_CURRENT_USER\\k]\n";
        for (int line = 0; line < 6; ++line) {
            file += (random() % 4 == 0 ? pick(others) : pick(names) + "=" + pick(data)) + "\n";
        }
        if (const std::optional<RegistryTree> tree = ParseRegistryExport(file)) {
            ++accepted;
            const std::string written = WriteRegistryExport(*tree);
            const std::optional<RegistryTree> back = ParseRegistryExport(written);
            ASSERT_TRUE(back.has_value()) << file;
            ASSERT_EQ(WriteRegistryExport(*back), written) << file;
        }
    }
    EXPECT_GT(accepted, 500);
}

}  // namespace
}  // namespace tikora
