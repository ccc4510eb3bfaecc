#include <gtest/gtest.h>

#include <random>
#include <sstream>
#include <string>

#include "settings/registry_format.h"

namespace tikora {
namespace {

using namespace std::string_literals;

constexpr const char* kTikora = "Software\\Vardo Software\\Tikora";

std::string Export(std::string_view body) {
    return "REGEDIT4\n\n[HKEY_CURRENT_USER\\Software\\Vardo Software\\Tikora]\n" +
           std::string(body);
}

// What a hand-edited export may hold beyond what WriteRegistryExport writes.
TEST(RegistryExport, ReadsHandEditedFiles) {
    const std::optional<RegistryTree> tree = ParseRegistryExport(
        "\xEF\xBB\xBFREGEDIT4\r\n; note\r\n\r\n[HKEY_CURRENT_USER\\k]\r\n \"a\" = DWORD:1F \r\n"
        "\"b\"=\"1\"\r\n\"e\"=hex:de,AD\r\n\"c\"=hex(1):41, \\\r\n \t 42,00\r\n\"B\"=\"2\"\r\n"
        "[HKEY_CURRENT_USER]\r\n@=\"r\"\r\n[HKEY_CURRENT_USER\\K]\r\n\"d\"=\"\"\r\n");
    ASSERT_TRUE(tree.has_value());
    const struct {
        const char *key, *name;
        RegistryValue value;
    } cases[] = {{"k", "a", {4, "\x1f\0\0\0"s}}, {"K", "b", {1, "2\0"s}},
                 {"k", "e", {3, "\xde\xad"s}},   {"k", "C", {1, "AB\0"s}},
                 {"k", "d", {1, "\0"s}},         {"", "", {1, "r\0"s}}};
    for (const auto& c : cases) {
        ASSERT_NE(tree->FindValue(c.key, c.name), nullptr) << c.name;
        EXPECT_EQ(*tree->FindValue(c.key, c.name), c.value) << c.name;
    }
}

TEST(RegistryExport, RefusesTheWholeFileForOneBadLine) {
    std::vector<std::string> files = {"", "[HKEY_CURRENT_USER\\k]\n", "REGEDIT4\n\"a\"=\"x\"\n",
                                      "Windows Registry Editor Version 5.00\n"};
    for (const char* line :
         {"[HKEY_LOCAL_MACHINE\\k]", "[HKEY_CURRENT_USERS\\k]", "[-HKEY_CURRENT_USER\\k]",
          "[HKEY_CURRENT_USER\\k", "[HKEY_CURRENT_USER\\a\\\\b]", "[HKEY_CURRENT_USER\\a\\]",
          "\"a\"=-", R"("a"="\n")", R"("a"="x\")", "\"a\"=\"x\" y", "\"a\"=", "a=b", "garbage",
          "\"a\"=hex:4g", "\"a\"=hex:123", "\"a\"=hex:41,", "\"a\"=hex:41,\\",
          "\"a\"=dword:123456789", "\"a\"=hex(g):00"}) {
        files.push_back(Export("\"ok\"=\"x\"\n") + line);
    }
    for (const std::string& file : files) {
        EXPECT_FALSE(ParseRegistryExport(file).has_value()) << file;
    }
}

// Quoted text only where it reads back as the same bytes; hex(1) for everything else.
TEST(RegistryExport, WritesEachValueToALineThatReadsBackTheSame) {
    const struct {
        std::string name;
        RegistryValue value;
        std::string line;
    } cases[] = {
        {"P", {1, "C:\\Skins\\a \"q\" name\0"s}, R"("P"="C:\\Skins\\a \"q\" name")"},
        {"\xC3\x84", {1, "\xC3\x9Chr \xE2\x82\xAC\0"s}, "\"\xC3\x84\"=\"\xC3\x9Chr \xE2\x82\xAC\""},
        {"a\"b\\c", {1, "\0"s}, R"("a\"b\\c"="")"},
        {"", {1, "d\0"s}, R"(@="d")"},
        {"a", {1, "A\0B\0"s}, R"("a"=hex(1):41,00,42,00)"},
        {"a", {1, "AB"}, R"("a"=hex(1):41,42)"},
        {"a", {1, "a\r\n\0"s}, R"("a"=hex(1):61,0d,0a,00)"},
        {"a", {1, "\xE9\0"s}, R"("a"=hex(1):e9,00)"},
        {"a", {2, "%H\0"s}, R"("a"=hex(2):25,48,00)"},
        {"a", {4, "\x1f\x01\0\x80"s}, R"("a"=dword:8000011f)"},
        {"a", {4, "\x01"}, R"("a"=hex(4):01)"},
        {"a", {3, "\0\xff"s}, R"("a"=hex:00,ff)"},
    };
    for (const auto& c : cases) {
        RegistryTree tree;
        ASSERT_TRUE(tree.SetValue(*tree.AddKey(kTikora), c.name, c.value));
        const std::string file = WriteRegistryExport(tree);
        EXPECT_EQ(file, Export(c.line + "\n\n"));
        const std::optional<RegistryTree> back = ParseRegistryExport(file);
        ASSERT_TRUE(back.has_value()) << file;
        ASSERT_NE(back->FindValue(kTikora, c.name), nullptr) << file;
        EXPECT_EQ(*back->FindValue(kTikora, c.name), c.value) << file;
    }
}

// Random files of valid and broken lines: whatever is accepted writes out to a file that reads
// back the same. A large file reads in linear time, and writes its long list in short lines.
TEST(RegistryExport, SurvivesHostileInput) {
    std::vector<std::string> lines;
    for (const char* line :
         {"[HKEY_CURRENT_USER\\k]", "[hkey_current_user\\K\\z]", "[HKEY_CURRENT_USER]", "; note",
          "", "\"a\"=\"x\"", "@=\"\\\\\\\"\"", "\"\xC3\xA9\"=dword:1f", "\"A\"=hex(2):41,\\",
          "  00", "\"q\"=hex(0):ff,\\", "\"b\"=\"bad\\x\"", "\"c\"=hex:4", "\xFF\x01\"=\"\xC3"}) {
        lines.push_back(line);
    }
    std::mt19937 random(5);
    int accepted = 0;
    for (int i = 0; i < 5000; ++i) {
        std::string file = "REGEDIT4\n[HKEY_CURRENT_USER\\k]\n";
        for (int line = 0; line < 6; ++line) {
            file += lines[random() % lines.size()] + "\n";
        }
        if (const std::optional<RegistryTree> tree = ParseRegistryExport(file)) {
            ++accepted;
            const std::string written = WriteRegistryExport(*tree);
            const std::optional<RegistryTree> back = ParseRegistryExport(written);
            ASSERT_TRUE(back.has_value()) << file;
            ASSERT_EQ(WriteRegistryExport(*back), written) << file;
        }
    }
    EXPECT_GT(accepted, 300);

    std::string large = "REGEDIT4\n";
    for (int i = 0; i < 100000; ++i) {
        large += "[HKEY_CURRENT_USER\\k" + std::to_string(i) + "\\x]\n";
    }
    large += "\"a\"=hex:00";
    for (int i = 0; i < 300000; ++i) {
        large += ",\\\n  00";
    }
    const std::optional<RegistryTree> tree = ParseRegistryExport(large);
    ASSERT_TRUE(tree.has_value());
    EXPECT_TRUE(tree->HasKey("K99999"));
    EXPECT_EQ(tree->FindValue("k99999\\x", "a")->data, std::string(300001, '\0'));
    const std::string written = WriteRegistryExport(*tree);
    std::istringstream writtenLines(written);
    for (std::string line; std::getline(writtenLines, line);) {
        ASSERT_LE(line.size(), 80U) << line;
    }
    const std::optional<RegistryTree> back = ParseRegistryExport(written);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(WriteRegistryExport(*back), written);
}

}  // namespace
}  // namespace tikora
