// SPDX-License-Identifier: MIT
#pragma once

#include <QFont>
#include <QWidget>

namespace tikora {

// Form positions and sizes are given in twips; the screen's twips per pixel turn them into pixels.
int TwipsToPixelsX(int twips);
int TwipsToPixelsY(int twips);
void PlaceInTwips(QWidget& control, int left, int top, int width, int height);

// A fixed-size dialog window with a title bar and a close button only, its client area given in
// twips, in the forms' design font.
void MakeFixedDialog(QWidget& window, const QString& caption, int widthTwips, int heightTwips);

// "Trebuchet MS" 8.25 pt and "Arial" 8.25 pt, or Liberation Sans where they are missing.
QFont DesignFont();
QFont ArialFont();

}  // namespace tikora
