// SPDX-License-Identifier: MIT
#include "settings/settings_rules.h"

namespace tikora {

LoadedSettings ReadSettings(const SettingsStore& store, const std::string& programFolder,
                            char separator) {
    LoadedSettings loaded;
    loaded.DefaultSkinFile = "Zefro.ini";
    // A program in the root folder gets a doubled separator, which every file system accepts.
    loaded.DefaultSkinPath = programFolder + separator + "Skins" + separator + "Zefro";
    loaded.CurrentSkinFile = store.ReadText(kSkinsKey, "CurrentSkinFile");
    loaded.CurrentSkinPath = store.ReadText(kSkinsKey, "CurrentSkinPath");
    // A stored skin counts only when it is whole and a copy of the program in this very folder
    // saved it; an empty ProgramPath never matches.
    const std::string savedBy = store.ReadText(kSettingsKey, "ProgramPath");
    if (loaded.CurrentSkinPath.empty() || loaded.CurrentSkinFile.empty() || savedBy.empty() ||
        savedBy != programFolder) {
        loaded.CurrentSkinFile = loaded.DefaultSkinFile;
        loaded.CurrentSkinPath = loaded.DefaultSkinPath;
    }
    const std::string beatTime = store.ReadText(kSettingsKey, "BeatTime");
    if (beatTime == "True") {
        loaded.BeatTime = true;
    } else if (beatTime.empty() || beatTime == "False") {
        loaded.BeatTime = false;
    }
    return loaded;
}

std::vector<SettingsValue> SettingsValues(const SettingsToSave& settings) {
    if (!settings.chosenSkin && !settings.BeatTime) {
        return {};
    }
    std::vector<SettingsValue> values;
    if (settings.chosenSkin) {
        values = {{kSettingsKey, "ProgramPath", settings.ProgramPath},
                  {kSkinsKey, "CurrentSkinPath", settings.chosenSkin->path},
                  {kSkinsKey, "CurrentSkinFile", settings.chosenSkin->file}};
    }
    // Where this copy of the program keeps its default skin: no one's choice to undo.
    values.insert(values.end(), {{kSkinsKey, "DefaultSkinPath", settings.DefaultSkinPath},
                                 {kSkinsKey, "DefaultSkinFile", settings.DefaultSkinFile}});
    if (settings.BeatTime) {
        values.push_back({kSettingsKey, "BeatTime", *settings.BeatTime ? "True" : "False"});
    }
    return values;
}

}  // namespace tikora
