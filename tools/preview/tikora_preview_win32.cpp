// SPDX-License-Identifier: MIT
// tikora-preview on Windows: renders one tick of a skin to a PNG, through the clock window's own
// code, for the people who make skins.

#include <windows.h>

#include <stb/stb_image_write.h>

#include <filesystem>
#include <fstream>
#include <iostream>
#include <string>
#include <vector>

#include "modules/face_picture.h"
#include "modules/modMain.h"
#include "modules/modSkins.h"
#include "platform/services.h"
#include "preview_options.h"
#include "shared/modDefs.h"
#include "win32/frmMain.h"
#include "win32/system_services.h"
#include "win32/wide_text.h"

namespace tikora {
namespace {

// The frame as 8-bit red, green and blue, in PNG's byte order.
std::string PngOf(const PixelBuffer& frame) {
    std::vector<unsigned char> rgb;
    rgb.reserve(static_cast<std::size_t>(frame.Width()) * frame.Height() * 3);
    for (int y = 0; y < frame.Height(); ++y) {
        for (int x = 0; x < frame.Width(); ++x) {
            const Argb pixel = frame.Pixel(x, y);
            rgb.push_back(static_cast<unsigned char>(pixel >> 16));
            rgb.push_back(static_cast<unsigned char>(pixel >> 8));
            rgb.push_back(static_cast<unsigned char>(pixel));
        }
    }
    std::string png;
    const auto append = [](void* context, void* data, int size) {
        static_cast<std::string*>(context)->append(static_cast<const char*>(data),
                                                   static_cast<std::size_t>(size));
    };
    if (!stbi_write_png_to_func(append, &png, frame.Width(), frame.Height(), 3, rgb.data(),
                                frame.Width() * 3)) {
        png.clear();
    }
    return png;
}

bool WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream file(std::filesystem::path(Widen(path)), std::ios::binary);
    file.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    return !bytes.empty() && file.good();
}

int Render(const PreviewOptions& options) {
    InstallSystemServices();
    const Services system = Platform();
    const PreviewTime time(*system.time, options.secondsSinceMidnight);
    // The preview never reads or writes anybody's settings.
    // Nor does it dock anywhere: no window finder and no tray. Nor may it set the clock.
    const RefusingClockSetter noClock;
    const ScopedServices services(
        Services{&time, system.zone, system.programFolder, [] { return std::string(); },
                 [] { return std::string(); }, nullptr, nullptr, &noClock});
    // The one line on standard error says why a skin failed, the missing image included: no box.
    SetErrorBoxHook([](const std::string&, const std::string&) {});

    InitScreenMetrics();
    ClockSettings.BeatTime = options.beat;
    ClockWindow clock;
    if (clock.Handle() == nullptr) {
        std::cerr << "tikora-preview: can't make the clock's window (under Wine: no DISPLAY?)\n";
        return 1;
    }
    clock.Resize(options.width, options.height);
    clock.picBuffer.SetSize(options.width, options.height);

    const std::filesystem::path ini = std::filesystem::absolute(Widen(options.skinIni));
    std::string whyNot;
    if (!LoadSkinInto(clock, Narrow(ini.parent_path().wstring()), Narrow(ini.filename().wstring()),
                      &whyNot)) {
        std::cerr << "tikora-preview: " << whyNot << "\n";
        return 1;
    }
    // What the clock window of this size shows.
    FacePainter painter;
    if (!WriteFile(options.output,
                   PngOf(ClockPicture(clock, painter, {options.width, options.height, 1})))) {
        std::cerr << "tikora-preview: can't write " << options.output << "\n";
        return 1;
    }
    return 0;
}

}  // namespace
}  // namespace tikora

int wmain(int argc, wchar_t* argv[]) {
    std::vector<std::string> arguments;
    for (int i = 1; i < argc; ++i) {
        arguments.push_back(tikora::Narrow(argv[i]));
    }
    std::string error;
    const std::optional<tikora::PreviewOptions> options =
        tikora::ParsePreviewArguments(arguments, error);
    if (!options) {
        std::cerr << "tikora-preview: " << error << "\n" << tikora::kPreviewUsage << "\n";
        return 2;
    }
    return tikora::Render(*options);
}
