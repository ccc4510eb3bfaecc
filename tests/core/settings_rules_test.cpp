// SPDX-License-Identifier: MIT
#include <gtest/gtest.h>

#include <map>

#include "settings/settings_rules.h"

namespace tikora {
namespace {

// Names compare exactly, so a value read under another name than it is written under shows.
struct FakeStore final : SettingsStore {
    std::map<std::string, std::string> texts;  // by "key|name"
    std::string ReadText(const std::string& key, const std::string& name) const override {
        return texts.contains(key + '|' + name) ? texts.at(key + '|' + name) : "";
    }
    SettingsWriteFailure Write(const std::vector<SettingsValue>& values) override {
        for (const auto& [key, name, text] : values) {
            texts[key + '|' + name] = text;
        }
        return std::nullopt;
    }
};

// The default skin lies below the program folder, a root folder doubling the separator.
TEST(SettingsRules, TheStoredSkinCountsOnlyWholeAndSavedFromThisVeryFolder) {
    // ProgramPath, skin folder, skin file as saved; whether a run in /opt/tikora uses them.
    const std::tuple<const char*, const char*, const char*, bool> cases[] = {
        {"/opt/tikora", "/s/\"Q\" Zürich", "Zü.ini", true},
        {"/opt/tikora", "/s", "", false},
        {"/opt/tikora", "", "s.ini", false},
        {"", "/s", "s.ini", false},
        {"/opt/Tikora", "/s", "s.ini", false},
        {"/opt/tikora/", "/s", "s.ini", false}};
    for (const auto& [programPath, folder, file, used] : cases) {
        FakeStore store;
        store.Write(SettingsValues({programPath, SkinChoice{folder, file}, "/d", "D.ini"}));
        const LoadedSettings loaded = ReadSettings(store, "/opt/tikora");
        EXPECT_EQ(loaded.CurrentSkinPath, used ? folder : "/opt/tikora/Skins/Zefro") << programPath;
        EXPECT_EQ(loaded.CurrentSkinFile, used ? file : "Zefro.ini") << programPath << folder;
        EXPECT_EQ(loaded.BeatTime, false);  // as saved
    }
    FakeStore store;  // an empty ProgramPath matches nothing, not even an empty program folder
    store.Write(SettingsValues({"", SkinChoice{"/s", "s.ini"}, "/d", "D.ini"}));
    EXPECT_EQ(ReadSettings(store, "").CurrentSkinPath, "/Skins/Zefro");
    // A save writes only what its run changed: without a choice of the user's, a save from
    // another folder keeps the stored skin whole; without any change it writes nothing.
    EXPECT_TRUE(SettingsValues({"/elsewhere", std::nullopt, "/e", "E.ini"}).empty());
    store.Write(SettingsValues({"/elsewhere", std::nullopt, "/e", "E.ini", true}));
    EXPECT_EQ(ReadSettings(store, "").CurrentSkinPath, "/Skins/Zefro");
    EXPECT_EQ(ReadSettings(store, "").BeatTime, true);
    EXPECT_EQ(
        store.ReadText(kSkinsKey, "CurrentSkinPath") + store.ReadText(kSkinsKey, "DefaultSkinPath"),
        "/s/e");
    EXPECT_EQ(ReadSettings(FakeStore(), "/").DefaultSkinPath, "//Skins/Zefro");
    EXPECT_EQ(ReadSettings(FakeStore(), "C:\\", '\\').DefaultSkinPath, "C:\\\\Skins\\Zefro");
}

// Nothing but "True" and "False" (or nothing at all) decides.
TEST(SettingsRules, TheStoredModeIsReadExactly) {
    const std::pair<const char*, std::optional<bool>> cases[] = {
        {"True", true}, {"False", false}, {"", false}, {"true", {}}, {"True ", {}}, {"1", {}}};
    for (const auto& [text, mode] : cases) {
        FakeStore store;
        store.texts[std::string(kSettingsKey) + "|BeatTime"] = text;
        EXPECT_EQ(ReadSettings(store, "/p").BeatTime, mode) << text;
    }
}

}  // namespace
}  // namespace tikora
