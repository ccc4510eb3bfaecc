#include "forms/form_fixture.h"
#include "posix/modRegistry.h"
#include "qt/frmMenu.h"

namespace tikora::testing {
namespace {

const std::string kSettingsKey = "Software\\Vardo Software\\Tikora";
const std::string kSkinsKey = kSettingsKey + "\\Skins";

class SettingsTest : public FormTest {
  protected:
    ~SettingsTest() override { frmMenu.Unload(); }

    void Store(const std::string& key, const std::string& name, const std::string& text) {
        WriteRegString(kCurrentUser, key, name, text);
    }
    std::string Stored(const std::string& key, const std::string& name) {
        return ReadRegString(kCurrentUser, key, name);
    }
    void StoreSkin(const std::string& path, const std::string& file) {
        Store(kSettingsKey, "ProgramPath", programFolder_);
        Store(kSkinsKey, "CurrentSkinPath", path);
        Store(kSkinsKey, "CurrentSkinFile", file);
    }
    void ExpectDefaultSkinCurrent() {
        EXPECT_EQ(SkinSettings.DefaultSkinPath, programFolder_ + "/Skins/Zefro");
        EXPECT_EQ(SkinSettings.DefaultSkinFile, "Zefro.ini");
        EXPECT_EQ(SkinSettings.CurrentSkinPath, SkinSettings.DefaultSkinPath);
        EXPECT_EQ(SkinSettings.CurrentSkinFile, SkinSettings.DefaultSkinFile);
    }
};

TEST_F(SettingsTest, FirstRunUsesTheDefaultSkinAndHoursAndMinutes) {
    ClockSettings.BeatTime = true;
    LoadSettings();
    ExpectDefaultSkinCurrent();
    EXPECT_FALSE(ClockSettings.BeatTime);
    EXPECT_FALSE(frmMenu->mnuBeat->isChecked());
}

TEST_F(SettingsTest, StoredSkinFromThisFolderIsUsed) {
    StoreSkin("/skins/Neon", "Neon.ini");
    LoadSettings();
    EXPECT_EQ(SkinSettings.CurrentSkinPath, "/skins/Neon");
    EXPECT_EQ(SkinSettings.CurrentSkinFile, "Neon.ini");
}

TEST_F(SettingsTest, PathWithoutFileFallsBackToTheDefault) {
    StoreSkin("/skins/Neon", "");
    LoadSettings();
    ExpectDefaultSkinCurrent();
}

TEST_F(SettingsTest, SkinSavedFromAnotherFolderIsIgnored) {
    for (const std::string& elsewhere : {programFolder_ + "/old", std::string("/OTHER/Tikora")}) {
        StoreSkin("/skins/Neon", "Neon.ini");
        Store(kSettingsKey, "ProgramPath", elsewhere);
        LoadSettings();
        ExpectDefaultSkinCurrent();
    }
}

TEST_F(SettingsTest, SameFolderInOtherLetterCaseCountsAsMoved) {
    programFolder_ = "/opt/Tikora";
    StoreSkin("/skins/Neon", "Neon.ini");
    programFolder_ = "/opt/tikora";
    LoadSettings();
    ExpectDefaultSkinCurrent();
}

struct BeatCase {
    const char* name;
    const char* stored;
    bool beatTime;
};

class StoredBeatTime : public SettingsTest, public ::testing::WithParamInterface<BeatCase> {};

TEST_P(StoredBeatTime, SetsTheModeAndTheCheckMark) {
    ClockSettings.BeatTime = true;  // the start-up default
    Store(kSettingsKey, "BeatTime", GetParam().stored);
    LoadSettings();
    EXPECT_EQ(static_cast<bool>(ClockSettings.BeatTime), GetParam().beatTime);
    EXPECT_EQ(frmMenu->mnuBeat->isChecked(), GetParam().beatTime);
}

INSTANTIATE_TEST_SUITE_P(Values, StoredBeatTime,
                         ::testing::Values(BeatCase{"ExactlyTrue", "True", true},
                                           BeatCase{"ExactlyFalse", "False", false},
                                           BeatCase{"Empty", "", false},
                                           BeatCase{"OtherCaseKeepsDefault", "true", true},
                                           BeatCase{"AnythingElseKeepsDefault", "yes", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(SettingsTest, ExitWritesAllSixValuesAndTheNextStartFindsThem) {
    GTEST_FLAG_SET(death_test_style, "fast");  // the child shares this test's folders
    LoadSettings();
    EXPECT_EXIT(
        {
            SkinSettings.CurrentSkinPath = "/skins/\"Quoted\" \\ Zürich";
            SkinSettings.CurrentSkinFile = "Zürich.ini";
            ClockSettings.BeatTime = true;
            ExitProgram();
        },
        ::testing::ExitedWithCode(0), "");
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EQ(Stored(kSettingsKey, "ProgramPath"), programFolder_);
    EXPECT_EQ(Stored(kSkinsKey, "CurrentSkinPath"), "/skins/\"Quoted\" \\ Zürich");
    EXPECT_EQ(Stored(kSkinsKey, "CurrentSkinFile"), "Zürich.ini");
    EXPECT_EQ(Stored(kSkinsKey, "DefaultSkinPath"), programFolder_ + "/Skins/Zefro");
    EXPECT_EQ(Stored(kSkinsKey, "DefaultSkinFile"), "Zefro.ini");
    EXPECT_EQ(Stored(kSettingsKey, "BeatTime"), "True");

    ResetSharedState();
    LoadSettings();
    EXPECT_TRUE(ClockSettings.BeatTime);
    EXPECT_TRUE(frmMenu->mnuBeat->isChecked());
    EXPECT_EQ(SkinSettings.CurrentSkinFile, "Zürich.ini");
}

TEST_F(SettingsTest, SavingWithInternetTimeOffWritesFalse) {
    ClockSettings.BeatTime = false;
    SaveSettings();
    EXPECT_EQ(Stored(kSettingsKey, "BeatTime"), "False");
}

TEST_F(SettingsTest, ProgramInTheRootFolderDoublesTheSeparator) {
    programFolder_ = "/";
    LoadSettings();
    EXPECT_EQ(SkinSettings.DefaultSkinPath, "//Skins/Zefro");
}

}  // namespace
}  // namespace tikora::testing
