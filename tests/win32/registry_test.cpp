// SPDX-License-Identifier: MIT
// The registry calls against the registry of the Wine prefix, below a key of the test's own.
#include <gtest/gtest.h>
#include <windows.h>

#include "common/modRegistry.h"
#include "platform/process_starter.h"
#include "platform/registry.h"

namespace tikora {
namespace {

using namespace std::string_literals;

class Registry : public ::testing::Test {
  protected:
    Registry() : path_("Software\\Tikora Test " + std::to_string(GetCurrentProcessId())) {
        EXPECT_EQ(CreateRegistryKey(kCurrentUser, path_ + "\\Deeper\\Still", &key_), kRegOk);
        EXPECT_EQ(CloseRegistryKey(key_), kRegOk);
        EXPECT_EQ(OpenRegistryKey(kCurrentUser, path_, &key_), kRegOk);
    }
    ~Registry() override {
        RegDeleteTreeW(Key(), nullptr);
        RegDeleteKeyW(HKEY_CURRENT_USER,
                      (L"Software\\Tikora Test " + std::to_wstring(GetCurrentProcessId())).c_str());
        CloseRegistryKey(key_);
    }
    HKEY Key() const { return reinterpret_cast<HKEY>(key_); }

    std::string path_;
    RegistryKey key_ = 0;
};

struct ValueCase {
    const char* name;
    std::uint32_t type;
    std::string data;
};

// Texts as the core hands them: UTF-8 with their NUL, or without one, or with one inside.
const ValueCase kValues[] = {
    {"Text", kRegText, "C:\\Skins \xE2\x82\xAC\0"s},  // the euro sign: 3 bytes, 1 UTF-16 unit
    {"Empty", kRegText, "\0"s},
    {"NoText", kRegText, ""},
    {"NoNul", kRegText, "AB"},
    {"InnerNul", kRegText, "A\0B\0"s},
    {"Expand", kRegExpandText, "%TEMP%\\x\0"s},
    {"Number", kRegNumber, "\x41\0\0\x80"s},
    {"Binary", kRegBinary, "\0\xFF\x01"s},
};

// Sizes are the UTF-8 bytes the caller gets; a buffer one byte short gets kRegMoreData with the
// type and the size needed, and keeps its text; one that fits gets the bytes.
TEST_F(Registry, ValuesComeBackWithTheirTypeAndSize) {
    for (const ValueCase& value : kValues) {
        SCOPED_TRACE(value.name);
        ASSERT_EQ(SetRegistryValue(key_, value.name, value.type, value.data), kRegOk);
        std::uint32_t type = 0;
        std::uint32_t size = 0;
        EXPECT_EQ(QueryRegistryValue(key_, value.name, &type, nullptr, &size), kRegOk);
        ASSERT_EQ(std::pair(type, std::size_t{size}), std::pair(value.type, value.data.size()));
        std::string data = "kept";
        for (const std::uint32_t room : {size - 1, size + 10}) {
            const long status = room < size ? kRegMoreData : kRegOk;
            size = room;
            type = 0;
            EXPECT_EQ(QueryRegistryValue(key_, value.name, &type, &data, &size), status);
            EXPECT_EQ(std::pair(type, std::size_t{size}), std::pair(value.type, value.data.size()));
            EXPECT_EQ(data, status == kRegOk ? value.data : "kept");
        }
    }
    // Other programs, regedit among them, read the texts in UTF-16.
    wchar_t text[32] = L"";
    DWORD bytes = sizeof text;
    DWORD type = 0;
    ASSERT_EQ(RegGetValueW(Key(), nullptr, L"TEXT", RRF_RT_ANY | RRF_NOEXPAND, &type, text, &bytes),
              ERROR_SUCCESS);
    EXPECT_EQ(std::pair(type, std::wstring(text)), std::pair(DWORD{REG_SZ}, L"C:\\Skins \u20AC"s));
    EXPECT_EQ(ReadRegString(kCurrentUser, path_, "inNERnul"), "A");
}

// Missing keys and values, bad names and handles, each with the status the Linux store gives.
TEST_F(Registry, FailuresAnswerWithTheLinuxStatuses) {
    std::uint32_t type = 77;
    std::uint32_t size = 77;
    std::string data = "kept";
    EXPECT_EQ(QueryRegistryValue(key_, "Missing", &type, &data, &size), kRegNotFound);
    EXPECT_EQ(std::tuple(type, size, data), std::tuple(77U, 77U, "kept"));
    EXPECT_EQ(QueryRegistryValue(key_, "Missing", &type, &data, nullptr), kRegBadParameter);
    EXPECT_EQ(QueryRegistryValue(0, "Missing", &type, nullptr, &size), kRegBadKey);
    const std::pair<std::string, long> opens[] = {
        {path_ + "\\deeper\\STILL", kRegOk},      {path_ + "\\Absent", kRegNotFound},
        {"\\" + path_, kRegBadParameter},         {path_ + "\\", kRegBadParameter},
        {path_ + "\\\\Deeper", kRegBadParameter}, {"", kRegOk}};
    for (const auto& [subKey, status] : opens) {
        RegistryKey opened = 99;
        EXPECT_EQ(OpenRegistryKey(kCurrentUser, subKey, &opened), status) << subKey;
        EXPECT_EQ(opened != 0, status == kRegOk) << subKey;
        EXPECT_EQ(opened == kCurrentUser, subKey.empty()) << subKey;
        CloseRegistryKey(opened);
    }
    EXPECT_EQ(SetRegistryValue(key_, "Nul\0Name"s, kRegText, "x"), kRegBadParameter);
    EXPECT_EQ(CloseRegistryKey(0), kRegBadKey);
}

// A failed write takes back the values it already changed, and names the store.
TEST_F(Registry, FailedWriteTakesItsValuesBack) {
    ASSERT_EQ(WriteRegStrings({{path_, "Kept", "old"}}), std::nullopt);
    const std::string tooLong(20000, 'n');  // value names end at 16383 characters
    const SettingsWriteFailure failure =
        WriteRegStrings({{path_, "Kept", "new"}, {path_, "Added", "x"}, {path_, tooLong, "x"}});
    ASSERT_TRUE(failure.has_value());
    EXPECT_TRUE(failure->starts_with("HKEY_CURRENT_USER\\Software\\Vardo Software\\Tikora: "))
        << *failure;
    EXPECT_EQ(ReadRegString(kCurrentUser, path_, "Kept"), "old");
    std::uint32_t size = 0;
    EXPECT_EQ(QueryRegistryValue(key_, "Added", nullptr, nullptr, &size), kRegNotFound);
    EXPECT_EQ(WriteRegStrings({{path_ + "\\New", "A", "a"}, {path_, "Kept", "new"}}), std::nullopt);
    EXPECT_EQ(ReadRegString(kCurrentUser, path_ + "\\new", "a") +
                  ReadRegString(kCurrentUser, path_, "kept"),
              "anew");
}

// A started program gets its arguments whole: reg.exe stores one, with a blank and quotes, here.
TEST_F(Registry, StartedProgramGetsItsArguments) {
    const HANDLE changed = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    ASSERT_EQ(RegNotifyChangeKeyValue(Key(), FALSE, REG_NOTIFY_CHANGE_LAST_SET, changed, TRUE),
              ERROR_SUCCESS);
    EXPECT_EQ(FindProgram("no such program"), "");
    const std::string reg = FindProgram("reg");
    ASSERT_TRUE(reg.ends_with("\\reg.exe")) << reg;
    ASSERT_TRUE(
        StartDetached(reg, {"add", "HKCU\\" + path_, "/v", "Arg", "/d", "say \"hi\"", "/f"}));
    EXPECT_EQ(WaitForSingleObject(changed, 30'000), WAIT_OBJECT_0);
    CloseHandle(changed);
    EXPECT_EQ(ReadRegString(kCurrentUser, path_, "Arg"), "say \"hi\"");
}

}  // namespace
}  // namespace tikora
