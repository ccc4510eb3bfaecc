#pragma once

// The picture formats a skin may use, and a hard limit on sides that the decoder itself enforces.
#define STBI_ONLY_BMP
#define STBI_ONLY_PNG
#define STBI_ONLY_GIF
#define STBI_ONLY_JPEG
#define STBI_NO_STDIO
#define STBI_NO_LINEAR
#define STBI_NO_HDR
#define STBI_MAX_DIMENSIONS 16384

#include <stb/stb_image.h>
