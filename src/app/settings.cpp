#include "app/modDefs.h"
#include "app/modMain.h"
#include "platform/services.h"

namespace tikora {

// Until the per-user store exists every start is a first run: the default skin is the current one.
void LoadSettings() {
    SkinSettings.DefaultSkinFile = "Zefro.ini";
    SkinSettings.DefaultSkinPath = Platform().programFolder() + "/Skins/Zefro";
    SkinSettings.CurrentSkinFile = SkinSettings.DefaultSkinFile;
    SkinSettings.CurrentSkinPath = SkinSettings.DefaultSkinPath;
}

void SaveSettings() {}

}  // namespace tikora
