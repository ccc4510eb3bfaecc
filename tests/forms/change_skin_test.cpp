#include <unistd.h>

#include "forms/form_fixture.h"
#include "qt/frmChangeSkin.h"
#include "qt/modSkins.h"

namespace tikora::testing {
namespace {

QStringList Files(const ChangeSkinWindow& dialog) {
    QStringList names;
    for (int row = 0; row < dialog.filePrincipal.count(); ++row) {
        names << dialog.filePrincipal.item(row)->text();
    }
    return names;
}

// Two valid skins, a skin without its image, files that are no skins, a subfolder, and the
// process's current folder on the skins' folder.
class ChangeSkinTest : public FormTest {
  protected:
    ChangeSkinTest() {
        WriteFile(tree_ / "skins/Alpha.ini", SkinIni("True", "alpha.png"));
        WriteStrip(tree_ / "skins/alpha.png", 8, 11, 4);
        WriteFile(tree_ / "skins/Beta.ini", SkinIni("False", "alpha.png"));
        WriteFile(tree_ / "skins/NoImage.ini", SkinIni("True", "gone.png"));
        WriteFile(tree_ / "skins/readme.txt", "not a skin");
        WriteFile(tree_ / "skins/Shouting.INI", "");
        WriteFile(tree_ / "skins/.hidden.ini", "");
        WriteFile(tree_ / "skins/sub/Gamma.ini", SkinIni("True", "../alpha.png"));
        std::filesystem::create_directories(tree_ / "skins/sub/deeper");
        savedFolder_ = std::filesystem::current_path();
        std::filesystem::current_path(tree_ / "skins");
        SetTime(12, 34, 0);
        AddTaskbarClock(60, 20);
        frmMain.Get();
        ClockSettings.BeatTime = false;
        errors_.clear();
    }
    ~ChangeSkinTest() override {
        frmChangeSkin.Unload();
        std::filesystem::current_path(savedFolder_);
    }

    ChangeSkinWindow& Dialog() { return frmChangeSkin.Get(); }

    void Choose(const QString& file) {
        const QList<QListWidgetItem*> found =
            Dialog().filePrincipal.findItems(file, Qt::MatchExactly);
        ASSERT_EQ(found.size(), 1);
        found.front()->setSelected(true);
    }

    // The first glyph of the time in image mode, or the background colour.
    QRgb FirstCellPixel() {
        frmMain->tmrClock_Timer();
        return frmMain->picBuffer.image.Pixel(13, 5);
    }

    QTreeWidgetItem* FolderItem(const QString& name) {
        return Dialog()
            .dirPrincipal.findItems(name, Qt::MatchExactly | Qt::MatchRecursive)
            .value(0);
    }

    TempFolder tree_;
    std::filesystem::path savedFolder_;
};

TEST_F(ChangeSkinTest, OpensAtTheCurrentFolderListingOnlyIniFiles) {
    EXPECT_EQ(Dialog().windowTitle(), QStringLiteral(":: Tikora [ Change Skin ] ::"));
    EXPECT_EQ(Dialog().size(), QSize(311, 247));
    EXPECT_EQ(Dialog().FolderPath(), tree_ / "skins");
    EXPECT_EQ(Dialog().FilePath(), tree_ / "skins");
    EXPECT_EQ(Files(Dialog()), (QStringList{QStringLiteral("Alpha.ini"), QStringLiteral("Beta.ini"),
                                            QStringLiteral("NoImage.ini")}));
    EXPECT_EQ(Dialog().SelectedFile(), "");
    EXPECT_EQ(Dialog().drvPrincipal.currentText(), QStringLiteral("/"));
    EXPECT_EQ(Dialog().focusWidget(), &Dialog().cmdCancel);
    EXPECT_EQ(Dialog().cmdCancel.nextInFocusChain(), &Dialog().cmdChange);
}

TEST_F(ChangeSkinTest, OpeningAFolderMovesTheFileList) {
    QTreeWidgetItem* sub = FolderItem(QStringLiteral("sub"));
    ASSERT_NE(sub, nullptr);
    emit Dialog().dirPrincipal.itemActivated(sub, 0);
    EXPECT_EQ(Dialog().FolderPath(), tree_ / "skins/sub");
    EXPECT_EQ(Files(Dialog()), QStringList{QStringLiteral("Gamma.ini")});
}

TEST_F(ChangeSkinTest, ChangeLoadsTheChosenSkinClosesAndTheNextTickDrawsIt) {
    const QRgb before = FirstCellPixel();
    Choose(QStringLiteral("Alpha.ini"));
    Dialog().cmdChange.click();
    EXPECT_EQ(frmChangeSkin.Loaded(), nullptr);
    EXPECT_EQ(SkinSettings.CurrentSkinPath, tree_ / "skins");
    EXPECT_EQ(SkinSettings.CurrentSkinFile, "Alpha.ini");
    EXPECT_NE(before, CellColour(1));
    EXPECT_EQ(FirstCellPixel(), CellColour(1));  // the hours' first digit of 12:34
    EXPECT_TRUE(errors_.empty());
}

TEST_F(ChangeSkinTest, SkinWithoutImageFallsBackToTheDefaultWithOneMessage) {
    Choose(QStringLiteral("NoImage.ini"));
    Dialog().cmdChange.click();
    ASSERT_EQ(errors_.size(), 1u);
    EXPECT_EQ(errors_[0].message, "Image file not found. Tikora will load the default skin.");
    EXPECT_EQ(SkinSettings.CurrentSkinPath, SkinSettings.DefaultSkinPath);
    EXPECT_EQ(SkinSettings.CurrentSkinFile, "Zefro.ini");
    EXPECT_EQ(frmChangeSkin.Loaded(), nullptr);
}

TEST_F(ChangeSkinTest, BrokenDefaultBringsBackTheSkinInForceBefore) {
    ASSERT_TRUE(LoadSkin(tree_ / "skins", "Alpha.ini"));
    std::filesystem::remove(DefaultSkinFolder() + "/zefro.png");
    Choose(QStringLiteral("NoImage.ini"));
    Dialog().cmdChange.click();
    EXPECT_EQ(errors_.size(), 2u);  // the chosen skin's image, then the default's
    EXPECT_EQ(SkinSettings.CurrentSkinPath, tree_ / "skins");
    EXPECT_EQ(SkinSettings.CurrentSkinFile, "Alpha.ini");
    EXPECT_TRUE(SkinSettings.DisplayImage);
    EXPECT_EQ(FirstCellPixel(), CellColour(1));
}

TEST_F(ChangeSkinTest, ChangeWithNothingSelectedKeepsTheDialogOpen) {
    const std::string skin = SkinSettings.CurrentSkinFile;
    Dialog().cmdChange.click();
    EXPECT_NE(frmChangeSkin.Loaded(), nullptr);
    EXPECT_EQ(SkinSettings.CurrentSkinFile, skin);
    EXPECT_TRUE(errors_.empty());
}

TEST_F(ChangeSkinTest, CancelAndTheCloseButtonChangeNothing) {
    const std::string skin = SkinSettings.CurrentSkinPath + SkinSettings.CurrentSkinFile;
    const QRgb look = FirstCellPixel();
    Choose(QStringLiteral("Alpha.ini"));
    Dialog().cmdCancel.click();
    EXPECT_EQ(frmChangeSkin.Loaded(), nullptr);
    Choose(QStringLiteral("Alpha.ini"));
    Dialog().close();
    EXPECT_EQ(frmChangeSkin.Loaded(), nullptr);
    EXPECT_EQ(SkinSettings.CurrentSkinPath + SkinSettings.CurrentSkinFile, skin);
    EXPECT_EQ(FirstCellPixel(), look);
}

TEST_F(ChangeSkinTest, UnavailableDriveIsUndoneWithoutAMessage) {
    mountTable_ = "/dev/sda1 / ext4 rw 0 0\n/dev/sr0 /media/cd\\040rom iso9660 ro 0 0\n";
    ASSERT_EQ(Dialog().drvPrincipal.count(), 2);
    Dialog().drvPrincipal.setCurrentIndex(1);  // "/media/cd rom", which does not exist here
    EXPECT_EQ(Dialog().drvPrincipal.currentText(), QStringLiteral("/"));
    EXPECT_EQ(Dialog().FolderPath(), tree_ / "skins");
    EXPECT_TRUE(errors_.empty());
}

TEST_F(ChangeSkinTest, FolderThatCannotBeListedIsUndone) {
    QTreeWidgetItem* sub = FolderItem(QStringLiteral("sub"));
    ASSERT_NE(sub, nullptr);
    std::filesystem::remove_all(tree_ / "skins/sub");  // gone since the list was made
    emit Dialog().dirPrincipal.itemActivated(sub, 0);
    EXPECT_EQ(Dialog().FolderPath(), tree_ / "skins");
    EXPECT_EQ(Files(Dialog()).size(), 3);
    EXPECT_TRUE(errors_.empty());
}

TEST_F(ChangeSkinTest, ReopeningStartsAtTheCurrentFolderAgain) {
    ASSERT_TRUE(Dialog().SetFolderPath(tree_ / "skins/sub"));
    Dialog().cmdCancel.click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Dialog().FolderPath(), tree_ / "skins");
}

}  // namespace
}  // namespace tikora::testing
