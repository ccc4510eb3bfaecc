#include "skins/modSkins.h"

#include "app/modDefs.h"

namespace tikora {

bool LoadSkin(const std::string& folder, const std::string& file) {
    SkinSettings.CurrentSkinFile = file;
    SkinSettings.CurrentSkinPath = folder;
    SkinSettings.DisplayImage = false;
    SkinSettings.Separator = ":";
    return true;
}

}  // namespace tikora
