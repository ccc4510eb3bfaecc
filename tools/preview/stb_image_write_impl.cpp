// SPDX-License-Identifier: MIT
// The PNG encoder's implementation, compiled once, from Debian's header-only copy.
#define STBI_WRITE_NO_STDIO
#define STB_IMAGE_WRITE_IMPLEMENTATION
#include <stb/stb_image_write.h>
