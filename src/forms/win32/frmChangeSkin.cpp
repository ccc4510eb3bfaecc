// SPDX-License-Identifier: MIT
#include "win32/frmChangeSkin.h"

#include <array>

#include "modules/modSkins.h"
#include "platform/folders.h"
#include "win32/directory_search.h"
#include "win32/wide_text.h"

namespace tikora {

FormInstance<ChangeSkinWindow> frmChangeSkin;

namespace {

// Control identifiers.
enum : int { kCancel = 100, kChange, kFileList, kDriveList, kFolderList };

constexpr DWORD kList = WS_VSCROLL | WS_BORDER | WS_TABSTOP | LBS_NOTIFY | LBS_NOINTEGRALHEIGHT;

// "c:" for a path on drive C; the path itself when it names no drive.
std::string DriveOf(const std::string& path) {
    if (path.size() < 2 || path[1] != ':') {
        return path;
    }
    const char letter =
        path[0] >= 'A' && path[0] <= 'Z' ? static_cast<char>(path[0] - 'A' + 'a') : path[0];
    return {letter, ':'};
}

// "C:\", then each folder down to `path` ("C:\Skins", "C:\Skins\Zefro").
std::vector<std::string> PathChain(const std::string& path) {
    if (path.size() < 3 || path[1] != ':') {
        return {path};
    }
    std::vector<std::string> chain{path.substr(0, 3)};
    for (std::size_t at = path.find('\\', 3); at != std::string::npos;
         at = path.find('\\', at + 1)) {
        chain.push_back(path.substr(0, at));
    }
    if (path.size() > 3) {
        chain.push_back(path);
    }
    return chain;
}

// The folder the system keeps as current on `drive` ("d:"): its root unless the process has
// been elsewhere on it.
std::string CurrentFolderOn(const std::string& drive) {
    std::array<wchar_t, MAX_PATH> folder{};
    const DWORD length = GetFullPathNameW(Widen(drive).c_str(), static_cast<DWORD>(folder.size()),
                                          folder.data(), nullptr);
    return length > 0 && length < folder.size() ? Narrow(folder.data()) : drive + '\\';
}

void AddLine(HWND list, const std::string& text) {
    SendMessageW(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(Widen(text).c_str()));
}

}  // namespace

void ShowChangeSkin() {
    frmChangeSkin->Show();  // "C&ancel", first in the tab order, takes the focus
}

void UnloadChangeSkin() {
    frmChangeSkin.Unload();
}

ChangeSkinWindow::ChangeSkinWindow() : DialogWindow(L":: Tikora [ Change Skin ] ::", 4665, 3705) {
    // Created in the tab order, "C&ancel" first.
    cmdCancel = AddControl(L"BUTTON", L"C&ancel", BS_PUSHBUTTON | WS_TABSTOP,
                           {3510, 3360, 1125, 285}, kCancel);
    cmdChange = AddControl(L"BUTTON", L"&Change", BS_DEFPUSHBUTTON | WS_TABSTOP,
                           {2340, 3360, 1125, 285}, kChange);
    filePrincipal =
        AddControl(L"LISTBOX", L"", kList, {2610, 30, 2025, 3240}, kFileList, FontKind::Arial);
    // A drop-down list is as tall as its font makes it; the height is its open list's.
    drvPrincipal = AddControl(L"COMBOBOX", L"", CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP,
                              {30, 30, 2535, 2730}, kDriveList, FontKind::Arial);
    dirPrincipal =
        AddControl(L"LISTBOX", L"", kList, {30, 540, 2535, 2730}, kFolderList, FontKind::Arial);

    wchar_t everything[MAX_PATH] = L"*";
    DlgDirListComboBoxW(Handle(), everything, kDriveList, 0, DDL_DRIVES | DDL_EXCLUSIVE);
    // Every opening starts at the process's current folder.
    const std::string start = CurrentFolder();
    SelectDrive(DriveOf(start));
    if (!SetFolderPath(start)) {
        SetFolderPath(DriveOf(start) + '\\');
    }
}

int ChangeSkinWindow::DefaultButton() const {
    return SelectedFile().empty() ? 0 : kChange;
}

LRESULT ChangeSkinWindow::OnMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_COMMAND:
            OnCommand(LOWORD(wParam), HIWORD(wParam));
            return 0;
        case WM_CLOSE:
            UnloadChangeSkin();  // the title bar's close button: the last step here
            return 0;
        default:
            break;
    }
    return DialogWindow::OnMessage(message, wParam, lParam);
}

void ChangeSkinWindow::OnCommand(int id, int notification) {
    if (id == kDriveList && notification == CBN_SELCHANGE) {
        drvPrincipal_Change();
    } else if (id == kFolderList && notification == LBN_DBLCLK) {
        const auto line = static_cast<std::size_t>(SendMessageW(dirPrincipal, LB_GETCURSEL, 0, 0));
        if (line < folderLines_.size()) {
            SetFolderPath(folderLines_[line]);
        }
    } else if (id == kChange && notification == BN_CLICKED) {
        cmdChange_Click();
    } else if (id == kCancel && notification == BN_CLICKED) {
        cmdCancel_Click();
    }
}

void ChangeSkinWindow::SelectDrive(const std::string& drive) {
    // The system's drive list names drive C "[-c-]".
    const std::wstring item = L"[-" + Widen(drive.substr(0, 1)) + L"-]";
    const LRESULT index = SendMessageW(drvPrincipal, CB_FINDSTRINGEXACT, static_cast<WPARAM>(-1),
                                       reinterpret_cast<LPARAM>(item.c_str()));
    SendMessageW(drvPrincipal, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

std::string ChangeSkinWindow::SelectedDrive() const {
    std::array<wchar_t, MAX_PATH> drive{};
    DlgDirSelectComboBoxExW(Handle(), drive.data(), static_cast<int>(drive.size()), kDriveList);
    return DriveOf(Narrow(drive.data()));
}

bool ChangeSkinWindow::SetFolderPath(const std::string& path) {
    const std::optional<std::vector<std::string>> subfolders = ListSubfolders(path);
    if (!subfolders) {
        return false;
    }
    folderPath_ = path;
    driveFolders_[DriveOf(path)] = path;
    FillFolders(*subfolders);
    dirPrincipal_Change();
    return true;
}

void ChangeSkinWindow::FillFolders(const std::vector<std::string>& subfolders) {
    SendMessageW(dirPrincipal, LB_RESETCONTENT, 0, 0);
    folderLines_ = PathChain(folderPath_);
    std::string indent;
    for (const std::string& folder : folderLines_) {
        AddLine(dirPrincipal,
                indent + (indent.empty() ? folder : folder.substr(folder.rfind('\\') + 1)));
        indent += "   ";
    }
    SendMessageW(dirPrincipal, LB_SETCURSEL, folderLines_.size() - 1, 0);
    for (const std::string& name : subfolders) {
        AddLine(dirPrincipal, indent + name);
        folderLines_.push_back(InFolder(folderPath_, name));
    }
}

void ChangeSkinWindow::drvPrincipal_Change() {
    const std::string remembered = folderPath_;
    const std::string drive = SelectedDrive();
    const auto known = driveFolders_.find(drive);
    const std::string target =
        known != driveFolders_.end() ? known->second : CurrentFolderOn(drive);
    // A drive that can't be listed is undone without a word: the drive list goes back to the
    // drive of the folder shown before, where the folder list still is.
    if (!SetFolderPath(target) && !(known != driveFolders_.end() && SetFolderPath(drive + '\\'))) {
        SelectDrive(DriveOf(remembered));
    }
}

void ChangeSkinWindow::dirPrincipal_Change() {
    filePath_ = folderPath_;
    SendMessageW(filePrincipal, LB_RESETCONTENT, 0, 0);
    for (const std::string& name :
         ListFilesMatching(filePath_, "*.ini").value_or(std::vector<std::string>{})) {
        AddLine(filePrincipal, name);
    }
}

std::string ChangeSkinWindow::SelectedFile() const {
    const LRESULT line = SendMessageW(filePrincipal, LB_GETCURSEL, 0, 0);
    if (line == LB_ERR) {
        return {};
    }
    std::wstring name(static_cast<std::size_t>(
                          SendMessageW(filePrincipal, LB_GETTEXTLEN, static_cast<WPARAM>(line), 0)),
                      L'\0');
    SendMessageW(filePrincipal, LB_GETTEXT, static_cast<WPARAM>(line),
                 reinterpret_cast<LPARAM>(name.data()));
    return Narrow(name);
}

void ChangeSkinWindow::cmdChange_Click() {
    const std::string file = SelectedFile();
    if (file.empty()) {
        return;  // nothing chosen yet: the dialog stays open
    }
    ChangeToChosenSkin(filePath_, file);
    UnloadChangeSkin();  // the last step: the window's object goes with it
}

void ChangeSkinWindow::cmdCancel_Click() {
    UnloadChangeSkin();
}

}  // namespace tikora
