// SPDX-License-Identifier: MIT
#include <QMessageBox>

#include "modules/modMain.h"

namespace tikora {

void ShowModalErrorBox(const std::string& title, const std::string& message) {
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(title),
                    QString::fromStdString(message), QMessageBox::Ok);
    box.exec();
}

}  // namespace tikora
