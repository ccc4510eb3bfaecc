// SPDX-License-Identifier: MIT
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "settings/settings_store.h"

namespace tikora {

// What the settings come to at start, for a program in `programFolder`.
struct LoadedSettings {
    std::string CurrentSkinPath;
    std::string CurrentSkinFile;
    std::string DefaultSkinPath;
    std::string DefaultSkinFile;
    // True or False as stored (nothing stored counts as False); nothing when the stored text is
    // any other, in which case the mode and the menu's check mark keep their start-up state.
    std::optional<bool> BeatTime;
};

// The default skin is "<programFolder>/Skins/Zefro/Zefro.ini", whatever is stored. The stored
// skin is used only when both its folder and its file name are stored and the stored ProgramPath
// is exactly `programFolder`: a copy of the program elsewhere (or the same folder spelled in
// other letter case) starts with the default skin. `separator` joins the folder names.
LoadedSettings ReadSettings(const SettingsStore& store, const std::string& programFolder,
                            char separator = '/');

// A skin's place: its folder and its skin file's name.
struct SkinChoice {
    std::string path;
    std::string file;
};

// What this run has changed and not stored yet: a save writes only that, so that two clocks of
// one user (two displays, one settings file) never undo each other's choices.
struct SettingsToSave {
    std::string ProgramPath;
    // The skin the user chose during this run. Nothing keeps the stored skin as it is: a skin the
    // program fell back to by itself never takes the place of the user's choice.
    std::optional<SkinChoice> chosenSkin;
    std::string DefaultSkinPath;
    std::string DefaultSkinFile;
    // The mode, when this run switched it away from what the store last held for it.
    std::optional<bool> BeatTime = std::nullopt;
};

// The values a save writes, in the order they are written: ProgramPath, CurrentSkinPath and
// CurrentSkinFile together or not at all (the folder tells whose choice the skin is), then the
// default skin and the mode. Nothing changed, nothing to write, not even the default skin.
std::vector<SettingsValue> SettingsValues(const SettingsToSave& settings);

}  // namespace tikora
