// SPDX-License-Identifier: MIT
// tikora-bench-qt-floor: the least a Qt Widgets program of this build shows: one 60 x 22 window
// painted in two colours, and nothing else. Its peak memory is the floor under Tikora's in
// bench/measure-process: Qt's own libraries, as they load and start.

#include <QApplication>
#include <QPainter>
#include <QWidget>

namespace {

class TwoColours final : public QWidget {
  protected:
    void paintEvent(QPaintEvent*) override {
        QPainter painter(this);
        painter.fillRect(0, 0, width() / 2, height(), Qt::black);
        painter.fillRect(width() / 2, 0, width() - width() / 2, height(), Qt::white);
    }
};

}  // namespace

int main(int argc, char* argv[]) {
    QApplication application(argc, argv);
    TwoColours window;
    // Not the program's name, which Qt gives to a hidden window of its own.
    window.setWindowTitle(QStringLiteral("Qt floor"));
    window.resize(60, 22);
    window.show();
    return QApplication::exec();
}
