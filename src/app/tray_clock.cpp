#include "app/modMain.h"

namespace tikora {

// Docking into the desktop's clock comes with the platform's window finder; until then the clock
// stays a free top-level window at its design-time size.
void FindTrayClock() {}
void DockToTrayClock() {}

}  // namespace tikora
