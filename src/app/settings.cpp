#include "app/modMain.h"

namespace tikora {

// The per-user settings store is not written yet: every start uses the start-up defaults.
void LoadSettings() {}
void SaveSettings() {}

}  // namespace tikora
