// SPDX-License-Identifier: MIT
#include <cstdio>
#include <optional>

#include "common/registry_settings_store.h"
#include "frmMenu.h"
#include "modules/modMain.h"
#include "platform/program_folder.h"
#include "platform/services.h"
#include "settings/settings_rules.h"
#include "shared/modDefs.h"

namespace tikora {
namespace {

// The skin the user chose during this run; none until the chooser loads one.
std::optional<SkinChoice>& ChosenSkin() {
    static std::optional<SkinChoice> choice;
    return choice;
}

// The mode as the store held it when this run last read or wrote it: a save writes the mode only
// when the user switched it away from that.
bool& StoredBeatTime() {
    static bool stored = false;
    return stored;
}

// A save before the settings were read (a signal that early) would put the start-up defaults in
// place of the user's values.
bool& SettingsRead() {
    static bool read = false;
    return read;
}

}  // namespace

void LoadSettings() {
    SettingsRead() = true;
    ChosenSkin().reset();
    const RegistrySettingsStore store;
    const LoadedSettings loaded = ReadSettings(store, Platform().programFolder(), kPathSeparator);
    SkinSettings.CurrentSkinPath = loaded.CurrentSkinPath;
    SkinSettings.CurrentSkinFile = loaded.CurrentSkinFile;
    SkinSettings.DefaultSkinPath = loaded.DefaultSkinPath;
    SkinSettings.DefaultSkinFile = loaded.DefaultSkinFile;
    // A stored mode other than True or False leaves the start-up default and the initial check
    // mark.
    if (loaded.BeatTime) {
        ClockSettings.BeatTime = *loaded.BeatTime;
        frmMenu->SetBeatChecked(*loaded.BeatTime);
    }
    StoredBeatTime() = ClockSettings.BeatTime;
}

bool SaveSettings(SaveFailureReport report) {
    if (!SettingsRead()) {
        return true;
    }
    const bool beatTime = ClockSettings.BeatTime;
    const bool saved = StoreSettings(
        SettingsValues({
            .ProgramPath = Platform().programFolder(),
            .chosenSkin = ChosenSkin(),
            .DefaultSkinPath = SkinSettings.DefaultSkinPath,
            .DefaultSkinFile = SkinSettings.DefaultSkinFile,
            .BeatTime = beatTime != StoredBeatTime() ? std::optional(beatTime) : std::nullopt,
        }),
        report);
    if (saved) {
        ChosenSkin().reset();
        StoredBeatTime() = beatTime;
    }
    return saved;
}

bool StoreSettings(const std::vector<SettingsValue>& values, SaveFailureReport report) {
    if (values.empty()) {
        return true;
    }
    const SettingsWriteFailure failure = RegistrySettingsStore().Write(values);
    if (!failure) {
        return true;
    }
    const std::string message = "Tikora can't save its settings: " + *failure;
    std::fprintf(stderr, "%s\n", message.c_str());
    std::fflush(stderr);
    if (report == SaveFailureReport::Box) {
        ShowError(message, false);
    }
    return false;
}

void SaveSkinChoice() {
    ChosenSkin() = SkinChoice{SkinSettings.CurrentSkinPath, SkinSettings.CurrentSkinFile};
    SaveSettings();
}

}  // namespace tikora
