// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QImage>
#include <QPainter>
#include <filesystem>
#include <string>

namespace tikora::testing {

// A strip with the given cell sizes, each of its twelve cells (0-9, "@", separator) in a colour
// of its own.
inline void WriteStrip(const std::string& path, int charWidth, int charHeight, int sepWidth) {
    QImage strip(11 * charWidth + sepWidth, charHeight, QImage::Format_RGB32);
    for (int cell = 0; cell < 12; ++cell) {
        QPainter(&strip).fillRect(cell * charWidth, 0, charWidth, charHeight,
                                  QColor(20 * cell + 10, 200 - 10 * cell, 90));
    }
    std::filesystem::create_directories(std::filesystem::path(path).parent_path());
    ASSERT_TRUE(strip.save(QString::fromStdString(path), "PNG"));
}

// A skin file of cells 8 x 11 with a separator 4 wide, in DejaVu Sans 8.25 orange on dark blue.
inline std::string SkinIni(const std::string& displayImage, const std::string& main) {
    return "[General]\nDisplayImage=" + displayImage +
           "\nSeparator=:\n[Image Files]\nMain=" + main +
           "\n[Image Info]\nCharWidth=8\nCharHeight=11\nSepWidth=4\n[Text]\nTextColor=255,128,0\n"
           "BgColor=0,0,64\nFont=DejaVu Sans\nFontSize=8.25\n";
}

}  // namespace tikora::testing
