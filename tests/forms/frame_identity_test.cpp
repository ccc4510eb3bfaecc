// SPDX-License-Identifier: MIT
// The clock draws only the part of picBuffer its window shows, clears only what it drew, limits
// where text may leave ink and repaints the window only for a new frame. Whatever it saves that
// way, the window must show exactly the tick's frame drawn afresh.

#include <QCoreApplication>
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include "clock/clock_frame.h"
#include "clock/internet_time.h"
#include "forms/form_fixture.h"
#include "modules/face_picture.h"
#include "modules/modSkins.h"
#include "platform/text_painter.h"

namespace tikora::testing {
namespace {

// The tick's frame from the core, drawn into a buffer of the window's size that held nothing
// before, with no limit on where text may leave ink.
PixelBuffer FreshFrame(const ClockWindow& clock, const TickReading& reading) {
    // A window too narrow for the one line shows the compact face, as any picture of the clock.
    FacePainter painter;
    const FaceSlot slot{clock.width(), clock.height(), 1};
    if (painter.KindFor(LookOf(clock), slot) == FaceKind::Compact) {
        PixelBuffer picture;
        painter.Draw(picture, reading, LookOf(clock), slot);
        return picture;
    }
    const ClockFrame frame =
        ComposeFrame(reading, FaceOf(SkinSettings, ClockSettings), clock.width(), clock.height());
    const DrawingBox& box = clock.picBuffer;
    PixelBuffer fresh(clock.width(), clock.height(), ColorRefToArgb(box.BackColor));
    for (const GlyphCopy& g : frame.glyphs) {
        BlockCopy(fresh, g.destinationX, g.destinationY, g.width, g.height, clock.picSkin.picture,
                  g.sourceX, 0);
    }
    if (!SkinSettings.DisplayImage) {
        TextPainter painter;
        const FontSpec font{box.FontName, box.FontSize, 96};
        const TextExtent size = painter.Measure(frame.text, font);
        painter.Draw(fresh, frame.text, font, ColorRefToArgb(box.ForeColor),
                     TextOrigin(clock.width(), clock.height(), size.width, size.height),
                     {0, 0, fresh.Width(), fresh.Height()});
    }
    return fresh;
}

// Pixels of what the platform shows in the window that differ from `expected`.
int ShownPixelsOtherThan(const ClockWindow& clock, const PixelBuffer& expected) {
    const QImage shown = QGuiApplication::primaryScreen()->grabWindow(clock.winId()).toImage();
    int differing = shown.size() == QSize(expected.Width(), expected.Height()) ? 0 : -1;
    for (int y = 0; differing >= 0 && y < shown.height(); ++y) {
        for (int x = 0; x < shown.width(); ++x) {
            differing += (shown.pixel(x, y) | kOpaque) != expected.Pixel(x, y);
        }
    }
    return differing;
}

using FrameIdentity = FormTest;

TEST_F(FrameIdentity, TheWindowShowsEveryTicksFrameAsIfDrawnAfresh) {
    AddTaskbarClock(60, 22);  // so picBuffer is 900 x 330
    ClockWindow& clock = frmMain.Get();
    clock.tmrClock.stop();  // the test ticks by itself
    clock.show();
    for (int i = 0; i < 100 && !clock.windowHandle()->isExposed(); ++i) {
        QCoreApplication::processEvents();
    }
    // Both modes and skins of other colours and fonts, each step after the other so that every
    // tick starts from what the last one left; windows so low that the text runs out above and
    // below; separators whose ink reaches past the measured text, above ("Å") and below ("_");
    // square slots that get the compact face, and back to the one line.
    // clang-format off
    for (const auto& [skin, image, width, height, separator] :
         {std::tuple{"Zefro", true, 60, 22, ":"}, {"Plain", false, 60, 22, ":"},
          {"Zefro", true, 60, 22, "."}, {"Zefro", false, 60, 22, "\xC3\x85"},
          {"Beacon", true, 60, 22, ":"}, {"Segment", false, 60, 9, "_"},
          {"Segment", false, 60, 22, ":"}, {"Paper", true, 60, 6, ":"},
          {"Paper", false, 60, 6, "\xC3\x85"}, {"Plain", false, 200, 48, "_"},
          {"Zefro", true, 24, 24, ":"}, {"Plain", false, 22, 22, ":"},
          {"Beacon", true, 16, 16, ":"}, {"Zefro", true, 60, 22, ":"}}) {
        // clang-format on
        const std::string folder = std::string(TIKORA_TEST_DATA) + "/../../Skins/" + skin;
        ASSERT_TRUE(LoadSkinInto(clock, folder, std::string(skin) + ".ini"));
        SkinSettings.DisplayImage = image;
        SkinSettings.Separator = separator;
        clock.resize(width, height);
        for (const bool beat : {false, true}) {
            for (const int seconds : {45296, 86399, 0, 0}) {  // the last tick draws no new frame
                SetTime(seconds / 3600, seconds / 60 % 60, seconds % 60);
                ClockSettings.BeatTime = beat;
                clock.tmrClock_Timer();
                QCoreApplication::sendPostedEvents();
                const TickReading reading{time_.now, ZoneOffsetMinutes(zone_.reading)};
                ASSERT_EQ(ShownPixelsOtherThan(clock, FreshFrame(clock, reading)), 0)
                    << skin << " " << image << width << separator << beat << " " << seconds;
            }
        }
    }
}

}  // namespace
}  // namespace tikora::testing
