#include "common/registry_settings_store.h"
#include "forms/form_fixture.h"
#include "qt/frmMenu.h"

namespace tikora::testing {
namespace {

using SettingsTest = FormTest;

// What a run saves the next start finds; a stored mode of any other text changes nothing.
TEST_F(SettingsTest, WhatASaveWritesTheNextStartFinds) {
    frmMenu->mnuBeat->setChecked(false);
    SkinSettings.CurrentSkinPath = "/skins/Zürich";
    SkinSettings.CurrentSkinFile = "Zürich.ini";
    ClockSettings.BeatTime = true;
    SaveSettings();
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

}  // namespace
}  // namespace tikora::testing
