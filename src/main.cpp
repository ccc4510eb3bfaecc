#include <QApplication>

#include "qt/frmMain.h"
#include "qt/system_services.h"

int main(int argc, char* argv[]) {
    // The windows are small: each repaint goes over the X connection as it is, instead of through
    // a shared-memory segment whose completion event would wake the process twice more.
    if (qEnvironmentVariableIsEmpty("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    tikora::InstallSystemServices();
    // Creating the clock window runs the whole start-up; it is shown once that has returned.
    tikora::frmMain->show();
    return QApplication::exec();
}
