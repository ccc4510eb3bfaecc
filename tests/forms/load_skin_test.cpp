// SPDX-License-Identifier: MIT
#include <sys/stat.h>

#include "common/modRegistry.h"
#include "forms/form_fixture.h"
#include "modules/modSkins.h"
#include "qt/frmChangeSkin.h"

namespace tikora::testing {
namespace {

using namespace std::string_literals;

// A valid skin, skins refused for a missing image (a FIFO in one) and for a colour, files that are
// no skins, a subfolder, and the process's current folder on the skins' folder.
class LoadSkinTest : public FormTest {
  protected:
    LoadSkinTest() {
        const std::string ini = SkinIni("True", "strip.png");
        WriteFile(tree_ / "skins/Alpha.ini", std::string(ini).replace(ini.find("8.25"), 4, "9.5"));
        WriteFile(tree_ / "skins/Colour.ini", std::string(ini).replace(ini.find("255,"), 4, ""));
        WriteFile(tree_ / "skins/NoImage.ini", SkinIni("True", "gone.png"));
        WriteFile(tree_ / "skins/h\xE9llo.ini", ini);  // named on Windows, in Windows-1252
        std::filesystem::copy(TIKORA_TEST_DATA "/broken-skins/main-names-a-fifo", tree_ / "fifo");
        EXPECT_EQ(mkfifo((tree_ / "fifo/strip.png").c_str(), 0600), 0);
        WriteStrip(tree_ / "skins/strip.png", 9, 11, 4);
        for (const char* other : {"readme.txt", "Shouting.INI", ".hidden.ini", "sub/Gamma.ini"}) {
            WriteFile(tree_ / "skins/" + other, "");
        }
        std::filesystem::current_path(tree_ / "skins");
        frmMain.Get();
        errors_.clear();
    }
    ~LoadSkinTest() override { std::filesystem::current_path(savedFolder_); }

    ChangeSkinWindow& Dialog() { return frmChangeSkin.Get(); }

    QStringList Files() {
        QStringList names;
        for (int row = 0; row < Dialog().filePrincipal.count(); ++row) {
            names << Dialog().filePrincipal.item(row)->text();
        }
        return names;
    }

    // Picks an entry of the file list as a person would.
    void Change(const QString& file) {
        Dialog().filePrincipal.setCurrentRow(static_cast<int>(Files().indexOf(file)));
        Dialog().cmdChange.click();
    }

    const std::filesystem::path savedFolder_ = std::filesystem::current_path();
    TempFolder tree_;
};

// A refused skin moves the current skin's location, DisplayImage and Separator, and nothing else;
// only a missing image is told in the error box. A skin that loads puts its whole look on the
// clock window.
TEST_F(LoadSkinTest, PutsTheWholeLookOnTheWindowOrOnlyWhereTheSkinIs) {
    for (const auto& [folder, file] : {std::pair{"fifo", "skin.ini"}, {"skins", "Colour.ini"}}) {
        errors_.clear();
        SkinSettings.DisplayImage = false;
        SkinSettings.Separator = "#";
        SkinSettings.CharWidth = 3;
        std::string whyNot;
        EXPECT_FALSE(LoadSkinInto(frmMain.Get(), tree_ / folder, file, &whyNot));
        EXPECT_EQ(errors_.size(), folder == std::string("fifo") ? 1u : 0u);
        for (const ShownError& error : errors_) {
            EXPECT_EQ(error.message, whyNot);
        }
        EXPECT_EQ(SkinSettings.CurrentSkinPath + SkinSettings.CurrentSkinFile,
                  tree_ / folder + file);
        EXPECT_EQ(std::tuple(bool(SkinSettings.DisplayImage), SkinSettings.Separator.Utf8(),
                             SkinSettings.CharWidth, frmMain->picSkin.picture.Width()),
                  std::tuple(true, std::string(":"), 3.0f, 92));  // 92: the default skin's strip
    }
    errors_.clear();
    ASSERT_TRUE(LoadSkin(tree_ / "skins", "Alpha.ini"));
    EXPECT_EQ(std::tuple(SkinSettings.CharWidth, SkinSettings.CharHeight, SkinSettings.SepWidth,
                         frmMain->picBuffer.FontSize),
              std::tuple(8.0f, 11.0f, 4.0f, 9.5f));
    EXPECT_EQ(std::tuple(frmMain->picBuffer.ForeColor, frmMain->picBuffer.BackColor,
                         frmMain->picBuffer.FontName, frmMain->picSkin.picture.Width()),
              std::tuple(Rgb(255, 128, 0), Rgb(0, 0, 64), std::string("DejaVu Sans"), 103));
    frmMain->resize(4, 4);  // the window's own background shows beside a smaller picBuffer
    frmMain->picBuffer.SetSize(1, 1);
    EXPECT_EQ(frmMain->grab().toImage().pixel(3, 3), qRgb(0, 0, 64));
    EXPECT_EQ(ReadSkinValue("image info", "sepwidth"), "4");  // from the skin now in force
    DockState.TwipsPerPixelY = 5;  // at 288 dots per inch 72 points are 288 pixels
    const std::string text = SkinIni("False", "strip.png");
    WriteFile(tree_ / "skins/Wide.ini", std::string(text).replace(text.find("8.25"), 4, "72"));
    std::string whyNot;
    EXPECT_FALSE(LoadSkinInto(frmMain.Get(), tree_ / "skins", "Wide.ini", &whyNot));
    EXPECT_EQ(whyNot,
              tree_ / "skins/Wide.ini" + ": the text is wider than 600 pixels in this font");
    EXPECT_TRUE(errors_.empty());
}

// Browsing in the chooser changes no skin and shows no message: every opening starts at the current
// folder, a drive without a medium is undone, Change with nothing chosen keeps the dialog open.
TEST_F(LoadSkinTest, BrowsingCancellingAndClosingTheChooserChangeNothing) {
    EXPECT_EQ(
        Files(),
        QStringLiteral("Alpha.ini Colour.ini h\u00E9llo.ini NoImage.ini Shouting.INI").split(u' '));
    Dialog().cmdChange.click();
    EXPECT_NE(frmChangeSkin.Loaded(), nullptr);
    QTreeWidgetItem* sub =
        Dialog().dirPrincipal.findItems(QStringLiteral("sub"), Qt::MatchRecursive).value(0);
    ASSERT_NE(sub, nullptr);
    emit Dialog().dirPrincipal.itemActivated(sub, 0);
    EXPECT_EQ(Files(), QStringList{QStringLiteral("Gamma.ini")});
    Dialog().filePrincipal.setCurrentRow(0);
    Dialog().cmdCancel.click();
    EXPECT_EQ(frmChangeSkin.Loaded(), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(Dialog().FilePath(), tree_ / "skins");
    frmChangeSkin.Unload();
    mountTable_ =
        "proc /proc proc rw 0 0\n/dev/sr0 /media/cd\\040rom iso9660 ro 0 0\n/dev/sda1 / ext4\n";
    ASSERT_EQ(Dialog().drvPrincipal.count(), 2);  // "/" first, no kernel file systems
    Dialog().drvPrincipal.setCurrentIndex(1);     // "/media/cd rom", which does not exist here
    EXPECT_EQ(Dialog().drvPrincipal.currentText(), QStringLiteral("/"));
    EXPECT_EQ(Dialog().FilePath(), tree_ / "skins");
    Dialog().filePrincipal.setCurrentRow(0);
    Dialog().close();
    EXPECT_EQ(frmChangeSkin.Loaded(), nullptr);
    EXPECT_EQ(SkinSettings.CurrentSkinFile, "Zefro.ini");
    EXPECT_TRUE(errors_.empty());
}

// The chooser's Change loads the chosen skin and saves it at once. A skin refused for what it
// holds is told in one line and leaves the skin before in force; for a missing image the default
// skin, or when that fails too, the skin in force before, neither of them saved.
TEST_F(LoadSkinTest, ChangeLoadsTheChoiceOrTheDefaultOrTheSkinBefore) {
    const auto stored = [] { return ReadRegString(kCurrentUser, kSkinsKey, "CurrentSkinFile"); };
    Change(QStringLiteral("h\u00E9llo.ini"));
    EXPECT_EQ(frmChangeSkin.Loaded(), nullptr);
    EXPECT_EQ(SkinSettings.CurrentSkinPath, tree_ / "skins");
    EXPECT_EQ(SkinSettings.CurrentSkinFile + stored(),
              "h\xE9llo.ini"
              "h\xE9llo.ini");
    SkinSettings.Separator = "#";  // as if the skin had said so
    Change(QStringLiteral("Colour.ini"));
    EXPECT_EQ(std::tuple(errors_.at(0).message, SkinSettings.CurrentSkinFile,
                         SkinSettings.Separator.Utf8(), stored()),
              std::tuple(tree_ / "skins/Colour.ini: TextColor is not a colour \"red,green,blue\"",
                         "h\xE9llo.ini"s, "#"s, "h\xE9llo.ini"s));
    errors_.clear();
    Change(QStringLiteral("NoImage.ini"));
    EXPECT_EQ(frmChangeSkin.Loaded(), nullptr);
    EXPECT_EQ(errors_.size(), 1u);  // none for the first choice
    EXPECT_EQ(SkinSettings.CurrentSkinPath, SkinSettings.DefaultSkinPath);
    EXPECT_FALSE(SkinSettings.DisplayImage);
    EXPECT_EQ(stored(), "h\xE9llo.ini");
    Change(QStringLiteral("Alpha.ini"));
    std::filesystem::remove(DefaultSkinFolder() + "/zefro.png");
    Change(QStringLiteral("NoImage.ini"));
    EXPECT_EQ(errors_.size(), 3u);  // the chosen skin's image, then the default's
    EXPECT_EQ(SkinSettings.CurrentSkinFile, "Alpha.ini");
}

}  // namespace
}  // namespace tikora::testing
