// SPDX-License-Identifier: MIT
// tikora-preview: renders one tick of a skin to a PNG, through the clock window's own code, for
// the people who make skins.

#include <QApplication>
#include <QImage>
#include <filesystem>
#include <iostream>

#include "modules/face_picture.h"
#include "modules/modMain.h"
#include "modules/modSkins.h"
#include "platform/program_folder.h"
#include "platform/services.h"
#include "posix/system_time_source.h"
#include "posix/system_time_zone.h"
#include "preview_options.h"
#include "qt/frmMain.h"
#include "shared/modDefs.h"

namespace tikora {
namespace {

int Render(const PreviewOptions& options) {
    const SystemTimeZone zone;
    const SystemTimeSource systemTime;
    const PreviewTime time(systemTime, options.secondsSinceMidnight);
    // The preview never reads or writes anybody's settings.
    // Nor does it dock anywhere: no window finder and no tray. Nor may it set the clock.
    const RefusingClockSetter noClock;
    const ScopedServices services(
        Services{&time, &zone, RunningProgramFolder, [] { return std::string(); },
                 [] { return std::string(); }, nullptr, nullptr, &noClock});
    // The one line on standard error says why a skin failed, the missing image included: no box.
    SetErrorBoxHook([](const std::string&, const std::string&) {});

    InitScreenMetrics();
    ClockSettings.BeatTime = options.beat;
    ClockWindow clock;
    clock.resize(options.width, options.height);
    clock.picBuffer.SetSize(options.width, options.height);

    const std::filesystem::path ini = std::filesystem::absolute(options.skinIni);
    std::string whyNot;
    if (!LoadSkinInto(clock, ini.parent_path().string(), ini.filename().string(), &whyNot)) {
        std::cerr << "tikora-preview: " << whyNot << "\n";
        return 1;
    }
    // What the clock window of this size shows, in the screen's device pixels.
    const qreal ratio = clock.devicePixelRatioF();
    FacePainter painter;
    const PixelBuffer picture = ClockPicture(
        clock, painter,
        {static_cast<int>(options.width * ratio), static_cast<int>(options.height * ratio), ratio});
    const QImage frame(reinterpret_cast<const uchar*>(picture.Data()), picture.Width(),
                       picture.Height(), picture.BytesPerLine(), QImage::Format_RGB32);
    if (!frame.save(QString::fromStdString(options.output), "PNG")) {
        std::cerr << "tikora-preview: can't write " << options.output << "\n";
        return 1;
    }
    return 0;
}

}  // namespace
}  // namespace tikora

int main(int argc, char* argv[]) {
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    std::string error;
    const std::optional<tikora::PreviewOptions> options =
        tikora::ParsePreviewArguments(arguments, error);
    if (!options) {
        std::cerr << "tikora-preview: " << error << "\n" << tikora::kPreviewUsage << "\n";
        return 2;
    }
    // No display is needed: the clock is drawn on Qt's offscreen platform at 96 dots per inch.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Standard error carries the one line that says why a skin failed; Qt's own notes stay out.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    QApplication application(argc, argv);
    return tikora::Render(*options);
}
