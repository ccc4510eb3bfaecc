// SPDX-License-Identifier: MIT
#include "skins/skin_reader.h"

#include <algorithm>
#include <cmath>
#include <vector>

#include "shared/utf8.h"
#include "skins/picture_decoder.h"
#include "skins/skin_values.h"

namespace tikora {
namespace {

// Keeps the first reason a load fails for; later ones are mostly its consequences.
class Complaint {
  public:
    explicit Complaint(SkinReading& reading) : reading_(reading) {}
    void operator()(SkinRefusal refusal, std::string reason) const {
        if (reading_.refusal == SkinRefusal::kNone) {
            reading_.refusal = refusal;
            reading_.whyNot = std::move(reason);
        }
    }
    void operator()(std::string reason) const { (*this)(SkinRefusal::kInvalid, std::move(reason)); }

  private:
    SkinReading& reading_;
};

std::optional<float> ReadSize(const SkinFile& skin, const char* section, const char* key,
                              float largest, const Complaint& complain) {
    const std::optional<float> size = ParseSkinNumber(skin.Value(section, key));
    if (!size || !std::isfinite(*size) || *size < 0 || *size > largest) {
        complain(std::string(key) + " is not a size from 0 to " +
                 std::to_string(static_cast<int>(largest)));
        return std::nullopt;
    }
    return size;
}

// A file name as a person reads it, letter case aside: UTF-8, or else the single-byte code page.
std::string Folded(const std::string& name) {
    std::string readable = IsValidUtf8(name) ? name : Windows1252ToUtf8(name);
    std::transform(readable.begin(), readable.end(), readable.begin(), [](char c) {
        return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    });
    return readable;
}

// folder + "/" + main, each part of main that is not there as written replaced by the one entry
// of its folder that folds to the same name.
std::string FindImage(const FileAccess& files, const std::string& folder, const std::string& main) {
    std::string path = folder + "/" + main;
    if (files.HasOrdinaryFile(path)) {
        return path;
    }
    path = folder;
    for (std::size_t start = 0; start <= main.size();) {
        const std::size_t end = std::min(main.find('/', start), main.size());
        std::string part = main.substr(start, end - start);
        start = end + 1;
        const std::vector<std::string> names =
            files.ListNames(path).value_or(std::vector<std::string>{});
        if (std::find(names.begin(), names.end(), part) == names.end()) {
            const std::string wanted = Folded(part);
            const auto same = [&wanted](const std::string& name) { return Folded(name) == wanted; };
            const auto match = std::find_if(names.begin(), names.end(), same);
            if (match != names.end() && std::count_if(match, names.end(), same) == 1) {
                part = *match;
            }
        }
        path += "/" + part;
    }
    return path;
}

std::optional<std::uint32_t> ReadColour(const SkinFile& skin, const char* key,
                                        const Complaint& complain) {
    const std::optional<std::uint32_t> colour = ParseSkinColour(skin.Value("Text", key));
    if (!colour) {
        complain(std::string(key) + " is not a colour \"red,green,blue\"");
    }
    return colour;
}

// A refused picture is named as within the skin's folder: the reason follows the skin file's path.
std::optional<PixelBuffer> ReadStrip(const FileAccess& files, const std::string& imagePath,
                                     std::size_t folderLength, const Complaint& complain) {
    const std::optional<std::string> bytes = files.ReadRegular(imagePath, kMaxPictureFileBytes);
    std::string whyNot = "the image file can't be read";
    std::optional<PixelBuffer> strip = bytes ? DecodePicture(*bytes, &whyNot) : std::nullopt;
    if (!strip) {
        complain(imagePath.substr(std::min(folderLength + 1, imagePath.size())) + ": " + whyNot);
    }
    return strip;
}

// Every value is read, in the skin file's order, whatever fails first.
std::optional<SkinLook> ReadLook(const FileAccess& files, const SkinFile& skin,
                                 std::string imagePath, std::size_t folderLength,
                                 const Complaint& complain) {
    std::optional<PixelBuffer> strip = ReadStrip(files, imagePath, folderLength, complain);
    const auto width = ReadSize(skin, "Image Info", "CharWidth", kMaxCellSize, complain);
    const auto height = ReadSize(skin, "Image Info", "CharHeight", kMaxCellSize, complain);
    const auto separator = ReadSize(skin, "Image Info", "SepWidth", kMaxCellSize, complain);
    const auto text = ReadColour(skin, "TextColor", complain);
    const auto back = ReadColour(skin, "BgColor", complain);
    std::string font = skin.Value("Text", "Font");
    const auto fontSize = ReadSize(skin, "Text", "FontSize", kMaxFontSize, complain);
    if (!strip || !width || !height || !separator || !text || !back || !fontSize) {
        return std::nullopt;
    }
    return SkinLook{
        std::move(imagePath), std::move(*strip), {*width, *height, *separator}, *text, *back,
        std::move(font),      *fontSize};
}

}  // namespace

SkinFile::SkinFile(const FileAccess& files, std::string path) : path_(std::move(path)) {
    const std::optional<std::string> bytes = files.ReadRegular(path_, kMaxSkinFileBytes);
    readable_ = bytes.has_value();
    file_ = ProfileFile::Parse(bytes.value_or(""));
}

std::string SkinFile::Value(std::string_view section, std::string_view key) const {
    return ValueOr(section, key, path_);
}

std::string SkinFile::ValueOr(std::string_view section, std::string_view key,
                              std::string_view missing) const {
    std::string value = ReadProfileValue(file_, section, key, missing);
    value.resize(std::min(value.find('\0'), value.size()));
    value.erase(0, std::min(value.find_first_not_of(' '), value.size()));
    return value;
}

SkinReading ReadSkin(const FileAccess& files, const std::string& folder, const std::string& file) {
    SkinReading reading;
    const Complaint complain(reading);
    const SkinFile skin(files, folder + "/" + file);
    const std::optional<bool> displayImage =
        ParseSkinBoolean(skin.Value("General", "DisplayImage"));
    if (!displayImage) {
        complain(skin.Readable() ? "DisplayImage is not True or False"
                                 : "no such skin file, or not a readable one");
        return reading;
    }
    // Without the key, the separator every clock shows, not the first character of the path.
    reading.general = SkinGeneral{*displayImage, skin.ValueOr("General", "Separator", ":")};
    std::string main = skin.Value("Image Files", "Main");
    std::replace(main.begin(), main.end(), '\\', '/');
    std::string imagePath = FindImage(files, folder, main);
    if (!files.HasOrdinaryFile(imagePath)) {
        complain(SkinRefusal::kImageNotFound, kImageNotFoundMessage);
        return reading;
    }
    reading.look = ReadLook(files, skin, std::move(imagePath), folder.size(), complain);
    return reading;
}

}  // namespace tikora
