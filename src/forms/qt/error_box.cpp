// SPDX-License-Identifier: MIT
#include <QMessageBox>
#include <cstdio>

#include "modules/modMain.h"

namespace tikora {

void ShowModalErrorBox(const std::string& title, const std::string& message) {
    QMessageBox box(QMessageBox::Critical, QString::fromStdString(title),
                    QString::fromStdString(message), QMessageBox::Ok);
    box.exec();
}

// The clock starts with the desktop, where nobody waits for a box: the reason goes where the
// session's messages go, and the default skin stands in.
void TellRefusedStartSkin(const std::string& whyNot) {
    std::fprintf(stderr, "tikora: %s\n", whyNot.c_str());
    std::fflush(stderr);
}

}  // namespace tikora
