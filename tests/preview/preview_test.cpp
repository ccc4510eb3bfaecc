#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>

namespace tikora {
namespace {

// The preview tool's exit code as a skin author runs it, in UTC so that Internet Time never
// depends on the day's daylight saving.
int Preview(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TIKORA_PREVIEW), arguments);
    const bool ended =
        process.waitForFinished(30000) && process.exitStatus() == QProcess::NormalExit;
    return ended ? process.exitCode() : -1;
}

const QString kSkins = QStringLiteral(TIKORA_SOURCE_DIR "/Skins/");

// Every shipped skin keeps its look, at the size asked for, unless its golden picture is renewed
// on purpose (tests/data/golden/update).
TEST(Preview, EveryShippedSkinDrawsAsItsGoldenPicture) {
    const QStringList names = QDir(kSkins).entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_GE(names.size(), 4);
    QTemporaryDir out;
    for (const QString& name : names) {
        for (const QString& mode : {QStringLiteral("time"), QStringLiteral("beat")}) {
            SCOPED_TRACE((name + QLatin1Char(' ') + mode).toStdString());
            const QString file = out.filePath(name + mode + QStringLiteral(".png"));
            QStringList arguments = QStringLiteral("--size 80x24 --at 12:34:56 -o").split(u' ');
            arguments << file << kSkins + name + QLatin1Char('/') + name + QStringLiteral(".ini");
            if (mode == QStringLiteral("beat")) {
                arguments << QStringLiteral("--beat");
            }
            ASSERT_EQ(Preview(arguments), 0);
            const QImage golden(QStringLiteral(TIKORA_SOURCE_DIR "/tests/data/golden/%1-%2.png")
                                    .arg(name.toLower(), mode));
            ASSERT_FALSE(golden.isNull()) << "no golden picture for this skin";
            EXPECT_TRUE(QImage(file).convertToFormat(QImage::Format_RGB32) ==
                        golden.convertToFormat(QImage::Format_RGB32));
        }
    }
}

}  // namespace
}  // namespace tikora
