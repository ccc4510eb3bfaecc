// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>

#include <map>
#include <string>
#include <vector>

#include "win32/dialog_window.h"
#include "win32/form_instance.h"

namespace tikora {

// Shows the skin chooser, loading it first if it isn't; unloading destroys it.
void ShowChangeSkin();
void UnloadChangeSkin();

// frmChangeSkin: picks another skin from a drive list, a folder list and the folder's "*.ini"
// files. Modeless; the clock keeps ticking while it is open. The drive list is the system's own
// (DlgDirListComboBoxW); the folder list shows the folders from the drive's root down to the
// current one, then its subfolders, and opens one on a double click.
class ChangeSkinWindow final : public DialogWindow {
  public:
    ChangeSkinWindow();

    void Form_Load() {}
    void drvPrincipal_Change();
    void dirPrincipal_Change();
    void cmdChange_Click();
    void cmdCancel_Click();

    // The folder list's path ("C:\" at a drive's root, else without a closing backslash); setting
    // it lists the folder, and false leaves everything as it was when the folder can't be listed.
    const std::string& FolderPath() const { return folderPath_; }
    bool SetFolderPath(const std::string& path);
    // The file list's path and selected file (empty when none is selected).
    const std::string& FilePath() const { return filePath_; }
    std::string SelectedFile() const;

    HWND cmdCancel = nullptr;
    HWND cmdChange = nullptr;
    HWND filePrincipal = nullptr;
    HWND drvPrincipal = nullptr;
    HWND dirPrincipal = nullptr;

  protected:
    LRESULT OnMessage(UINT message, WPARAM wParam, LPARAM lParam) override;
    int DefaultButton() const override;

  private:
    void OnCommand(int id, int notification);
    void FillFolders(const std::vector<std::string>& subfolders);
    void SelectDrive(const std::string& drive);
    std::string SelectedDrive() const;

    // The folder last shown on each drive, as each drive of a drive list keeps its own.
    std::map<std::string, std::string> driveFolders_;
    std::string folderPath_;
    std::string filePath_;
    // The folder each line of the folder list stands for.
    std::vector<std::string> folderLines_;
};

extern FormInstance<ChangeSkinWindow> frmChangeSkin;

}  // namespace tikora
