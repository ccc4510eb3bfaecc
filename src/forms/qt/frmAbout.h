// SPDX-License-Identifier: MIT
#pragma once

#include <QLabel>
#include <QPushButton>
#include <QWidget>

#include "qt/form_instance.h"

namespace tikora {

// frmAbout: the product's name, version and release date, and a rights notice.
class AboutWindow : public QWidget {
  public:
    AboutWindow();

    void Form_Load();
    void cmdOk_Click();

    QLabel Image1;
    QLabel lblProgName;
    QLabel lblReleaseDate;
    QLabel lblCopyright;
    QLabel lblRights;
    QPushButton cmdOk;

  protected:
    void paintEvent(QPaintEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
};

extern FormInstance<AboutWindow> frmAbout;

}  // namespace tikora
