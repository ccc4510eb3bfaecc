// SPDX-License-Identifier: MIT
#include "modules/modSkins.h"

#include <algorithm>

#include "clock/clock_text.h"
#include "frmMain.h"
#include "modules/modMain.h"
#include "platform/program_folder.h"
#include "platform/system_files.h"
#include "platform/text_painter.h"
#include "shared/modDefs.h"
#include "skins/skin_reader.h"

namespace tikora {
namespace {

// The widest face a skin may show: the narrowest screen the clock is made for, 640 pixels, less
// a tray's room round the clock.
constexpr double kMaxFaceWidth = 600;

// A text skin's wider face in its font, as the clock measures it, in pixels; the font and the
// separator decide, which the skin file alone does not tell.
double WidestTextFace(const SkinLook& look, const std::string& separator) {
    TextPainter painter;
    const int twipsPerPixel = DockState.TwipsPerPixelY > 0 ? DockState.TwipsPerPixelY : 15;
    const FontSpec font{look.font, look.fontSize, 1440 / twipsPerPixel};
    OneCharText shown;
    shown = separator;
    return std::max(painter.Measure(TimeText(0, 0, shown), font).width,
                    painter.Measure(BeatText(0), font).width);
}

void Apply(ClockWindow& clock, SkinLook look) {
    clock.picSkin.picture = std::move(look.strip);
    SkinSettings.CharWidth = look.sizes.charWidth;
    SkinSettings.CharHeight = look.sizes.charHeight;
    SkinSettings.SepWidth = look.sizes.sepWidth;
    clock.picBuffer.ForeColor = look.textColor;
    clock.picBuffer.BackColor = look.backColor;
    clock.SetBackColor(look.backColor);
    clock.picBuffer.FontName = std::move(look.font);
    clock.picBuffer.FontSize = look.fontSize;
}

std::string SkinFilePath(const std::string& folder, const std::string& file) {
    return folder + kPathSeparator + file;
}

}  // namespace

std::string ReadSkinValue(const std::string& section, const std::string& key) {
    return SkinFile(SystemFileAccess(),
                    SkinFilePath(SkinSettings.CurrentSkinPath, SkinSettings.CurrentSkinFile))
        .Value(section, key);
}

bool LoadSkin(std::string folder, std::string file) {
    return LoadSkinInto(frmMain.Get(), std::move(folder), std::move(file));
}

bool LoadStartSkin(const std::string& folder, const std::string& file) {
    std::string whyNot;
    if (LoadSkinInto(frmMain.Get(), folder, file, &whyNot)) {
        return true;
    }
    // A skin whose file is gone (on a drive not mounted yet) gives way without a word.
    if (whyNot != kImageNotFoundMessage && FileExists(SkinFilePath(folder, file))) {
        TellRefusedStartSkin(whyNot);
    }
    return false;
}

void ChangeToChosenSkin(const std::string& folder, const std::string& file) {
    const SkinSettingsRecord before = SkinSettings;
    std::string whyNot;
    if (LoadSkinInto(frmMain.Get(), folder, file, &whyNot)) {
        SaveSkinChoice();
    } else if (whyNot != kImageNotFoundMessage) {
        // The refused load has touched nothing but these fields: the skin before is whole again.
        SkinSettings = before;
        ShowError(whyNot, false);
    } else if (!LoadSkin(SkinSettings.DefaultSkinPath, SkinSettings.DefaultSkinFile)) {
        LoadSkin(before.CurrentSkinPath, before.CurrentSkinFile);
    }
}

bool LoadSkinInto(ClockWindow& clock, std::string folder, std::string file, std::string* whyNot) {
    // The caller may pass the SkinSettings fields themselves: the reading works on copies.
    SkinSettings.CurrentSkinFile = file;
    SkinSettings.CurrentSkinPath = folder;
    SkinReading reading = ReadSkin(SystemFileAccess(), folder, file);
    if (reading.general) {
        SkinSettings.DisplayImage = reading.general->displayImage;
        SkinSettings.Separator = reading.general->separator;
    }
    if (reading.refusal == SkinRefusal::kImageNotFound) {
        ShowError(reading.whyNot, false);
    }
    if (reading.look && !reading.general->displayImage &&
        WidestTextFace(*reading.look, reading.general->separator) > kMaxFaceWidth) {
        reading.look.reset();
        reading.whyNot = "the text is wider than 600 pixels in this font";
    }
    if (!reading.look) {
        if (whyNot != nullptr) {
            *whyNot = reading.refusal == SkinRefusal::kImageNotFound
                          ? std::move(reading.whyNot)
                          : SkinFilePath(folder, file) + ": " + reading.whyNot;
        }
        return false;
    }
    Apply(clock, std::move(*reading.look));
    return true;
}

}  // namespace tikora
