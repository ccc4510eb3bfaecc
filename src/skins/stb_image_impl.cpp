// The decoder's implementation, compiled once, from Debian's header-only copy.
#define STB_IMAGE_IMPLEMENTATION
#include "skins/stb_image_config.h"
