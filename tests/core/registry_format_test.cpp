// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include "settings/registry_format.h"

namespace tikora {
namespace {

using namespace std::string_literals;

const std::string kHeader = "REGEDIT4\n\n[HKEY_CURRENT_USER\\k]\n";

// What a hand-edited export may hold beyond what WriteRegistryExport writes: a byte-order mark,
// CRLF, comments, blanks, continued hex lists, names in other case, a value set twice.
TEST(RegistryExport, ReadsHandEditedFiles) {
    const std::optional<RegistryTree> tree = ParseRegistryExport(
        "\xEF\xBB\xBFREGEDIT4\r\n; note\r\n\r\n[HKEY_CURRENT_USER\\k]\r\n \"a\" = DWORD:1F \r\n"
        "\"b\"=\"1\"\r\n\"e\"=hex:de,AD\r\n\"c\"=hex(1):41, \\\r\n \t 42,00\r\n\"B\"=\"2\"\r\n"
        "[HKEY_CURRENT_USER]\r\n@=\"r\"\r\n[HKEY_CURRENT_USER\\K]\r\n\"d\"=\"\"\r\n");
    ASSERT_TRUE(tree.has_value());
    const std::tuple<const char*, const char*, RegistryValue> cases[] = {
        {"k", "a", {4, "\x1f\0\0\0"s}}, {"K", "b", {1, "2\0"s}}, {"k", "e", {3, "\xde\xad"s}},
        {"k", "C", {1, "AB\0"s}},       {"k", "d", {1, "\0"s}},  {"", "", {1, "r\0"s}}};
    for (const auto& [key, name, value] : cases) {
        ASSERT_NE(tree->FindValue(key, name), nullptr) << name;
        EXPECT_EQ(*tree->FindValue(key, name), value) << name;
    }
}

// A salvage keeps what still reads: the lines before a bad one, and the values after it unless
// they lie under a header that does not read.
TEST(RegistryExport, RefusesTheWholeFileForOneBadLineUnlessSalvaging) {
    EXPECT_FALSE(ParseRegistryExport("Windows Registry Editor Version 5.00\n"));
    EXPECT_FALSE(SalvageRegistryExport("Windows Registry Editor Version 5.00\n"));
    for (const char* line :
         {"[HKEY_LOCAL_MACHINE\\k]", "[HKEY_CURRENT_USERS\\k]", "[-HKEY_CURRENT_USER\\k]",
          "[HKEY_CURRENT_USER\\k", "[HKEY_CURRENT_USER\\a\\\\b]", "\"a\"=-", R"("a"="x\")",
          "\"a\"=", "garbage", "\"a\"=hex:4g", "\"a\"=dword:123456789", "\"a\"=hex(g):00",
          R"("a"="x\n")", R"("a"="x"y)", "\"a\"=hex(1:00", "\"a\"=hex:123",
          "[HKEY_CURRENT_USER\\]"}) {
        const std::string file = kHeader + "\"ok\"=\"x\"\n" + line + "\n\"next\"=\"y\"";
        EXPECT_FALSE(ParseRegistryExport(file)) << line;
        const std::optional<RegistryTree> salvaged = SalvageRegistryExport(file);
        ASSERT_TRUE(salvaged.has_value()) << line;
        EXPECT_NE(salvaged->FindValue("k", "ok"), nullptr) << line;
        EXPECT_EQ(salvaged->FindValue("k", "next") != nullptr, line[0] != '[') << line;
    }
}

// Values that quoted text or a dword cannot carry go out as hex lists, wrapped over short lines,
// and read back unchanged.
TEST(RegistryExport, WritesOtherValuesAsWrappedHexLists) {
    RegistryTree tree;
    const std::size_t key = *tree.AddKey("a\\k");
    const RegistryValue values[] = {{3, ""},        {3, std::string(60, '\x7f')},
                                    {4, "abc"},     {1, "a\nb\0"s},
                                    {1, "\xff\0"s}, {1, "ab"},
                                    {0x20000, "x"}};
    for (std::size_t i = 0; i < std::size(values); ++i) {
        ASSERT_TRUE(tree.SetValue(key, std::to_string(i), values[i]));
    }
    const std::string file = WriteRegistryExport(tree);
    EXPECT_NE(file.find(",\\\n  7f,"), std::string::npos);
    for (std::size_t start = 0, end = 0; end != std::string::npos; start = end + 1) {
        end = file.find('\n', start);
        EXPECT_LE(std::min(end, file.size()) - start, 80U);
    }
    const std::optional<RegistryTree> back = ParseRegistryExport(file);
    ASSERT_TRUE(back.has_value());
    for (std::size_t i = 0; i < std::size(values); ++i) {
        const RegistryValue* value = back->FindValue("A\\K", std::to_string(i));
        ASSERT_NE(value, nullptr) << i;
        EXPECT_EQ(*value, values[i]) << i;
    }
    EXPECT_FALSE(ParseRegistryExport(kHeader + "\"a\"=hex:41,\\"));
    EXPECT_TRUE(tree.HasKey("") && tree.HasKey("A") && !tree.HasKey("a\\k\\x"));
    EXPECT_FALSE(tree.HasKey("a\\\\k") || tree.SetValue(key + 1, "n", {}) ||
                 tree.SetValue(key, "\n", {}));
    EXPECT_EQ(tree.FindValue("a", "0"), nullptr);
}

}  // namespace
}  // namespace tikora
