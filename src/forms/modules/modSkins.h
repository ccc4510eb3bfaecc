// SPDX-License-Identifier: MIT
#pragma once

#include <string>

namespace tikora {

class ClockWindow;

// Makes the given skin the current one and applies it to the clock window: the skin's settings
// to SkinSettings, its strip to picSkin, its colours and font to picBuffer. False when the skin
// could not be loaded (a missing image file has been reported to the user); what a failed load
// has changed is only the current skin's location, DisplayImage and Separator.
bool LoadSkin(std::string folder, std::string file);

// The skin of the settings at start-up. A skin whose file is there but is refused for anything but
// a missing image is told (TellRefusedStartSkin) before the caller falls back.
bool LoadStartSkin(const std::string& folder, const std::string& file);

// The user's choice in the skin chooser: loaded and saved as the user's own. When its image is
// missing (told by LoadSkin), the default skin, and when that does not load either, the skin in
// force before. When it is refused for anything else, the error box says why and the skin in force
// stays.
void ChangeToChosenSkin(const std::string& folder, const std::string& file);

// The same as LoadSkin for a clock window other than frmMain, such as the preview tool's. On
// failure, `whyNot` is the one line that says why: the skin file's path and what is wrong with
// the skin, or, for a missing image, the message the user has been shown.
bool LoadSkinInto(ClockWindow& clock, std::string folder, std::string file,
                  std::string* whyNot = nullptr);

// A value of the current skin file, with leading spaces removed; the file's own path when the
// key or the file is missing.
std::string ReadSkinValue(const std::string& section, const std::string& key);

}  // namespace tikora
