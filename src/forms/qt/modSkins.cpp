#include "qt/modSkins.h"

#include "posix/system_files.h"
#include "qt/frmMain.h"
#include "qt/modMain.h"
#include "shared/modDefs.h"
#include "skins/skin_reader.h"

namespace tikora {
namespace {

const FileAccess& Files() {
    static const SystemFiles files;
    return files;
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

}  // namespace

std::string ReadSkinValue(const std::string& section, const std::string& key) {
    return SkinFile(Files(), SkinSettings.CurrentSkinPath + "/" + SkinSettings.CurrentSkinFile)
        .Value(section, key);
}

bool LoadSkin(std::string folder, std::string file) {
    return LoadSkinInto(frmMain.Get(), std::move(folder), std::move(file));
}

bool LoadSkinInto(ClockWindow& clock, std::string folder, std::string file, std::string* whyNot) {
    // The caller may pass the SkinSettings fields themselves: the reading works on copies.
    SkinSettings.CurrentSkinFile = file;
    SkinSettings.CurrentSkinPath = folder;
    SkinReading reading = ReadSkin(Files(), folder, file);
    if (reading.general) {
        SkinSettings.DisplayImage = reading.general->displayImage;
        SkinSettings.Separator = reading.general->separator;
    }
    if (reading.refusal == SkinRefusal::kImageNotFound) {
        ShowError(reading.whyNot, false);
    }
    if (!reading.look) {
        if (whyNot != nullptr) {
            *whyNot = std::move(reading.whyNot);
        }
        return false;
    }
    Apply(clock, std::move(*reading.look));
    return true;
}

}  // namespace tikora
