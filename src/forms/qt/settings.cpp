#include "common/registry_settings_store.h"
#include "platform/services.h"
#include "qt/frmMenu.h"
#include "qt/modMain.h"
#include "settings/settings_rules.h"
#include "shared/modDefs.h"

namespace tikora {

void LoadSettings() {
    const RegistrySettingsStore store;
    const LoadedSettings loaded = ReadSettings(store, Platform().programFolder());
    SkinSettings.CurrentSkinPath = loaded.CurrentSkinPath;
    SkinSettings.CurrentSkinFile = loaded.CurrentSkinFile;
    SkinSettings.DefaultSkinPath = loaded.DefaultSkinPath;
    SkinSettings.DefaultSkinFile = loaded.DefaultSkinFile;
    // A stored mode other than True or False leaves the start-up default and the initial check
    // mark.
    if (loaded.BeatTime) {
        ClockSettings.BeatTime = *loaded.BeatTime;
        frmMenu->mnuBeat->setChecked(*loaded.BeatTime);
    }
}

void SaveSettings() {
    RegistrySettingsStore store;
    // Nothing is said when the save fails: the values written before the failure stay written.
    static_cast<void>(store.Write(SettingsValues({
        .ProgramPath = Platform().programFolder(),
        .CurrentSkinPath = SkinSettings.CurrentSkinPath,
        .CurrentSkinFile = SkinSettings.CurrentSkinFile,
        .DefaultSkinPath = SkinSettings.DefaultSkinPath,
        .DefaultSkinFile = SkinSettings.DefaultSkinFile,
        .BeatTime = static_cast<bool>(ClockSettings.BeatTime),
    })));
}

}  // namespace tikora
