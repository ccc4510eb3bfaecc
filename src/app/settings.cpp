#include "app/modDefs.h"
#include "app/modMain.h"
#include "app/modRegistry.h"
#include "platform/services.h"
#include "ui/frmMenu.h"

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
    SkinSettings.CurrentSkinFile = ReadRegString(HKEY_CURRENT_USER, kSkinsKey, "CurrentSkinFile");
    SkinSettings.CurrentSkinPath = ReadRegString(HKEY_CURRENT_USER, kSkinsKey, "CurrentSkinPath");
    if (SkinSettings.CurrentSkinPath.empty() || SkinSettings.CurrentSkinFile.empty()) {
        UseDefaultSkin();
    }
    // A stored skin counts only when a copy of the program in this very folder saved it.
    const std::string savedBy = ReadRegString(HKEY_CURRENT_USER, kSettingsKey, "ProgramPath");
    if (savedBy.empty() || savedBy != ProgramFolder()) {
        UseDefaultSkin();
    }
    const std::string beatTime = ReadRegString(HKEY_CURRENT_USER, kSettingsKey, "BeatTime");
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
    WriteRegString(HKEY_CURRENT_USER, kSettingsKey, "ProgramPath", ProgramFolder());
    WriteRegString(HKEY_CURRENT_USER, kSkinsKey, "CurrentSkinPath", SkinSettings.CurrentSkinPath);
    WriteRegString(HKEY_CURRENT_USER, kSkinsKey, "CurrentSkinFile", SkinSettings.CurrentSkinFile);
    WriteRegString(HKEY_CURRENT_USER, kSkinsKey, "DefaultSkinPath", SkinSettings.DefaultSkinPath);
    WriteRegString(HKEY_CURRENT_USER, kSkinsKey, "DefaultSkinFile", SkinSettings.DefaultSkinFile);
    WriteRegString(HKEY_CURRENT_USER, kSettingsKey, "BeatTime",
                   ClockSettings.BeatTime ? "True" : "False");
}

}  // namespace tikora
