// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "win32/frmChangeSkin.h"
#include "win32/wide_text.h"

namespace tikora {
namespace {

namespace fs = std::filesystem;

std::vector<std::string> Lines(HWND list) {
    std::vector<std::string> lines;
    const auto count = SendMessageW(list, LB_GETCOUNT, 0, 0);
    for (WPARAM i = 0; i < static_cast<WPARAM>(count); ++i) {
        std::wstring line(static_cast<std::size_t>(SendMessageW(list, LB_GETTEXTLEN, i, 0)), L'\0');
        SendMessageW(list, LB_GETTEXT, i, reinterpret_cast<LPARAM>(line.data()));
        lines.push_back(Narrow(line));
    }
    return lines;
}

// A folder of skins and other things, made the process's current folder for the test.
class ChangeSkinTest : public ::testing::Test {
  protected:
    ChangeSkinTest() {
        fs::create_directories(root_ / L"zeta");
        fs::create_directories(root_ / L"Alpha");
        fs::create_directories(root_ / L"secret");
        for (const wchar_t* name : {L"b.ini", L"\u00C9mile.ini", L"A.INI", L"notes.txt",
                                    L"b.ini.bak", L"hidden.ini", L"zeta\\inner.ini"}) {
            std::ofstream(root_ / name) << "[General]\n";
        }
        SetFileAttributesW((root_ / L"hidden.ini").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetFileAttributesW((root_ / L"secret").c_str(), FILE_ATTRIBUTE_HIDDEN);
        SetCurrentDirectoryW(root_.c_str());
    }
    ~ChangeSkinTest() override {
        UnloadChangeSkin();
        SetCurrentDirectoryW(started_.c_str());
        fs::remove_all(root_);
    }

    ChangeSkinWindow& Chooser() { return frmChangeSkin.Get(); }

    const fs::path started_ = fs::current_path();
    const fs::path root_ =
        fs::temp_directory_path() / ("tikora-skins-" + std::to_string(GetCurrentProcessId()));
    const std::string rootText_ = Narrow(root_.wstring());
};

TEST_F(ChangeSkinTest, OpensAtTheCurrentFolderListingItsSubfoldersAndSkinFiles) {
    ShowChangeSkin();
    EXPECT_EQ(Chooser().FolderPath(), rootText_);
    // A letter beyond ASCII after "z", whatever the sign of a byte.
    EXPECT_EQ(Lines(Chooser().filePrincipal),
              (std::vector<std::string>{"A.INI", "b.ini", "\xC3\x89mile.ini"}));
    EXPECT_EQ(Chooser().SelectedFile(), "");
    EXPECT_EQ(GetFocus(), Chooser().cmdCancel);
    // The chain from the drive's root down to the folder, then its visible subfolders.
    const std::vector<std::string> folders = Lines(Chooser().dirPrincipal);
    ASSERT_GE(folders.size(), 3u);
    EXPECT_EQ(folders.front(), rootText_.substr(0, 3));
    EXPECT_EQ(
        folders[folders.size() - 3].substr(folders[folders.size() - 3].find_first_not_of(' ')),
        root_.filename().string());
    EXPECT_NE(folders[folders.size() - 2].find("Alpha"), std::string::npos);
    EXPECT_NE(folders.back().find("zeta"), std::string::npos);
    wchar_t drive[16] = L"";
    SendMessageW(Chooser().drvPrincipal, WM_GETTEXT, 16, reinterpret_cast<LPARAM>(drive));
    EXPECT_EQ(towlower(drive[2]), towlower(root_.wstring()[0]));
}

TEST_F(ChangeSkinTest, ADoubleClickedFolderIsListedAndOpeningAgainStartsAfresh) {
    const HWND folders = Chooser().dirPrincipal;
    SendMessageW(folders, LB_SETCURSEL, SendMessageW(folders, LB_GETCOUNT, 0, 0) - 1, 0);
    SendMessageW(Chooser().Handle(), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(folders), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(folders));
    EXPECT_EQ(Chooser().FolderPath(), rootText_ + "\\zeta");
    EXPECT_EQ(Lines(Chooser().filePrincipal), std::vector<std::string>{"inner.ini"});
    EXPECT_FALSE(Chooser().SetFolderPath(rootText_ + "\\missing"));
    EXPECT_EQ(Chooser().FilePath(), rootText_ + "\\zeta");

    SendMessageW(Chooser().cmdChange, BM_CLICK, 0, 0);  // nothing chosen: the dialog stays
    ASSERT_NE(frmChangeSkin.Loaded(), nullptr);
    SendMessageW(Chooser().Handle(), WM_CLOSE, 0, 0);
    EXPECT_EQ(frmChangeSkin.Loaded(), nullptr);
    EXPECT_EQ(Chooser().FolderPath(), rootText_);
}

}  // namespace
}  // namespace tikora
