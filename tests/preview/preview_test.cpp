#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <filesystem>
#include <fstream>

namespace tikora {
namespace {

struct ToolRun {
    int exitCode = -1;
    QString standardError;
};

// The preview tool as a skin author runs it, in UTC so that Internet Time never depends on the
// day's daylight saving.
ToolRun Preview(const QStringList& arguments) {
    QProcess process;
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QStringLiteral("TZ"), QStringLiteral("UTC"));
    process.setProcessEnvironment(environment);
    process.start(QStringLiteral(TIKORA_PREVIEW), arguments);
    if (!process.waitForFinished(30000)) {
        process.kill();
        return {};
    }
    return {process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1,
            QString::fromUtf8(process.readAllStandardError())};
}

QString Skin(const QString& name) {
    return QStringLiteral(TIKORA_SOURCE_DIR "/Skins/%1/%1.ini").arg(name);
}

int DifferingPixels(const QImage& a, const QImage& b) {
    if (a.size() != b.size()) {
        return a.width() * a.height() + 1;
    }
    int differing = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            differing += a.pixel(x, y) != b.pixel(x, y);
        }
    }
    return differing;
}

// Every shipped skin keeps its look unless its golden picture is renewed on purpose
// (tests/data/golden/update).
TEST(PreviewGolden, EveryShippedSkinDrawsAsItsGoldenPicture) {
    const QDir skins(QStringLiteral(TIKORA_SOURCE_DIR "/Skins"));
    const QStringList names = skins.entryList(QDir::Dirs | QDir::NoDotAndDotDot);
    ASSERT_GE(names.size(), 4);
    QTemporaryDir out;
    for (const QString& name : names) {
        for (const bool beat : {false, true}) {
            const QString mode = beat ? QStringLiteral("beat") : QStringLiteral("time");
            SCOPED_TRACE((name + QLatin1Char(' ') + mode).toStdString());
            const QString rendered = out.filePath(name + mode + QStringLiteral(".png"));
            QStringList arguments{Skin(name),
                                  QStringLiteral("--size"),
                                  QStringLiteral("80x24"),
                                  QStringLiteral("--at"),
                                  QStringLiteral("12:34:56"),
                                  QStringLiteral("-o"),
                                  rendered};
            if (beat) {
                arguments << QStringLiteral("--beat");
            }
            ASSERT_EQ(Preview(arguments).exitCode, 0);
            const QImage golden(QStringLiteral(TIKORA_SOURCE_DIR "/tests/data/golden/%1-%2.png")
                                    .arg(name.toLower(), mode));
            ASSERT_FALSE(golden.isNull()) << "no golden picture for this skin";
            EXPECT_EQ(DifferingPixels(QImage(rendered).convertToFormat(QImage::Format_RGB32),
                                      golden.convertToFormat(QImage::Format_RGB32)),
                      0);
        }
    }
}

TEST(Preview, WritesExactlyTheWindowSize) {
    QTemporaryDir out;
    const QString file = out.filePath(QStringLiteral("p.png"));
    ASSERT_EQ(Preview({Skin(QStringLiteral("Zefro")), QStringLiteral("--size"),
                       QStringLiteral("123x45"), QStringLiteral("-o"), file})
                  .exitCode,
              0);
    EXPECT_EQ(QImage(file).size(), QSize(123, 45));
}

struct UsageCase {
    const char* name;
    QStringList arguments;
};

class PreviewUsage : public ::testing::TestWithParam<UsageCase> {};

TEST_P(PreviewUsage, EndsWithTwoAndTheUsage) {
    const ToolRun run = Preview(GetParam().arguments);
    EXPECT_EQ(run.exitCode, 2);
    EXPECT_TRUE(run.standardError.contains(QStringLiteral("usage: tikora-preview SKIN_INI")));
}

INSTANTIATE_TEST_SUITE_P(
    Errors, PreviewUsage,
    ::testing::Values(
        UsageCase{"NoSkin", {}},
        UsageCase{
            "ZeroWidth",
            {Skin(QStringLiteral("Zefro")), QStringLiteral("--size"), QStringLiteral("0x24")}},
        UsageCase{"SizeWithoutX",
                  {Skin(QStringLiteral("Zefro")), QStringLiteral("--size"), QStringLiteral("80")}},
        UsageCase{
            "HourPastDay",
            {Skin(QStringLiteral("Zefro")), QStringLiteral("--at"), QStringLiteral("24:00:00")}},
        UsageCase{"MissingValue", {Skin(QStringLiteral("Zefro")), QStringLiteral("-o")}},
        UsageCase{"UnknownOption", {Skin(QStringLiteral("Zefro")), QStringLiteral("--colour")}},
        UsageCase{"TwoSkins", {Skin(QStringLiteral("Zefro")), Skin(QStringLiteral("Zefro"))}}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(Preview, BrokenSkinEndsWithOneAndOneLineSayingWhy) {
    QTemporaryDir folder;
    std::ofstream(folder.filePath(QStringLiteral("bad.ini")).toStdString())
        << "[General]\nDisplayImage=True\nSeparator=:\n[Image Files]\nMain=gone.png\n";
    const ToolRun run = Preview({folder.filePath(QStringLiteral("bad.ini")), QStringLiteral("-o"),
                                 folder.filePath(QStringLiteral("p.png"))});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.standardError,
              QStringLiteral("tikora-preview: Image file not found. Tikora will load the "
                             "default skin.\n"));
    EXPECT_FALSE(QFile::exists(folder.filePath(QStringLiteral("p.png"))));
}

TEST(Preview, MissingSkinFileEndsWithOne) {
    const ToolRun run = Preview({QStringLiteral("/nonexistent/skin.ini")});
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_EQ(run.standardError.count(QLatin1Char('\n')), 1);
}

}  // namespace
}  // namespace tikora
