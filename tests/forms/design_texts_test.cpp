// SPDX-License-Identifier: MIT
#include <QAbstractButton>
#include <QLabel>

#include "forms/form_fixture.h"
#include "qt/form_layout.h"
#include "support/design_texts.h"

namespace tikora::testing {
namespace {

using DesignTexts = FormTest;

TEST_F(DesignTexts, EveryWindowHasTheDesignsCaptionTextsAndClientSize) {
    QWidget* windows[] = {&frmMain.Get(), &frmMenu.Get(), &frmPrefs.Get(), &frmChangeSkin.Get(),
                          &frmAbout.Get()};
    for (std::size_t i = 0; i < std::size(windows); ++i) {
        const DesignWindow& design = kDesignWindows[i];
        EXPECT_EQ(windows[i]->windowTitle().toStdString(), design.caption);
        if (design.widthTwips > 0) {
            EXPECT_EQ(windows[i]->size(),
                      QSize(TwipsToPixelsX(design.widthTwips), TwipsToPixelsY(design.heightTwips)));
        }
        std::vector<std::string> shown;
        for (const QAbstractButton* button : windows[i]->findChildren<QAbstractButton*>()) {
            shown.push_back(button->text().toStdString());
        }
        for (const QLabel* label : windows[i]->findChildren<QLabel*>()) {
            shown.push_back(label->text().toStdString());
        }
        for (const QTabWidget* tabs : windows[i]->findChildren<QTabWidget*>()) {
            shown.push_back(tabs->tabText(0).toStdString());
        }
        for (const std::string& text : design.texts) {
            EXPECT_NE(std::find(shown.begin(), shown.end(), text), shown.end()) << text;
        }
    }
    std::vector<std::string> menu, servers;
    for (const QAction* item : frmMenu->mnuMain.actions()) {
        menu.push_back(item->isSeparator() ? "-" : item->text().toStdString());
    }
    for (int i = 0; i < frmPrefs->cmbServerList.count(); ++i) {
        servers.push_back(frmPrefs->cmbServerList.itemText(i).toStdString());
    }
    EXPECT_EQ(frmMenu->mnuMain.title(), QStringLiteral("&Main"));
    EXPECT_EQ(menu, kMenuItems);
    EXPECT_EQ(servers, kServerItems);
}

}  // namespace
}  // namespace tikora::testing
