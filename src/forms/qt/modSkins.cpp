#include "qt/modSkins.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "clock/glyph_layout.h"
#include "platform/file_read.h"
#include "qt/frmMain.h"
#include "qt/modMain.h"
#include "shared/modDefs.h"
#include "skins/picture_decoder.h"
#include "skins/profile_file.h"
#include "skins/skin_values.h"

namespace tikora {
namespace {

// A skin file is a few hundred bytes; anything past this is not a skin and is not read at all.
constexpr std::size_t kMaxSkinFileBytes = std::size_t{1} << 20;
// Cell and font sizes beyond this are no clock that fits on a screen.
constexpr float kMaxSize = 4096;

// Everything a skin puts on the clock window, read and checked before any of it is applied.
struct SkinLook {
    PixelBuffer strip;
    GlyphMetrics sizes;
    std::uint32_t textColor = 0;
    std::uint32_t backColor = 0;
    std::string font;
    float fontSize = 0;
};

std::string SkinFilePath() {
    return SkinSettings.CurrentSkinPath + "/" + SkinSettings.CurrentSkinFile;
}

// The current skin file, read and parsed once for a whole load: a file of a megabyte of sections
// costs one reading, not one for every value.
class SkinFile {
  public:
    SkinFile()
        : path_(SkinFilePath()),
          file_(ProfileFile::Parse(ReadRegularFile(path_, kMaxSkinFileBytes).value_or(""))) {}

    // As ReadSkinValue.
    std::string Value(const std::string& section, const std::string& key) const {
        std::string value = GetProfileString(file_, section, key, path_);
        value.resize(std::min(value.find('\0'), value.size()));
        value.erase(0, std::min(value.find_first_not_of(' '), value.size()));
        return value;
    }

  private:
    std::string path_;
    ProfileFile file_;
};

// Reasons for a failed load, for the people who make skins.
class Complaint {
  public:
    explicit Complaint(std::string* whyNot) : whyNot_(whyNot) {}
    bool operator()(std::string reason) const {
        if (whyNot_ != nullptr && whyNot_->empty()) {
            *whyNot_ = std::move(reason);
        }
        return false;
    }

  private:
    std::string* whyNot_;
};

std::optional<float> ReadSize(const SkinFile& skin, const char* section, const char* key,
                              const Complaint& complain) {
    const std::optional<float> size = ParseSkinNumber(skin.Value(section, key));
    if (!size || !std::isfinite(*size) || *size < 0 || *size > kMaxSize) {
        complain(std::string(key) + " is not a size from 0 to 4096");
        return std::nullopt;
    }
    return size;
}

std::optional<std::uint32_t> ReadColour(const SkinFile& skin, const char* key,
                                        const Complaint& complain) {
    const std::optional<std::uint32_t> colour = ParseSkinColour(skin.Value("Text", key));
    if (!colour) {
        complain(std::string(key) + " is not a colour \"red,green,blue\"");
    }
    return colour;
}

// The image path names a file in the skin's folder; skins made on Windows write "\" in it.
std::string ImagePath(const SkinFile& skin, const std::string& folder) {
    std::string main = skin.Value("Image Files", "Main");
    std::replace(main.begin(), main.end(), '\\', '/');
    return folder + "/" + main;
}

std::optional<PixelBuffer> ReadStrip(const std::string& imagePath, const Complaint& complain) {
    const std::optional<std::string> bytes = ReadRegularFile(imagePath, kMaxPictureBytes);
    std::string whyNot = "the image file can't be read";
    std::optional<PixelBuffer> strip = bytes ? DecodePicture(*bytes, &whyNot) : std::nullopt;
    if (!strip) {
        complain(imagePath + ": " + whyNot);
    }
    return strip;
}

std::optional<SkinLook> ReadLook(const SkinFile& skin, const std::string& imagePath,
                                 const Complaint& complain) {
    SkinLook look;
    std::optional<PixelBuffer> strip = ReadStrip(imagePath, complain);
    const auto width = ReadSize(skin, "Image Info", "CharWidth", complain);
    const auto height = ReadSize(skin, "Image Info", "CharHeight", complain);
    const auto separator = ReadSize(skin, "Image Info", "SepWidth", complain);
    const auto text = ReadColour(skin, "TextColor", complain);
    const auto back = ReadColour(skin, "BgColor", complain);
    look.font = skin.Value("Text", "Font");
    const auto fontSize = ReadSize(skin, "Text", "FontSize", complain);
    if (!strip || !width || !height || !separator || !text || !back || !fontSize) {
        return std::nullopt;
    }
    look.strip = std::move(*strip);
    look.sizes = {*width, *height, *separator};
    look.textColor = *text;
    look.backColor = *back;
    look.fontSize = *fontSize;
    return look;
}

void Apply(ClockWindow& clock, SkinLook look) {
    clock.picSkin.picture = std::move(look.strip);
    SkinSettings.CharWidth = look.sizes.charWidth;
    SkinSettings.CharHeight = look.sizes.charHeight;
    SkinSettings.SepWidth = look.sizes.sepWidth;
    clock.picBuffer.ForeColor = look.textColor;
    clock.picBuffer.BackColor = look.backColor;
    clock.SetBackColor(look.backColor);
    clock.picBuffer.FontName = look.font;
    clock.picBuffer.FontSize = look.fontSize;
}

}  // namespace

std::string ReadSkinValue(const std::string& section, const std::string& key) {
    return SkinFile().Value(section, key);
}

bool LoadSkin(std::string folder, std::string file) {
    return LoadSkinInto(frmMain.Get(), std::move(folder), std::move(file));
}

bool LoadSkinInto(ClockWindow& clock, std::string folder, std::string file, std::string* whyNot) {
    const Complaint complain(whyNot);
    SkinSettings.CurrentSkinFile = std::move(file);
    SkinSettings.CurrentSkinPath = folder;
    const SkinFile skin;
    const std::optional<bool> displayImage =
        ParseSkinBoolean(skin.Value("General", "DisplayImage"));
    if (!displayImage) {
        return complain(ReadRegularFile(SkinFilePath(), kMaxSkinFileBytes)
                            ? "DisplayImage is not True or False"
                            : SkinFilePath() + ": no such skin file, or not a readable one");
    }
    SkinSettings.DisplayImage = *displayImage;
    SkinSettings.Separator = skin.Value("General", "Separator");
    const std::string imagePath = ImagePath(skin, folder);
    if (!FileExists(imagePath)) {
        const std::string message = "Image file not found. Tikora will load the default skin.";
        ShowError(message, false);
        return complain(message);
    }
    std::optional<SkinLook> look = ReadLook(skin, imagePath, complain);
    if (!look) {
        return false;
    }
    Apply(clock, std::move(*look));
    return true;
}

}  // namespace tikora
