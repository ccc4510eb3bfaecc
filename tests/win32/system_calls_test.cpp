// SPDX-License-Identifier: MIT
// Command lines, clock-setting reports and the hidden-file rule, against the system's own rules.
// Nothing here sets the clock: only the report of an error code is looked at.
#include <gtest/gtest.h>
#include <windows.h>
// After <windows.h>, which it needs.
#include <shellapi.h>

#include <filesystem>
#include <fstream>

#include "platform/file_search.h"
#include "platform/folders.h"
#include "win32/command_line.h"
#include "win32/wide_text.h"
#include "win32/win32_clock_setter.h"

namespace tikora {
namespace {

struct CommandCase {
    std::string program;
    std::vector<std::string> arguments;
    const char* line;
};

const CommandCase kCommands[] = {
    {"rundll32.exe",
     {"shell32.dll,Control_RunDLL", "timedate.cpl"},
     "rundll32.exe shell32.dll,Control_RunDLL timedate.cpl"},
    {"C:\\Program Files\\a.exe", {"C:\\dir\\"}, "\"C:\\Program Files\\a.exe\" C:\\dir\\"},
    {"a.exe", {"two words", ""}, "a.exe \"two words\" \"\""},
    {"a.exe", {"say \"hi\"", "x\\\"y"}, "a.exe \"say \\\"hi\\\"\" \"x\\\\\\\"y\""},
    {"a.exe", {"C:\\my dir\\", "tab\there"}, "a.exe \"C:\\my dir\\\\\" \"tab\there\""},
};

// Each line is the one expected, and the system's own parser splits it back into the arguments.
TEST(CommandLine, SplitsBackAsCommandLineToArgvW) {
    for (const CommandCase& row : kCommands) {
        const std::string line = CommandLine(row.program, row.arguments);
        EXPECT_EQ(line, row.line);
        int count = 0;
        wchar_t** parts = CommandLineToArgvW(Widen(line).c_str(), &count);
        ASSERT_NE(parts, nullptr);
        std::vector<std::string> split;
        for (int i = 1; i < count; ++i) {
            split.push_back(Narrow(parts[i]));
        }
        EXPECT_EQ(Narrow(parts[0]), row.program);
        EXPECT_EQ(split, row.arguments) << line;
        LocalFree(parts);
    }
}

// The detail is the system's own text (Wine words it otherwise than Windows), on one line.
TEST(ClockSetReport, RefusalsAreNotAllowedAndEveryOtherErrorFailed) {
    const std::pair<DWORD, ClockSetResult> cases[] = {
        {ERROR_SUCCESS, ClockSetResult::Done},
        {ERROR_PRIVILEGE_NOT_HELD, ClockSetResult::NotAllowed},
        {ERROR_ACCESS_DENIED, ClockSetResult::NotAllowed},
        {ERROR_INVALID_PARAMETER, ClockSetResult::Failed},
        {0x2000ABCD, ClockSetResult::Failed},
    };
    for (const auto& [error, result] : cases) {
        const ClockSetReport report = ClockSetReportFor(error);
        EXPECT_EQ(report.result, result) << error;
        EXPECT_EQ(report.detail.empty(), error == ERROR_SUCCESS) << error;
        EXPECT_EQ(report.detail.find_first_of("\r\n"), std::string::npos) << report.detail;
    }
    EXPECT_EQ(ClockSetReportFor(0x2000ABCD).detail, "Windows error 536914893");
}

// Hidden and system files and folders are no ordinary files; read-only and archived ones are.
TEST(FileSearch, CountsFilesByTheirAttributes) {
    const std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                         ("tikora-files-" + std::to_string(GetCurrentProcessId()));
    std::filesystem::create_directories(folder / "folder.ini");
    const std::tuple<const char*, DWORD, bool> files[] = {
        {"b.INI", FILE_ATTRIBUTE_ARCHIVE, true},
        {"a.ini", FILE_ATTRIBUTE_READONLY, true},
        {"hidden.ini", FILE_ATTRIBUTE_HIDDEN, false},
        {"system.ini", FILE_ATTRIBUTE_SYSTEM, false},
        {"folder.ini", FILE_ATTRIBUTE_DIRECTORY, false}};
    for (const auto& [name, attributes, ordinary] : files) {
        std::ofstream(folder / name) << "x";
        SetFileAttributesW((folder / name).wstring().c_str(), attributes);
        EXPECT_EQ(FindOrdinaryFile((folder / name).string()), ordinary) << name;
        EXPECT_FALSE(FindOrdinaryFile((folder / "missing" / name).string()));
    }
    EXPECT_FALSE(FindOrdinaryFile((folder / "s*.ini").string()));
    EXPECT_TRUE(FindOrdinaryFile((folder / "?.ini").string()));
    EXPECT_EQ(ListFilesMatching(folder.string(), "*.ini"),
              (std::vector<std::string>{"a.ini", "b.INI"}));
    for (const auto& [name, attributes, ordinary] : files) {
        SetFileAttributesW((folder / name).wstring().c_str(), FILE_ATTRIBUTE_NORMAL);
    }
    std::filesystem::remove_all(folder);
}

}  // namespace
}  // namespace tikora
