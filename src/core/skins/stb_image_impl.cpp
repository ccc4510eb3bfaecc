// SPDX-License-Identifier: MIT
// The decoder's implementation, compiled once, from Debian's header-only copy.
#include <cstdlib>

// Every block the decoder takes starts zeroed. A corrupt file can make it use what it never
// filled in, such as a Huffman table that no table definition gave: zeros index nothing out of
// bounds, where whatever an earlier picture left in that memory could.
#define STBI_MALLOC(size) tikora::DecoderAllocate(size)
#define STBI_REALLOC(block, size) tikora::DecoderReallocate(block, size)
#define STBI_FREE(block) tikora::DecoderFree(block)

#define STB_IMAGE_IMPLEMENTATION
#include "skins/stb_image_config.h"
