#include <QApplication>

#include "clock/frmMain.h"
#include "platform/services.h"

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    tikora::InstallSystemServices();
    // Creating the clock window runs the whole start-up; it is shown once that has returned.
    tikora::frmMain->show();
    return QApplication::exec();
}
