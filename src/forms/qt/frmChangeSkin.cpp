// SPDX-License-Identifier: MIT
#include "qt/frmChangeSkin.h"

#include <QCloseEvent>
#include <QFileIconProvider>
#include <QSignalBlocker>

#include "modules/modSkins.h"
#include "platform/folders.h"
#include "platform/services.h"
#include "qt/form_layout.h"
#include "shared/utf8.h"
#include "skins/folder_lists.h"

namespace tikora {

FormInstance<ChangeSkinWindow> frmChangeSkin;

namespace {

// Names are shown as a person reads them (a name that is not UTF-8 in the single-byte code page,
// as it was most likely written on Windows) and kept as their bytes, which name the file.
QString Text(const std::string& bytes) {
    return QString::fromStdString(IsValidUtf8(bytes) ? bytes : Windows1252ToUtf8(bytes));
}

QByteArray Bytes(const std::string& bytes) {
    return QByteArray::fromStdString(bytes);
}

QString FolderName(const std::string& path) {
    return path == "/" ? QStringLiteral("/") : Text(path.substr(path.rfind('/') + 1));
}

}  // namespace

ChangeSkinWindow::ChangeSkinWindow()
    : drvPrincipal(this),
      dirPrincipal(this),
      filePrincipal(this),
      cmdChange(QStringLiteral("&Change"), this),
      cmdCancel(QStringLiteral("C&ancel"), this) {
    MakeFixedDialog(*this, QStringLiteral(":: Tikora [ Change Skin ] ::"), 4665, 3705);
    PlaceInTwips(drvPrincipal, 30, 30, 2535, 330);
    PlaceInTwips(dirPrincipal, 30, 540, 2535, 2730);
    PlaceInTwips(filePrincipal, 2610, 30, 2025, 3240);
    PlaceInTwips(cmdChange, 2340, 3360, 1125, 285);
    PlaceInTwips(cmdCancel, 3510, 3360, 1125, 285);
    for (QWidget* list :
         {static_cast<QWidget*>(&drvPrincipal), static_cast<QWidget*>(&dirPrincipal),
          static_cast<QWidget*>(&filePrincipal)}) {
        list->setFont(ArialFont());
    }
    dirPrincipal.setHeaderHidden(true);
    dirPrincipal.setRootIsDecorated(false);
    dirPrincipal.setIndentation(TwipsToPixelsX(150));
    filePrincipal.setSelectionMode(QAbstractItemView::SingleSelection);
    setTabOrder(&cmdCancel, &cmdChange);
    setTabOrder(&cmdChange, &filePrincipal);
    setTabOrder(&filePrincipal, &drvPrincipal);
    setTabOrder(&drvPrincipal, &dirPrincipal);

    // Every opening starts at the process's current folder.
    const std::string start = CurrentFolder();
    drives_ = ParseMountPoints(Platform().mountTable());
    FillDrives(DriveOf(start, drives_));
    if (!SetFolderPath(start)) {
        SetFolderPath("/");
    }
    cmdCancel.setFocus();

    QObject::connect(&drvPrincipal, &QComboBox::currentIndexChanged, this,
                     [this] { drvPrincipal_Change(); });
    QObject::connect(&dirPrincipal, &QTreeWidget::itemActivated, this,
                     [this](QTreeWidgetItem* item) {
                         SetFolderPath(item->data(0, Qt::UserRole).toByteArray().toStdString());
                     });
    QObject::connect(&cmdChange, &QPushButton::clicked, this, [this] { cmdChange_Click(); });
    QObject::connect(&cmdCancel, &QPushButton::clicked, this, [this] { cmdCancel_Click(); });
}

void ChangeSkinWindow::FillDrives(const std::string& current) {
    const QSignalBlocker quiet(drvPrincipal);
    drvPrincipal.clear();
    for (const std::string& drive : drives_) {
        drvPrincipal.addItem(Text(drive), Bytes(drive));
    }
    SelectDrive(current);
}

void ChangeSkinWindow::SelectDrive(const std::string& drive) {
    drvPrincipal.setCurrentIndex(drvPrincipal.findData(Bytes(drive)));
}

bool ChangeSkinWindow::SetFolderPath(const std::string& path) {
    const std::optional<std::vector<std::string>> subfolders = ListSubfolders(path);
    if (!subfolders) {
        return false;
    }
    folderPath_ = path;
    driveFolders_[DriveOf(path, drives_)] = path;
    FillFolders(*subfolders);
    dirPrincipal_Change();
    return true;
}

void ChangeSkinWindow::FillFolders(const std::vector<std::string>& subfolders) {
    static const QFileIconProvider icons;
    dirPrincipal.clear();
    QTreeWidgetItem* parent = nullptr;
    auto add = [&](const std::string& path, QIcon::Mode mode) {
        auto* item = parent ? new QTreeWidgetItem(parent) : new QTreeWidgetItem(&dirPrincipal);
        item->setText(0, FolderName(path));
        item->setData(0, Qt::UserRole, Bytes(path));
        item->setIcon(0, icons.icon(QFileIconProvider::Folder).pixmap(16, mode));
        return item;
    };
    for (const std::string& folder : PathChain(folderPath_)) {
        parent = add(folder, QIcon::Normal);
        parent->setExpanded(true);
    }
    dirPrincipal.setCurrentItem(parent);
    for (const std::string& name : subfolders) {
        add(JoinPath(folderPath_, name), QIcon::Disabled)->setExpanded(false);
    }
    dirPrincipal.expandAll();
}

void ChangeSkinWindow::drvPrincipal_Change() {
    const std::string remembered = folderPath_;
    const std::string drive = drvPrincipal.currentData().toByteArray().toStdString();
    const auto known = driveFolders_.find(drive);
    const std::string target = known != driveFolders_.end() ? known->second : drive;
    // A drive that can't be listed is undone without a word: the drive list goes back to the
    // drive of the folder shown before, and its own change moves the folder list there.
    if (!SetFolderPath(target) && !(known != driveFolders_.end() && SetFolderPath(drive))) {
        SelectDrive(DriveOf(remembered, drives_));
    }
}

void ChangeSkinWindow::dirPrincipal_Change() {
    filePath_ = folderPath_;
    filePrincipal.clear();
    for (const std::string& name :
         ListFilesMatching(filePath_, "*.ini").value_or(std::vector<std::string>{})) {
        auto* item = new QListWidgetItem(Text(name), &filePrincipal);
        item->setData(Qt::UserRole, Bytes(name));
    }
    filePrincipal.setCurrentRow(-1);
}

std::string ChangeSkinWindow::SelectedFile() const {
    const QList<QListWidgetItem*> selected = filePrincipal.selectedItems();
    return selected.isEmpty() ? std::string()
                              : selected.front()->data(Qt::UserRole).toByteArray().toStdString();
}

void ChangeSkinWindow::cmdChange_Click() {
    const std::string file = SelectedFile();
    if (file.empty()) {
        return;  // nothing chosen yet: the dialog stays open
    }
    ChangeToChosenSkin(filePath_, file);
    frmChangeSkin.Unload();
}

void ChangeSkinWindow::cmdCancel_Click() {
    frmChangeSkin.Unload();
}

void ChangeSkinWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    frmChangeSkin.Unload();
}

}  // namespace tikora
