// SPDX-License-Identifier: MIT
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

#include <cstddef>

namespace tikora {

// Every block the decoder takes goes through these (stb_image_impl.cpp), so that a decode can be
// held to a budget: DecoderAllocate gives zeroed memory, and all three count what is in use.
void* DecoderAllocate(std::size_t size);
void* DecoderReallocate(void* block, std::size_t size);
void DecoderFree(void* block);

// While one lives, the decoder's blocks on this thread together take at most `bytes`: a request
// past that fails as a failed allocation does, and the decode with it.
class DecoderBudget {
  public:
    explicit DecoderBudget(std::size_t bytes);
    ~DecoderBudget();
    DecoderBudget(const DecoderBudget&) = delete;
    DecoderBudget& operator=(const DecoderBudget&) = delete;

    // True once a request went past the budget.
    bool Exceeded() const;
};

}  // namespace tikora

#include <stb/stb_image.h>
