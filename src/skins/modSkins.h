#pragma once

#include <string>

namespace tikora {

// Makes the given skin the current one and applies it to the clock window. False when the skin
// could not be loaded; the user has then been told.
bool LoadSkin(const std::string& folder, const std::string& file);

}  // namespace tikora
