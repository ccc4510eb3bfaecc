#include <QImage>
#include <QPixmap>

#include "forms/form_fixture.h"
#include "platform/text_painter.h"

namespace tikora::testing {
namespace {

struct InkBox {
    int left = 1 << 30, top = 1 << 30, right = -1, bottom = -1;
    bool Empty() const { return right < 0; }
};

// The pixels of the window's part of picBuffer that differ from the background.
InkBox FindInk(const ClockWindow& window) {
    const PixelBuffer& image = window.picBuffer.image;
    const Argb background = ColorRefToArgb(window.picBuffer.BackColor);
    InkBox ink;
    for (int y = 0; y < window.height(); ++y) {
        for (int x = 0; x < window.width(); ++x) {
            if (image.Pixel(x, y) != background) {
                ink = {std::min(ink.left, x), std::min(ink.top, y), std::max(ink.right, x),
                       std::max(ink.bottom, y)};
            }
        }
    }
    return ink;
}

class ClockTick : public FormTest {
  protected:
    ClockTick() { AddTaskbarClock(89, 59); }
    ClockWindow& Clock() { return frmMain.Get(); }

    TextExtent Measure(const std::string& text) {
        TextPainter painter;
        const FontSpec font{Clock().picBuffer.FontName, Clock().picBuffer.FontSize, 96};
        return painter.Measure(text, font);
    }

    // The ink of a tick lies inside the measured text box placed as the clock places it.
    void ExpectCentred(const std::string& text) {
        const TextExtent extent = Measure(text);
        const int x = Clock().width() / 2 - static_cast<int>(std::nearbyint(extent.width)) / 2 - 1;
        const int y =
            Clock().height() / 2 - static_cast<int>(std::nearbyint(extent.height)) / 2 - 1;
        const InkBox ink = FindInk(Clock());
        ASSERT_FALSE(ink.Empty()) << text;
        EXPECT_GE(ink.left, x) << text;
        EXPECT_LE(ink.right, x + extent.width + 1) << text;
        EXPECT_GE(ink.top, y) << text;
        EXPECT_LE(ink.bottom, y + extent.height) << text;
        EXPECT_NEAR((ink.left + ink.right) / 2.0, x + extent.width / 2, 3.0) << text;
    }
};

TEST_F(ClockTick, DrawsTheTimeCentredInTextMode) {
    SetTime(12, 34, 56);
    Clock();
    ClockSettings.BeatTime = false;
    Clock().tmrClock_Timer();
    ExpectCentred("12:34");
}

TEST_F(ClockTick, SwitchingBeatTimeChangesTheNextTick) {
    SetTime(12, 34, 56);  // @524 at UTC+1
    Clock();
    ClockSettings.BeatTime = false;
    Clock().tmrClock_Timer();
    const std::vector<Argb> timeFrame(Clock().picBuffer.image.Data(),
                                      Clock().picBuffer.image.Data() + Clock().width());
    const InkBox timeInk = FindInk(Clock());

    ClockSettings.BeatTime = true;
    Clock().tmrClock_Timer();
    ExpectCentred("@524");
    const InkBox beatInk = FindInk(Clock());
    EXPECT_TRUE(timeInk.left != beatInk.left || timeInk.right != beatInk.right);
}

TEST_F(ClockTick, TextWiderThanTheWindowIsCutAtItsEdges) {
    SetTime(23, 59, 0);
    Clock();
    ClockSettings.BeatTime = false;
    Clock().resize(12, 6);  // as if the taskbar clock were that small
    Clock().tmrClock_Timer();
    const InkBox ink = FindInk(Clock());
    ASSERT_FALSE(ink.Empty());
    EXPECT_EQ(ink.left, 0);
    EXPECT_EQ(ink.top, 0);
}

TEST_F(ClockTick, WindowShowsPicBufferWhenRepainted) {
    SetTime(8, 5, 0);
    Clock();
    ClockSettings.BeatTime = false;
    Clock().tmrClock_Timer();
    const QImage shown = Clock().grab().toImage().convertToFormat(QImage::Format_RGB32);
    ASSERT_EQ(shown.size(), Clock().size());
    int differing = 0;
    for (int y = 0; y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            differing += shown.pixel(x, y) != Clock().picBuffer.image.Pixel(x, y);
        }
    }
    EXPECT_EQ(differing, 0);
}

}  // namespace
}  // namespace tikora::testing

namespace tikora::testing {
namespace {

// The 60 x 20 window of the glyph layout's worked example, drawing 07:45 from a strip whose
// cells have colours of their own.
class ImageModeTick : public FormTest {
  protected:
    ImageModeTick() {
        WriteDefaultSkin(SkinIni("True", "zefro.png"));
        SetTime(7, 45, 0);
        AddTaskbarClock(60, 20);
        frmMain.Get();
        ClockSettings.BeatTime = false;
        frmMain->tmrClock_Timer();
    }
    QRgb At(int x, int y) { return frmMain->picBuffer.image.Pixel(x, y); }
    const QRgb background_ = qRgb(0, 0, 64);
};

TEST_F(ImageModeTick, LaysTheCellsOnTheGrid) {
    struct Expected {
        int left, width, cell;
    };
    for (const Expected& e : {Expected{12, 8, 0}, Expected{20, 8, 7}, Expected{28, 4, 11},
                              Expected{32, 8, 4}, Expected{40, 8, 5}}) {
        SCOPED_TRACE(e.left);
        EXPECT_EQ(At(e.left, 4), CellColour(e.cell));
        EXPECT_EQ(At(e.left + e.width - 1, 14), CellColour(e.cell));
    }
    EXPECT_EQ(At(11, 4), background_);
    EXPECT_EQ(At(48, 4), background_);
    EXPECT_EQ(At(12, 3), background_);
    EXPECT_EQ(At(12, 15), background_);
}

TEST_F(ImageModeTick, BeatLayoutStartsWithTheAtCell) {
    ClockSettings.BeatTime = true;  // 07:45 at UTC+1 is @323
    frmMain->tmrClock_Timer();
    EXPECT_EQ(At(14, 4), CellColour(10));
    EXPECT_EQ(At(22, 4), CellColour(3));
    EXPECT_EQ(At(30, 4), CellColour(2));
    EXPECT_EQ(At(38, 4), CellColour(3));
    EXPECT_EQ(At(46, 4), background_);
}

}  // namespace
}  // namespace tikora::testing
