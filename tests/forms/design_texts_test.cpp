// SPDX-License-Identifier: MIT
// The design's captions, texts with their mnemonics, the server list and the client sizes of every
// window, as the design gives them: a changed letter is a changed program.

#include <QAbstractButton>
#include <QLabel>

#include "forms/form_fixture.h"
#include "qt/form_layout.h"

namespace tikora::testing {
namespace {

// Every text a window shows: its buttons', labels' and tabs'.
QStringList TextsOf(const QWidget& window) {
    QStringList texts;
    for (const QAbstractButton* button : window.findChildren<QAbstractButton*>()) {
        texts << button->text();
    }
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        texts << label->text();
    }
    for (const QTabWidget* tabs : window.findChildren<QTabWidget*>()) {
        for (int i = 0; i < tabs->count(); ++i) {
            texts << tabs->tabText(i);
        }
    }
    return texts;
}

QStringList Texts(std::initializer_list<const char*> texts) {
    QStringList list;
    for (const char* text : texts) {
        list << QString::fromUtf8(text);
    }
    return list;
}

using DesignTexts = FormTest;

TEST_F(DesignTexts, EveryWindowHasTheDesignsCaptionTextsAndClientSize) {
    const struct {
        std::function<QWidget&()> open;
        const char* caption;
        int widthTwips, heightTwips;  // 0: set by docking, not by the design
        std::initializer_list<const char*> texts;
    } windows[] = {
        {[]() -> QWidget& { return frmMain.Get(); }, ":: Tikora ::", 0, 0, {}},
        {[]() -> QWidget& { return frmMenu.Get(); }, ":: Tikora [ Menu ] ::", 2700, 30, {}},
        {[]() -> QWidget& { return frmPrefs.Get(); },
         ":: Tikora [ Preferences ] ::",
         6030,
         3585,
         {":: Atomic Time ::", "::[Server]::", "Get Atomic Time",
          "[Local Time]:", "[Atomic Time]:", "Update Local Time", "Syncronise Time", "&OK"}},
        {[]() -> QWidget& { return frmChangeSkin.Get(); },
         ":: Tikora [ Change Skin ] ::",
         4665,
         3705,
         {"&Change", "C&ancel"}},
        {[]() -> QWidget& { return frmAbout.Get(); },
         ":: Tikora [ About ] ::",
         4245,
         1620,
         {"Tikora 1.0", "Release Date: April 27, 2001 (Friday)", "&Ok"}},
    };
    for (const auto& w : windows) {
        const QWidget& window = w.open();
        EXPECT_EQ(window.windowTitle(), QString::fromUtf8(w.caption));
        if (w.widthTwips > 0) {
            EXPECT_EQ(window.size(),
                      QSize(TwipsToPixelsX(w.widthTwips), TwipsToPixelsY(w.heightTwips)))
                << w.caption;
        }
        const QStringList shown = TextsOf(window);
        for (const QString& text : Texts(w.texts)) {
            EXPECT_TRUE(shown.contains(text)) << w.caption << ": " << text.toStdString();
        }
    }

    QStringList menu;
    for (const QAction* item : frmMenu->mnuMain.actions()) {
        menu << (item->isSeparator() ? QStringLiteral("-") : item->text());
    }
    EXPECT_EQ(frmMenu->mnuMain.title(), QStringLiteral("&Main"));
    EXPECT_EQ(menu, Texts({"&Adjust Date/Time", "&Preferences", "-", "&Internet Time (.beat)", "-",
                           "&Change Skin", "-", "A&bout", "&Exit"}));

    QStringList servers;
    for (int i = 0; i < frmPrefs->cmbServerList.count(); ++i) {
        servers << frmPrefs->cmbServerList.itemText(i);
    }
    EXPECT_EQ(servers,
              Texts({"0: NIST [Gaithersburg, Maryland]", "1: NIST [Boulder, Colorado]",
                     "2: University of Colorado [Boulder, Colorado]", "3: NCAR [Boulder, Colorado]",
                     "4: Microsoft [Redmond, Washington]", "5: Datum [San Jose, California]",
                     "6: Abovnet [Virginia]", "7: Abovnet [New York City]"}));
}

}  // namespace
}  // namespace tikora::testing
