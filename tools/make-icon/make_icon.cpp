// SPDX-License-Identifier: MIT
// tikora-make-icon: draws the program's icon, a clock face with the Internet Time "@", at the sizes
// the About window, the desktop entry and the Windows icon (src/resources/tikora.ico) use.
//
//   tikora-make-icon FOLDER      writes FOLDER/tikora-16.png, tikora-32.png, tikora-48.png and
//                                tikora-256.png
//
// The Windows icon holds all four: convert tikora-{16,32,48,256}.png tikora.ico

#include <QGuiApplication>
#include <QImage>
#include <QPainter>
#include <QPainterPath>
#include <cmath>
#include <cstdio>
#include <numbers>

namespace {

const QColor kFace(38, 43, 52);   // the default skin's slate
const QColor kRim(255, 192, 46);  // amber
const QColor kInk(238, 241, 245);

QPointF OnCircle(QPointF centre, double radius, double turns) {
    const double angle = turns * 2 * std::numbers::pi - std::numbers::pi / 2;
    return centre + QPointF(radius * std::cos(angle), radius * std::sin(angle));
}

QImage DrawIcon(int size) {
    QImage icon(size, size, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    const double unit = size / 32.0;
    const QPointF centre(size / 2.0, size / 2.0);
    painter.setPen(QPen(kRim, 2.4 * unit));
    painter.setBrush(kFace);
    painter.drawEllipse(centre, 14.2 * unit, 14.2 * unit);
    // Hour ticks at 12, 3, 6 and 9.
    painter.setPen(QPen(kInk, 1.6 * unit, Qt::SolidLine, Qt::RoundCap));
    for (int quarter = 0; quarter < 4; ++quarter) {
        painter.drawLine(OnCircle(centre, 9.8 * unit, quarter / 4.0),
                         OnCircle(centre, 11.6 * unit, quarter / 4.0));
    }
    // The hands at ten past ten, the watchmakers' smile.
    painter.setPen(QPen(kInk, 2.2 * unit, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, OnCircle(centre, 6.5 * unit, 10.2 / 12));
    painter.setPen(QPen(kRim, 1.6 * unit, Qt::SolidLine, Qt::RoundCap));
    painter.drawLine(centre, OnCircle(centre, 9.0 * unit, 2.0 / 12));
    painter.setPen(Qt::NoPen);
    painter.setBrush(kRim);
    painter.drawEllipse(centre, 1.5 * unit, 1.5 * unit);
    return icon;
}

// At 16 pixels the drawing is made for the pixel grid: the ticks and the hands are whole pixels
// (the hands at a quarter past twelve, along the grid), only the rim is smoothed.
QImage DrawSmallIcon() {
    QImage icon(16, 16, QImage::Format_ARGB32_Premultiplied);
    icon.fill(Qt::transparent);
    QPainter painter(&icon);
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(QPen(kRim, 1.5));
    painter.setBrush(kFace);
    painter.drawEllipse(QPointF(8, 8), 7.0, 7.0);
    painter.setRenderHint(QPainter::Antialiasing, false);
    for (const QRect tick :
         {QRect(7, 2, 2, 1), QRect(7, 13, 2, 1), QRect(2, 7, 1, 2), QRect(13, 7, 1, 2)}) {
        painter.fillRect(tick, kInk);
    }
    painter.fillRect(QRect(7, 7, 5, 2), kInk);  // the hour hand, towards three
    painter.fillRect(QRect(7, 4, 2, 5), kRim);  // the minute hand, up
    return icon;
}

}  // namespace

int main(int argc, char* argv[]) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication application(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: tikora-make-icon FOLDER\n");
        return 2;
    }
    const QString folder = QString::fromLocal8Bit(argv[1]);
    for (const int size : {16, 32, 48, 256}) {
        const QString path = QStringLiteral("%1/tikora-%2.png").arg(folder).arg(size);
        if (!(size == 16 ? DrawSmallIcon() : DrawIcon(size)).save(path, "PNG")) {
            std::fprintf(stderr, "tikora-make-icon: can't write %s\n", qPrintable(path));
            return 1;
        }
    }
    return 0;
}
