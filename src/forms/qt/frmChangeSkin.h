// SPDX-License-Identifier: MIT
#pragma once

#include <QComboBox>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QWidget>
#include <map>
#include <string>
#include <vector>

#include "qt/form_instance.h"

namespace tikora {

// frmChangeSkin: picks another skin from a drive list, a folder list and the folder's "*.ini"
// files. Modeless; the clock keeps ticking while it is open.
class ChangeSkinWindow : public QWidget {
  public:
    ChangeSkinWindow();

    void Form_Load() {}
    void drvPrincipal_Change();
    void dirPrincipal_Change();
    void cmdChange_Click();
    void cmdCancel_Click();

    // The folder list's path; setting it lists the folder, and false leaves everything as it was
    // when the folder can't be listed.
    const std::string& FolderPath() const { return folderPath_; }
    bool SetFolderPath(const std::string& path);
    // The file list's path and selected file (empty when none is selected).
    const std::string& FilePath() const { return filePath_; }
    std::string SelectedFile() const;

    QComboBox drvPrincipal;
    QTreeWidget dirPrincipal;
    QListWidget filePrincipal;
    QPushButton cmdChange;
    QPushButton cmdCancel;

  protected:
    void closeEvent(QCloseEvent* event) override;

  private:
    void FillDrives(const std::string& current);
    void FillFolders(const std::vector<std::string>& subfolders);
    void SelectDrive(const std::string& drive);

    std::vector<std::string> drives_;
    // The folder last shown on each drive, as each drive of a drive list keeps its own.
    std::map<std::string, std::string> driveFolders_;
    std::string folderPath_;
    std::string filePath_;
};

extern FormInstance<ChangeSkinWindow> frmChangeSkin;

}  // namespace tikora
