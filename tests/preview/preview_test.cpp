// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <cstdlib>
#include <utility>

namespace tikora {
namespace {

const QString kSkins = QStringLiteral(TIKORA_SOURCE_DIR "/Skins/");

QStringList ShippedSkins() {
    return QDir(kSkins).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
}

QString IniOf(const QString& name) {
    return kSkins + name + QLatin1Char('/') + name + QStringLiteral(".ini");
}

// The skin's own picture of one tick as the preview tool draws it for a skin author, or a null
// image when the tool failed. In UTC, so that Internet Time never depends on the day's daylight
// saving, on a screen scaled by `scale`.
QImage Tick(const QString& name, const QString& options, const QString& file,
            const QString& scale = QStringLiteral("1")) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    environment.insert(QStringLiteral("QT_SCALE_FACTOR"), scale);
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TIKORA_PREVIEW),
                  options.split(u' ') << QStringLiteral("-o") << file << IniOf(name));
    const bool drawn = process.waitForFinished(30000) &&
                       process.exitStatus() == QProcess::NormalExit && process.exitCode() == 0;
    return drawn ? QImage(file).convertToFormat(QImage::Format_RGB32) : QImage();
}

// Every pixel that differs from the top-left one, the background.
QRect InkOf(const QImage& image) {
    QRect ink;
    for (int y = 0; y < image.height(); ++y) {
        for (int x = 0; x < image.width(); ++x) {
            if (image.pixel(x, y) != image.pixel(0, 0)) {
                ink |= QRect(x, y, 1, 1);
            }
        }
    }
    return ink;
}

// Every shipped skin keeps its look, at the size asked for, unless its golden picture is renewed
// on purpose (tests/data/golden/update).
TEST(Preview, EveryShippedSkinDrawsAsItsGoldenPicture) {
    const QStringList names = ShippedSkins();
    ASSERT_GE(names.size(), 4);
    QTemporaryDir out;
    for (const QString& name : names) {
        // The one-line face, and the compact face of a tray's square slot.
        const std::pair<QString, QString> modes[] = {
            {QStringLiteral("time"), QStringLiteral("--size 80x24")},
            {QStringLiteral("beat"), QStringLiteral("--size 80x24 --beat")},
            {QStringLiteral("compact"), QStringLiteral("--size 24x24")},
            {QStringLiteral("compact-beat"), QStringLiteral("--size 32x32 --beat")}};
        for (const auto& [mode, size] : modes) {
            SCOPED_TRACE((name + QLatin1Char(' ') + mode).toStdString());
            const QString options = size + QStringLiteral(" --at 12:34:56");
            const QImage shown = Tick(name, options, out.filePath(name + mode + ".png"));
            ASSERT_FALSE(shown.isNull());
            const QImage golden(QStringLiteral(TIKORA_SOURCE_DIR "/tests/data/golden/%1-%2.png")
                                    .arg(name.toLower(), mode));
            ASSERT_FALSE(golden.isNull()) << "no golden picture for this skin";
            EXPECT_TRUE(shown == golden.convertToFormat(QImage::Format_RGB32));
        }
    }
}

// In a 22-pixel panel's 60 x 22 slot, the time of every image skin sits in the middle within half
// a pixel, and keeps three pixels clear of every edge. The times begin and end with the same
// digit, so that a skin whose cells centre their digits draws symmetric ink. (A text skin is
// placed by the text layout and its font, not by its strip.)
TEST(Preview, ImageSkinsCentreTheTimeInAPanelSlotWithRoomAround) {
    QTemporaryDir out;
    for (const QString& name : ShippedSkins()) {
        QFile ini(IniOf(name));
        ASSERT_TRUE(ini.open(QIODevice::ReadOnly));
        if (!ini.readAll().contains("DisplayImage=True")) {
            continue;
        }
        for (const char* at : {"10:01:00", "20:02:00", "05:50:00 --beat"}) {
            SCOPED_TRACE((name + QLatin1Char(' ') + at).toStdString());
            const QString options = QStringLiteral("--size 60x22 --at ") + at;
            const QRect ink = InkOf(Tick(name, options, out.filePath(name + ".png")));
            ASSERT_FALSE(ink.isEmpty());
            EXPECT_LE(std::abs(ink.left() + ink.right() + 1 - 60), 1) << ink.left();
            EXPECT_LE(std::abs(ink.top() + ink.bottom() + 1 - 22), 1) << ink.top();
            EXPECT_TRUE(QRect(3, 3, 54, 16).contains(ink));
        }
    }
}

// On a scaled screen a strip's pixels become sharp squares of a whole number of device pixels,
// never smoothed or uneven (at 250 %, 2 x 2 in the middle of the window, as large as fits), while
// a text skin is drawn anew at the screen's resolution: twice the size at 200 %, not its pixels
// doubled.
TEST(Preview, ScaledScreensShowStripPixelsSharpAndTextAtTheirResolution) {
    QTemporaryDir out;
    const QString options = QStringLiteral("--size 60x22 --at 12:34:56");
    const QString one = out.filePath(QStringLiteral("1.png"));
    const QString scaled = out.filePath(QStringLiteral("scaled.png"));

    const QImage strip = Tick(QStringLiteral("Segment"), options, one);
    const QImage stripScaled = Tick(QStringLiteral("Segment"), options, scaled, "2.5");
    ASSERT_EQ(stripScaled.size(), QSize(150, 55));
    EXPECT_TRUE(stripScaled.copy(15, 5, 120, 44) == strip.scaled(strip.size() * 2));

    const QImage text = Tick(QStringLiteral("Plain"), options, one);
    const QImage textScaled = Tick(QStringLiteral("Plain"), options, scaled, "2");
    ASSERT_EQ(textScaled.size(), QSize(120, 44));
    // Not made of 2 x 2 squares: halving and doubling would give it back.
    EXPECT_FALSE(textScaled.scaled(text.size()).scaled(textScaled.size()) == textScaled);
    EXPECT_NEAR(InkOf(textScaled).width(), 2 * InkOf(text).width(), 8);
}

}  // namespace
}  // namespace tikora
