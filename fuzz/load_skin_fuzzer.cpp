// A whole skin load on a fuzzed skin folder: the input is the INI file's bytes, then kSeparator,
// then the image file's bytes. Both are written into a temporary folder (the image under the name
// the INI's Main gives it, when that is a plain file name), the skin is loaded into a fresh clock
// window on Qt's offscreen platform, and the clock ticks once.
//
// Besides the sanitizers, a load must tell the truth: a failed one says why and leaves the look of
// the clock as it was; a successful one leaves sizes a screen can hold.

#include <fcntl.h>
#include <stdlib.h>
#include <unistd.h>

#include <QApplication>
#include <algorithm>
#include <cmath>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/services.h"
#include "qt/frmMain.h"
#include "qt/modMain.h"
#include "qt/modSkins.h"
#include "shared/modDefs.h"
#include "skins/profile_file.h"

namespace {

using namespace tikora;

constexpr std::string_view kSeparator = "\n@@TIKORA-IMAGE@@\n";
constexpr std::string_view kIniName = "skin.ini";
constexpr std::string_view kFallbackImageName = "strip.png";

void Require(bool condition) {
    if (!condition) {
        std::abort();
    }
}

class FixedTime final : public TimeSource {
  public:
    LocalTime Now() const override {
        LocalTime now;
        now.hour = 12;
        now.minute = 34;
        now.second = 56;
        return now;
    }
};

class FixedZone final : public TimeZoneSource {
  public:
    TimeZoneReading Read() const override { return {{-60, 0, -60}, kZoneStandardTime}; }
};

struct World {
    std::string folder;
    std::vector<std::string> written;
    std::vector<std::string> shownErrors;
    FixedTime time;
    FixedZone zone;
    RefusingClockSetter noClock;
};

World* world = nullptr;

void WriteFile(const std::string& name, std::string_view bytes) {
    const std::string path = world->folder + "/" + name;
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0600);
    Require(fd >= 0);
    while (!bytes.empty()) {
        const ssize_t done = write(fd, bytes.data(), bytes.size());
        Require(done > 0);
        bytes.remove_prefix(static_cast<std::size_t>(done));
    }
    close(fd);
    world->written.push_back(path);
}

// The name the loader will look for, as it reads it, when it is a plain name in the folder.
std::string ImageName(std::string_view ini) {
    std::string main =
        GetProfileString(ProfileFile::Parse(ini), "Image Files", "Main", kFallbackImageName);
    main.resize(std::min(main.find('\0'), main.size()));
    main.erase(0, std::min(main.find_first_not_of(' '), main.size()));
    std::replace(main.begin(), main.end(), '\\', '/');
    if (main.empty() || main.size() > 64 || main == "." || main == ".." ||
        main.find('/') != std::string::npos) {
        return std::string(kFallbackImageName);
    }
    return main;
}

struct Look {
    int stripWidth, stripHeight;
    std::uint32_t fore, back;
    std::string font;
    float fontSize, charWidth, charHeight, sepWidth;

    static Look Of(const ClockWindow& clock) {
        return {clock.picSkin.picture.Width(), clock.picSkin.picture.Height(),
                clock.picBuffer.ForeColor,     clock.picBuffer.BackColor,
                clock.picBuffer.FontName,      clock.picBuffer.FontSize,
                SkinSettings.CharWidth,        SkinSettings.CharHeight,
                SkinSettings.SepWidth};
    }
    bool operator==(const Look&) const = default;
};

bool SizeOnScreen(float size) {
    return std::isfinite(size) && size >= 0 && size <= 4096;
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 1);
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
    static QApplication application(*argc, *argv);
    world = new World;
    std::string pattern = std::string(P_tmpdir) + "/tikora-fuzz-skin-XXXXXX";
    Require(mkdtemp(pattern.data()) != nullptr);
    world->folder = pattern;
    static const ScopedServices services(Services{
        &world->time, &world->zone, [] { return world->folder; }, [] { return std::string(); },
        [] { return std::string(); }, nullptr, nullptr, &world->noClock});
    SetErrorBoxHook([](const std::string&, const std::string& message) {
        world->shownErrors.push_back(message);
    });
    InitScreenMetrics();
    // The folder goes when the run ends, however it ends short of a crash.
    std::atexit([] {
        for (const std::string& path : world->written) {
            unlink(path.c_str());
        }
        rmdir(world->folder.c_str());
    });
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(data), size);
    const std::size_t split = input.find(kSeparator);
    const std::string_view ini = input.substr(0, split);
    const std::string_view image = split == std::string_view::npos
                                       ? std::string_view()
                                       : input.substr(split + kSeparator.size());

    for (const std::string& path : world->written) {
        unlink(path.c_str());
    }
    world->written.clear();
    world->shownErrors.clear();
    WriteFile(std::string(kIniName), ini);
    const std::string imageName = ImageName(ini);
    if (split != std::string_view::npos && imageName != kIniName) {
        WriteFile(imageName, image);
    }

    ResetSharedState();
    InitScreenMetrics();
    ClockSettings.BeatTime = image.size() % 2 == 0;
    ClockWindow clock;
    const Look before = Look::Of(clock);
    std::string whyNot;
    const bool loaded = LoadSkinInto(clock, world->folder, std::string(kIniName), &whyNot);

    Require(SkinSettings.CurrentSkinPath == world->folder);
    Require(SkinSettings.CurrentSkinFile == kIniName);
    Require(world->shownErrors.size() <= 1);
    if (loaded) {
        Require(whyNot.empty() && world->shownErrors.empty());
        Require(!clock.picSkin.picture.Empty());
        Require(SizeOnScreen(SkinSettings.CharWidth) && SizeOnScreen(SkinSettings.CharHeight) &&
                SizeOnScreen(SkinSettings.SepWidth) && SizeOnScreen(clock.picBuffer.FontSize));
    } else {
        Require(!whyNot.empty());
        Require(Look::Of(clock) == before);
    }
    clock.tmrClock_Timer();
    return 0;
}
