// SPDX-License-Identifier: MIT
#include "qt/form_layout.h"

#include "shared/modDefs.h"
#include "shared/numeric.h"

namespace tikora {
namespace {

constexpr int kDefaultTwipsPerPixel = 15;  // 96 dots per inch, before the screen is measured

int Scale(int twips, std::int32_t twipsPerPixel) {
    return RoundHalfEven(static_cast<double>(twips) /
                         (twipsPerPixel > 0 ? twipsPerPixel : kDefaultTwipsPerPixel));
}

// Liberation Sans stands in for both faces where they are missing: it has Arial's widths, and
// Trebuchet MS's are close to them, so captions fit the places the forms give them (DejaVu Sans,
// fontconfig's usual choice, is a sixth wider and cuts them off).
QFont SizedFont(const char* family) {
    QFont font;
    font.setFamilies({QString::fromUtf8(family), QStringLiteral("Liberation Sans")});
    font.setPointSizeF(8.25);
    return font;
}

}  // namespace

int TwipsToPixelsX(int twips) {
    return Scale(twips, DockState.TwipsPerPixelX);
}
int TwipsToPixelsY(int twips) {
    return Scale(twips, DockState.TwipsPerPixelY);
}

void PlaceInTwips(QWidget& control, int left, int top, int width, int height) {
    control.setGeometry(TwipsToPixelsX(left), TwipsToPixelsY(top), TwipsToPixelsX(width),
                        TwipsToPixelsY(height));
}

void MakeFixedDialog(QWidget& window, const QString& caption, int widthTwips, int heightTwips) {
    window.setWindowTitle(caption);
    window.setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint);
    window.setFixedSize(TwipsToPixelsX(widthTwips), TwipsToPixelsY(heightTwips));
    window.setFont(DesignFont());
}

QFont DesignFont() {
    return SizedFont("Trebuchet MS");
}
QFont ArialFont() {
    return SizedFont("Arial");
}

}  // namespace tikora
