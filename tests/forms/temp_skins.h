#pragma once

#include <gtest/gtest.h>
#include <stdlib.h>

#include <QColor>
#include <QImage>
#include <filesystem>
#include <fstream>
#include <string>

namespace tikora::testing {

// A temporary folder, removed with everything in it when the test ends.
class TempFolder {
  public:
    TempFolder() {
        std::string pattern =
            (std::filesystem::temp_directory_path() / "tikora-test-XXXXXX").string();
        if (mkdtemp(pattern.data()) != nullptr) {
            path_ = pattern;
        }
    }
    ~TempFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;

    const std::filesystem::path& Path() const { return path_; }
    std::string operator/(const std::string& relative) const { return (path_ / relative).string(); }

  private:
    std::filesystem::path path_;
};

inline void WriteFile(const std::string& path, const std::string& content) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    std::ofstream(path, std::ios::binary) << content;
}

// The colour of glyph cell `index` (0-9 digits, 10 "@", 11 separator) in test strips.
inline QRgb CellColour(int index) {
    return qRgb(20 * index + 10, 200 - 10 * index, 90);
}

// A strip whose cells are filled with their own colours, with the given cell sizes.
inline void WriteStrip(const std::string& path, int charWidth, int charHeight, int sepWidth) {
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    QImage strip(11 * charWidth + sepWidth, charHeight, QImage::Format_RGB32);
    for (int cell = 0; cell < 12; ++cell) {
        const int left = cell * charWidth;
        const int width = cell == 11 ? sepWidth : charWidth;
        for (int y = 0; y < charHeight; ++y) {
            for (int x = left; x < left + width; ++x) {
                strip.setPixel(x, y, CellColour(cell));
            }
        }
    }
    ASSERT_TRUE(strip.save(QString::fromStdString(path), "PNG"));
}

inline std::string SkinIni(const std::string& displayImage, const std::string& main,
                           const std::string& extra = "") {
    return "[General]\nDisplayImage=" + displayImage + "\nSeparator=:\n" +
           "[Image Files]\nMain=" + main + "\n" +
           "[Image Info]\nCharWidth=8\nCharHeight=11\nSepWidth=4\n" +
           "[Text]\nTextColor=255,128,0\nBgColor=0,0,64\nFont=DejaVu Sans\nFontSize=8.25\n" + extra;
}

}  // namespace tikora::testing
