// SPDX-License-Identifier: MIT
#include "qt/frmAbout.h"

#include <QCloseEvent>
#include <QPainter>

#include "qt/form_layout.h"

namespace tikora {

FormInstance<AboutWindow> frmAbout;

AboutWindow::AboutWindow()
    : lblProgName(QStringLiteral("Tikora"), this),
      lblReleaseDate(QStringLiteral("Release Date:"), this),
      lblCopyright(QStringLiteral("\u00A9 The Tikora developers"), this),
      lblRights(QStringLiteral("MIT licence: free to use, change and share"), this),
      cmdOk(QStringLiteral("&Ok"), this) {
    MakeFixedDialog(*this, QStringLiteral(":: Tikora [ About ] ::"), 4245, 1620);
    Image1.setParent(this);
    Image1.setPixmap(QPixmap(QStringLiteral(":/tikora-32.png")));
    Image1.setGeometry(TwipsToPixelsX(90), TwipsToPixelsY(90), 32, 32);
    QFont bold = font();
    bold.setBold(true);
    lblProgName.setFont(bold);
    PlaceInTwips(lblProgName, 690, 90, 3465, 225);
    PlaceInTwips(lblReleaseDate, 690, 330, 3465, 225);
    PlaceInTwips(lblCopyright, 690, 660, 3465, 225);
    PlaceInTwips(lblRights, 690, 900, 3465, 225);
    PlaceInTwips(cmdOk, 3330, 1230, 855, 315);
    QObject::connect(&cmdOk, &QPushButton::clicked, this, [this] { cmdOk_Click(); });
}

void AboutWindow::Form_Load() {
    lblProgName.setText(lblProgName.text() + QStringLiteral(" 1.0"));
    lblReleaseDate.setText(lblReleaseDate.text() + QStringLiteral(" April 27, 2001 (Friday)"));
}

void AboutWindow::cmdOk_Click() {
    frmAbout.Unload();
}

void AboutWindow::paintEvent(QPaintEvent*) {
    QPainter painter(this);
    painter.setPen(palette().color(QPalette::Mid));
    // lineVer1 and lineHor1.
    painter.drawLine(TwipsToPixelsX(630), TwipsToPixelsY(60), TwipsToPixelsX(630),
                     TwipsToPixelsY(3090));
    painter.drawLine(TwipsToPixelsX(690), TwipsToPixelsY(630), TwipsToPixelsX(4200),
                     TwipsToPixelsY(630));
}

void AboutWindow::closeEvent(QCloseEvent* event) {
    event->accept();
    frmAbout.Unload();
}

}  // namespace tikora
