// SPDX-License-Identifier: MIT
#include <sys/stat.h>
#include <unistd.h>

#include <iostream>

#include "common/modRegistry.h"
#include "common/registry_settings_store.h"
#include "forms/form_fixture.h"
#include "qt/frmMenu.h"

namespace tikora::testing {
namespace {

using SettingsTest = FormTest;

// What a run saves the next start finds; a stored mode of any other text changes nothing.
TEST_F(SettingsTest, WhatASaveWritesTheNextStartFinds) {
    LoadSettings();
    frmMenu->mnuBeat->setChecked(false);
    SkinSettings.CurrentSkinPath = "/skins/Zürich";
    SkinSettings.CurrentSkinFile = "Zürich.ini";
    ClockSettings.BeatTime = true;
    SaveSkinChoice();
    ResetSharedState();
    LoadSettings();
    EXPECT_EQ(SkinSettings.CurrentSkinPath, "/skins/Zürich");
    EXPECT_EQ(SkinSettings.CurrentSkinFile, "Zürich.ini");
    EXPECT_TRUE(ClockSettings.BeatTime && frmMenu->mnuBeat->isChecked());

    ASSERT_FALSE(RegistrySettingsStore().Write({{kSettingsKey, "BeatTime", "yes"}}));
    ClockSettings.BeatTime = false;
    LoadSettings();
    EXPECT_TRUE(!ClockSettings.BeatTime && frmMenu->mnuBeat->isChecked());
}

// A save writes only what its run changed, so two clocks of one user (two displays, one file)
// never undo each other; a run that changed nothing writes nothing at all.
TEST_F(SettingsTest, ASaveKeepsWhatAnotherClockStoredMeanwhile) {
    LoadSettings();
    ASSERT_TRUE(SaveSettings());
    EXPECT_FALSE(std::filesystem::exists(settingsFolder_ / "registry.reg"));
    // The other clock's mode, stored before each save of this one, and this one's own.
    const std::tuple<const char*, bool, void (*)(), const char*> steps[] = {
        {"True", false, SaveSkinChoice, "True"},
        {"True", true, [] { SaveSettings(); }, "True"},
        {"False", true, [] { SaveSettings(); }, "False"},
        {"True", false, [] { SaveSettings(); }, "False"}};
    for (const auto& [other, own, save, stored] : steps) {
        ASSERT_FALSE(RegistrySettingsStore().Write({{kSettingsKey, "BeatTime", other}}));
        ClockSettings.BeatTime = own;
        save();
        EXPECT_EQ(ReadRegString(kCurrentUser, kSettingsKey, "BeatTime"), stored) << other << own;
    }
    EXPECT_EQ(ReadRegString(kCurrentUser, kSkinsKey, "CurrentSkinFile"), "Zefro.ini");
}

// Told on standard error and, but where nobody may be there to close it (a termination signal),
// in the box, naming the file and the reason; the store keeps what it held. The folder is
// read-only, which binds root only once it has become another user.
TEST_F(SettingsTest, AFailedSaveIsToldAndLeavesTheStoreAsItWas) {
    LoadSettings();
    ClockSettings.BeatTime = true;
    ASSERT_TRUE(SaveSettings());
    const std::string file = settingsFolder_ / "registry.reg", old = ReadFile(file);
    ASSERT_EQ(chmod(file.c_str(), 0644) | chmod(settingsFolder_.Path().c_str(), 0555), 0);
    const std::string message = "Tikora can't save its settings: " + file + ": Permission denied";
    GTEST_FLAG_SET(death_test_style, "fast");
    for (const auto report : {SaveFailureReport::Box, SaveFailureReport::StandardErrorOnly}) {
        EXPECT_EXIT(
            {
                if (geteuid() == 0 && (setgid(65534) != 0 || setuid(65534) != 0)) {
                    _exit(9);
                }
                SetErrorBoxHook([](const std::string&, const std::string& shown) {
                    std::cerr << "<" << shown << ">";
                });
                ClockSettings.BeatTime = false;
                _exit(SaveSettings(report) ? 3 : 0);
            },
            ::testing::ExitedWithCode(0),
            "^" + message + "\n" + (report == SaveFailureReport::Box ? "<" + message + ">" : "") +
                "$");
    }
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    chmod(settingsFolder_.Path().c_str(), 0700);
    EXPECT_EQ(ReadFile(file), old);
}

}  // namespace
}  // namespace tikora::testing
