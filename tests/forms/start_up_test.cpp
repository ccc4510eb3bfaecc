// SPDX-License-Identifier: MIT
#include <iostream>

#include "common/modRegistry.h"
#include "common/registry_settings_store.h"
#include "forms/form_fixture.h"

namespace tikora::testing {
namespace {

class StartUp : public FormTest {
  protected:
    // The user's choice of skin, saved by a run in this program folder.
    void StoreSkin(const std::string& folder, const std::string& file) {
        ASSERT_FALSE(RegistrySettingsStore().Write({{kSettingsKey, "ProgramPath", programFolder_},
                                                    {kSkinsKey, "CurrentSkinPath", folder},
                                                    {kSkinsKey, "CurrentSkinFile", file}}));
    }
    std::string StoredSkin() const {
        return ReadRegString(kCurrentUser, kSkinsKey, "CurrentSkinPath");
    }
};

TEST_F(StartUp, DocksBeforeReadingTheSettingsAndStartsTheTickLast) {
    AddTaskbarClock(60, 22);
    windows_.onSetParent = [&] {
        EXPECT_EQ(DockState.TwipsPerPixelY, 15);  // the screen's metrics come first
        EXPECT_TRUE(ClockSettings.BeatTime);      // their default, not yet the settings'
        EXPECT_EQ(SkinSettings.CurrentSkinPath, "");
        EXPECT_FALSE(frmMain.Loaded()->tmrClock.isActive());
    };
    const ClockWindow& clock = frmMain.Get();
    EXPECT_EQ(windows_.reparented, std::vector<WindowHandle>{0x300});  // the clock window
    EXPECT_EQ(clock.size(), QSize(60, 22));
    // The boxes take the window's size in twips as pixels; only its part of picBuffer is shown.
    EXPECT_EQ(QSize(clock.picBuffer.Width(), clock.picBuffer.Height()), QSize(900, 330));
    EXPECT_FALSE(ClockSettings.BeatTime);  // a first run: nothing stored yet
    EXPECT_EQ(SkinSettings.CurrentSkinPath, DefaultSkinFolder());
    EXPECT_TRUE(clock.tmrClock.isActive());
    EXPECT_TRUE(errors_.empty());
}

// A drive not mounted yet: the default skin stands in, and the user's choice stays stored.
TEST_F(StartUp, AStoredSkinThatIsGoneGivesWayQuietlyToTheDefaultAndStaysStored) {
    StoreSkin(programFolder_ + "/gone", "Gone.ini");
    frmMain.Get();
    EXPECT_TRUE(errors_.empty());
    EXPECT_EQ(SkinSettings.CurrentSkinPath, DefaultSkinFolder());
    EXPECT_EQ(frmMain->size(), QSize(0, 0));  // no taskbar here: nothing to dock into
    EXPECT_TRUE(frmMain->tmrClock.isActive());
    ASSERT_TRUE(SaveSettings());  // as every orderly end does
    EXPECT_EQ(StoredSkin(), programFolder_ + "/gone");
}

// Nobody waits for a box at login: the reason goes to standard error, and the default stands in.
TEST_F(StartUp, AStoredSkinRefusedForWhatItHoldsSaysWhyOnStandardErrorThenGivesWay) {
    const std::string ini = SkinIni("True", "strip.png");
    WriteFile(programFolder_ + "/mine/Mine.ini", std::string(ini).replace(ini.find("255,"), 4, ""));
    WriteStrip(programFolder_ + "/mine/strip.png", 8, 11, 4);
    StoreSkin(programFolder_ + "/mine", "Mine.ini");
    ::testing::internal::CaptureStderr();
    frmMain.Get();
    const std::string told = ::testing::internal::GetCapturedStderr();
    EXPECT_NE(told.find("tikora: " + programFolder_ + "/mine/Mine.ini: TextColor is not a colour"),
              std::string::npos);
    EXPECT_EQ(std::pair(errors_.size(), SkinSettings.CurrentSkinPath),
              std::pair(std::size_t{0}, DefaultSkinFolder()));
}

TEST_F(StartUp, WithBothSkinsBrokenTellsWhyTwiceThenEndsKeepingTheStoredSkin) {
    GTEST_FLAG_SET(death_test_style, "fast");  // the child writes this test's settings file
    WriteDefaultSkin(SkinIni("True", "missing.png"));
    WriteFile(programFolder_ + "/mine/Mine.ini", SkinIni("True", "missing.png"));
    StoreSkin(programFolder_ + "/mine", "Mine.ini");
    EXPECT_EXIT(
        {
            SetErrorBoxHook([](const std::string& title, const std::string& message) {
                std::cerr << "<" << title << "|" << message << ">";
            });
            frmMain.Get();
            std::cerr << "returned";
        },
        ::testing::ExitedWithCode(1),
        "^(<:: Tikora \\[ Error Message \\] ::\\|Image file not found. Tikora will load the "
        "default skin.>){2}"
        "<:: Tikora \\[ Error Message \\] ::\\|Tikora can't load any of the skins properly. "
        "Tikora will exit! Please submit a valid skin.>$");
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_EQ(StoredSkin(), programFolder_ + "/mine");
}

}  // namespace
}  // namespace tikora::testing
