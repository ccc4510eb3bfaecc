// SPDX-License-Identifier: MIT
#include "skins/picture_decoder.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#include "skins/stb_image_config.h"

namespace tikora {
namespace {

struct Budget {
    std::size_t limit = std::numeric_limits<std::size_t>::max();
    std::size_t used = 0;
    bool exceeded = false;
};

thread_local Budget budget;

bool Take(std::size_t bytes) {
    if (bytes > budget.limit - budget.used) {
        budget.exceeded = true;
        return false;
    }
    budget.used += bytes;
    return true;
}

void Give(std::size_t bytes) {
    budget.used -= std::min(bytes, budget.used);
}

// Each block starts with its size, kept in front of what the decoder sees at the alignment that
// malloc gives.
constexpr std::size_t kHeader = alignof(std::max_align_t);

unsigned char* Start(void* block) {
    return static_cast<unsigned char*>(block) - kHeader;
}

std::size_t SizeOf(void* block) {
    std::size_t size = 0;
    std::memcpy(&size, Start(block), sizeof size);
    return size;
}

void* Finish(unsigned char* start, std::size_t size) {
    std::memcpy(start, &size, sizeof size);
    return start + kHeader;
}

// Working memory a decode may need for each pixel the header declares. A 16-bit PNG with alpha
// takes eight bytes a pixel for its unpacked rows and as much for the whole picture, and four more
// when it is cut down to eight bits. Interlaced, its seven passes carry more row bytes than the
// decoder's first guess, so the buffer of unpacked rows doubles to sixteen bytes a pixel, beside
// the whole picture and the largest pass (half the pixels, four bytes each). Beyond that, twice the
// file (the decoder gathers a PNG's compressed data in a buffer it doubles as it goes) and a little
// for tables.
constexpr std::size_t kBytesPerDeclaredPixel = 24;
constexpr std::size_t kBytesPerInterlacedDeepPixel = 32;
constexpr std::size_t kFixedBudget = std::size_t{1} << 20;

// A real encoder splits a progressive JPEG into a dozen scans, a few dozen at most; each scan costs
// the decoder a pass over every block, whatever little data it holds. Thousands of tiny scans keep
// it busy for minutes within every size limit, so more than this is no picture a skin brings.
constexpr int kMaxJpegScans = 100;

bool Refuse(std::string* whyNot, const char* reason) {
    if (whyNot != nullptr) {
        *whyNot = reason;
    }
    return false;
}

bool SizeAcceptable(int width, int height, std::string* whyNot) {
    if (width <= 0 || height <= 0) {
        return Refuse(whyNot, "the picture is empty");
    }
    if (width > kMaxPictureSide || height > kMaxPictureSide ||
        static_cast<std::size_t>(width) * static_cast<std::size_t>(height) * 4 > kMaxPictureBytes) {
        return Refuse(whyNot, "the picture is too large");
    }
    return true;
}

bool IsInterlacedDeepPng(std::string_view bytes) {
    // The header chunk comes first: bit depth at byte 24, interlace method at byte 28.
    return bytes.size() > 28 && bytes.starts_with("\x89PNG") && bytes[24] == 16 && bytes[28] == 1;
}

std::size_t DecodeBudget(std::string_view bytes, int width, int height) {
    const std::size_t perPixel =
        IsInterlacedDeepPng(bytes) ? kBytesPerInterlacedDeepPixel : kBytesPerDeclaredPixel;
    return perPixel * static_cast<std::size_t>(width) * static_cast<std::size_t>(height) +
           2 * bytes.size() + kFixedBudget;
}

std::uint32_t LittleEndian(std::string_view bytes, std::size_t at, int size) {
    std::uint32_t value = 0;
    for (int i = size - 1; i >= 0; --i) {
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    }
    return value;
}

// The decoder reads zeros past the end of a short bitmap instead of failing, so a bitmap's pixel
// rows are checked against the file's length first. Compressed bitmaps are left to the decoder.
bool BitmapComplete(std::string_view bytes) {
    constexpr std::size_t kFileHeader = 14;
    if (bytes.size() < kFileHeader + 16 || bytes.substr(0, 2) != "BM") {
        return true;  // not a bitmap, or too short for the decoder to accept anyway
    }
    const std::uint64_t pixelOffset = LittleEndian(bytes, 10, 4);
    const std::uint32_t infoSize = LittleEndian(bytes, kFileHeader, 4);
    std::int64_t width = 0, height = 0;
    std::uint32_t bitsPerPixel = 0, compression = 0;
    if (infoSize == 12) {  // the old OS/2 header
        width = LittleEndian(bytes, 18, 2);
        height = LittleEndian(bytes, 20, 2);
        bitsPerPixel = LittleEndian(bytes, 24, 2);
    } else {
        width = static_cast<std::int32_t>(LittleEndian(bytes, 18, 4));
        height = static_cast<std::int32_t>(LittleEndian(bytes, 22, 4));
        bitsPerPixel = LittleEndian(bytes, 28, 2);
        compression = bytes.size() >= 34 ? LittleEndian(bytes, 30, 4) : 0;
    }
    constexpr std::uint32_t kPlainRgb = 0, kBitFields = 3;
    if (compression != kPlainRgb && compression != kBitFields) {
        return true;
    }
    const std::uint64_t stride =
        (static_cast<std::uint64_t>(std::abs(width)) * bitsPerPixel + 31) / 32 * 4;
    return pixelOffset + stride * static_cast<std::uint64_t>(std::abs(height)) <= bytes.size();
}

// The decoder's JPEG Huffman tables hold 256 codes, and the version Debian ships (stb_image of
// 2022-09) takes a table's sixteen code counts without checking that they add up to no more: a
// larger sum writes past the table, already while the header is read for the size. The decoder
// starts a table definition right after any "FF C4" it meets as a marker (after fill bytes, or
// where a scan's data ends, too), so every "FF C4" in a JPEG file is followed here as the decoder
// would read the definitions there - bytes past the end reading as 0, as in the decoder - and the
// file is refused when any of them holds an oversized table. A file with more "FF C4"s than a
// picture has tables is refused as well, which keeps this check short.
bool JpegTablesFit(std::string_view bytes) {
    if (bytes.empty() || static_cast<unsigned char>(bytes[0]) != 0xFF) {
        return true;  // every JPEG starts with its FF D8 marker; nothing else is read as one
    }
    const auto at = [bytes](std::size_t i) -> unsigned {
        return i < bytes.size() ? static_cast<unsigned char>(bytes[i]) : 0u;
    };
    constexpr int kMaxDefinitions = 256;
    int definitions = 0;
    for (std::size_t marker = bytes.find("\xFF\xC4"); marker != std::string_view::npos;
         marker = bytes.find("\xFF\xC4", marker + 1)) {
        if (++definitions > kMaxDefinitions) {
            return false;
        }
        // The segment's length counts its own two bytes; each table is a class and number byte,
        // sixteen counts and the codes, and the decoder goes on while length is left.
        long left = static_cast<long>(at(marker + 2) << 8 | at(marker + 3)) - 2;
        for (std::size_t table = marker + 4; left > 0 && table < bytes.size();) {
            const unsigned kind = at(table);
            if (kind >> 4 > 1 || (kind & 15) > 3) {
                break;  // the decoder stops at a table it does not know
            }
            unsigned codes = 0;
            for (std::size_t i = 1; i <= 16; ++i) {
                codes += at(table + i);
            }
            if (codes > 256) {
                return false;
            }
            table += 17 + codes;
            left -= 17 + static_cast<long>(codes);
        }
    }
    return true;
}

// The scans of a JPEG as the decoder meets them: segment by segment from the start marker, each
// scan's coded data running to the next marker that is neither a stuffed byte nor a restart. Stray
// bytes between segments, which the decoder refuses, are stepped over here, so the count is never
// less than the decoder's.
int JpegScans(std::string_view bytes) {
    if (!bytes.starts_with("\xFF\xD8")) {
        return 0;
    }
    const auto at = [bytes](std::size_t i) -> unsigned {
        return static_cast<unsigned char>(bytes[i]);
    };
    const auto restart = [](unsigned marker) { return marker >= 0xD0 && marker <= 0xD7; };
    int scans = 0;
    for (std::size_t i = 2; i + 1 < bytes.size();) {
        const unsigned marker = at(i + 1);
        if (at(i) != 0xFF || marker == 0xFF) {
            ++i;  // a stray byte, or fill before a marker
            continue;
        }
        i += 2;
        if (marker == 0xD9) {
            break;
        }
        if (marker == 0x01 || restart(marker) || i + 1 >= bytes.size()) {
            continue;  // no length follows
        }
        i += at(i) << 8 | at(i + 1);
        if (marker == 0xDA) {
            ++scans;
            while (i + 1 < bytes.size() &&
                   (at(i) != 0xFF || at(i + 1) == 0 || restart(at(i + 1)))) {
                ++i;
            }
        }
    }
    return scans;
}

}  // namespace

std::optional<PixelBuffer> DecodePicture(std::string_view bytes, std::string* whyNot) {
    if (bytes.empty() || bytes.size() > static_cast<std::size_t>(std::numeric_limits<int>::max())) {
        Refuse(whyNot, "the file is not a readable picture");
        return std::nullopt;
    }
    if (!JpegTablesFit(bytes)) {
        Refuse(whyNot, "the file is not a readable picture");
        return std::nullopt;
    }
    if (JpegScans(bytes) > kMaxJpegScans) {
        Refuse(whyNot, "the picture is split into more scans than any encoder writes");
        return std::nullopt;
    }
    const auto* data = reinterpret_cast<const stbi_uc*>(bytes.data());
    const int length = static_cast<int>(bytes.size());
    int width = 0, height = 0, channels = 0;
    if (stbi_info_from_memory(data, length, &width, &height, &channels) == 0) {
        Refuse(whyNot, "the file is not a readable picture");
        return std::nullopt;
    }
    if (bytes.starts_with("BM") && height < 0 && height > std::numeric_limits<int>::min()) {
        height = -height;  // a bitmap stored top row first
    }
    if (!SizeAcceptable(width, height, whyNot)) {
        return std::nullopt;
    }
    if (!BitmapComplete(bytes)) {
        Refuse(whyNot, "the file is not a readable picture");
        return std::nullopt;
    }
    const DecoderBudget limit(DecodeBudget(bytes, width, height));
    const std::unique_ptr<stbi_uc, void (*)(void*)> rgba(
        stbi_load_from_memory(data, length, &width, &height, &channels, 4), stbi_image_free);
    if (!rgba || !SizeAcceptable(width, height, whyNot)) {
        Refuse(whyNot, limit.Exceeded() ? "the picture holds more data than its size needs"
                                        : "the file is not a readable picture");
        return std::nullopt;
    }
    PixelBuffer picture(width, height);
    const stbi_uc* in = rgba.get();
    Argb* out = picture.Data();
    for (std::size_t i = 0, count = static_cast<std::size_t>(width) * height; i < count; ++i) {
        const stbi_uc* p = in + i * 4;
        out[i] = (Argb{p[3]} << 24) | (Argb{p[0]} << 16) | (Argb{p[1]} << 8) | Argb{p[2]};
    }
    return picture;
}

void* DecoderAllocate(std::size_t size) {
    if (size > std::numeric_limits<std::size_t>::max() - kHeader || !Take(size)) {
        return nullptr;
    }
    auto* start = static_cast<unsigned char*>(std::calloc(1, size + kHeader));
    if (start == nullptr) {
        Give(size);
        return nullptr;
    }
    return Finish(start, size);
}

void* DecoderReallocate(void* block, std::size_t size) {
    if (block == nullptr) {
        return DecoderAllocate(size);
    }
    const std::size_t old = SizeOf(block);
    if (size > std::numeric_limits<std::size_t>::max() - kHeader ||
        (size > old && !Take(size - old))) {
        return nullptr;
    }
    auto* start = static_cast<unsigned char*>(std::realloc(Start(block), size + kHeader));
    if (start == nullptr) {
        Give(size > old ? size - old : 0);
        return nullptr;
    }
    Give(size < old ? old - size : 0);
    return Finish(start, size);
}

void DecoderFree(void* block) {
    if (block != nullptr) {
        Give(SizeOf(block));
        std::free(Start(block));
    }
}

DecoderBudget::DecoderBudget(std::size_t bytes) {
    budget = Budget{bytes, 0, false};
}

DecoderBudget::~DecoderBudget() {
    budget = Budget{};
}

bool DecoderBudget::Exceeded() const {
    return budget.exceeded;
}

}  // namespace tikora
