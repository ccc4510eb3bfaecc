#include "platform/services.h"
#include "posix/modRegistry.h"
#include "qt/frmMenu.h"
#include "qt/modMain.h"
#include "shared/modDefs.h"

namespace tikora {
namespace {

const std::string kSettingsKey = "Software\\Vardo Software\\Tikora";
const std::string kSkinsKey = kSettingsKey + "\\Skins";

std::string ProgramFolder() {
    return Platform().programFolder();
}

void UseDefaultSkin() {
    SkinSettings.CurrentSkinFile = SkinSettings.DefaultSkinFile;
    SkinSettings.CurrentSkinPath = SkinSettings.DefaultSkinPath;
}

}  // namespace

void LoadSettings() {
    SkinSettings.DefaultSkinFile = "Zefro.ini";
    SkinSettings.DefaultSkinPath = ProgramFolder() + "/Skins/Zefro";
    SkinSettings.CurrentSkinFile = ReadRegString(kCurrentUser, kSkinsKey, "CurrentSkinFile");
    SkinSettings.CurrentSkinPath = ReadRegString(kCurrentUser, kSkinsKey, "CurrentSkinPath");
    if (SkinSettings.CurrentSkinPath.empty() || SkinSettings.CurrentSkinFile.empty()) {
        UseDefaultSkin();
    }
    // A stored skin counts only when a copy of the program in this very folder saved it.
    const std::string savedBy = ReadRegString(kCurrentUser, kSettingsKey, "ProgramPath");
    if (savedBy.empty() || savedBy != ProgramFolder()) {
        UseDefaultSkin();
    }
    const std::string beatTime = ReadRegString(kCurrentUser, kSettingsKey, "BeatTime");
    if (beatTime == "True") {
        ClockSettings.BeatTime = true;
        frmMenu->mnuBeat->setChecked(true);
    } else if (beatTime.empty() || beatTime == "False") {
        ClockSettings.BeatTime = false;
        frmMenu->mnuBeat->setChecked(false);
    }
    // Anything else leaves the start-up default and the menu's design-time check mark.
}

void SaveSettings() {
    WriteRegString(kCurrentUser, kSettingsKey, "ProgramPath", ProgramFolder());
    WriteRegString(kCurrentUser, kSkinsKey, "CurrentSkinPath", SkinSettings.CurrentSkinPath);
    WriteRegString(kCurrentUser, kSkinsKey, "CurrentSkinFile", SkinSettings.CurrentSkinFile);
    WriteRegString(kCurrentUser, kSkinsKey, "DefaultSkinPath", SkinSettings.DefaultSkinPath);
    WriteRegString(kCurrentUser, kSkinsKey, "DefaultSkinFile", SkinSettings.DefaultSkinFile);
    WriteRegString(kCurrentUser, kSettingsKey, "BeatTime",
                   ClockSettings.BeatTime ? "True" : "False");
}

}  // namespace tikora
