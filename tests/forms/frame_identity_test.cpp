// The clock draws only the part of picBuffer its window can show and repaints the window only for
// a new frame; these tests hold that what the window shows stays exactly what clearing and drawing
// all of picBuffer at every tick, and repainting every time, would show.

#include <QCoreApplication>
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QWindow>

#include "clock/clock_text.h"
#include "clock/text_layout.h"
#include "forms/form_fixture.h"
#include "platform/text_painter.h"
#include "qt/modSkins.h"

namespace tikora::testing {
namespace {

const std::string kShippedSkins = std::string(TIKORA_TEST_DATA) + "/../../Skins";

int Differing(const PixelBuffer& a, const PixelBuffer& b) {
    if (a.Width() != b.Width() || a.Height() != b.Height()) {
        return a.Width() * a.Height() + 1;
    }
    int differing = 0;
    for (int y = 0; y < a.Height(); ++y) {
        for (int x = 0; x < a.Width(); ++x) {
            differing += a.Pixel(x, y) != b.Pixel(x, y);
        }
    }
    return differing;
}

class PaintCounter final : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// Docked over a taskbar clock of 60 x 22 pixels: picBuffer is 900 x 330, the window 60 x 22.
class FrameIdentity : public FormTest {
  protected:
    FrameIdentity() { AddTaskbarClock(60, 22); }
    ClockWindow& Clock() { return frmMain.Get(); }

    void UseSkin(const std::string& name, bool displayImage) {
        skin_ = name;
        ASSERT_TRUE(LoadSkinInto(Clock(), kShippedSkins + "/" + name, name + ".ini")) << name;
        SkinSettings.DisplayImage = displayImage;
    }

    // The same tick drawn by a new window of the same sizes into a picBuffer that held nothing
    // before: what a clear of all of picBuffer would leave.
    PixelBuffer FreshFrame() {
        const bool displayImage = SkinSettings.DisplayImage;
        ClockWindow fresh;
        EXPECT_TRUE(LoadSkinInto(fresh, kShippedSkins + "/" + skin_, skin_ + ".ini"));
        SkinSettings.DisplayImage = displayImage;
        fresh.resize(Clock().size());
        fresh.picBuffer.SetSize(Clock().picBuffer.Width(), Clock().picBuffer.Height());
        fresh.tmrClock_Timer();
        return fresh.picBuffer.image;
    }

    // The shown text drawn with no limit on where its ink may go, into a picBuffer of the
    // clock's size that held nothing before.
    PixelBuffer UnlimitedText() {
        const DrawingBox& box = Clock().picBuffer;
        const std::string text = ClockSettings.BeatTime ? BeatText(Clock().InternetTime())
                                                        : TimeText(time_.now.hour, time_.now.minute,
                                                                   SkinSettings.Separator);
        TextPainter painter;
        const TextExtent extent = painter.Measure(text, {box.FontName, box.FontSize, 96});
        PixelBuffer unlimited(box.Width(), box.Height(), ColorRefToArgb(box.BackColor));
        painter.Draw(unlimited, text, {box.FontName, box.FontSize, 96},
                     ColorRefToArgb(box.ForeColor),
                     TextOrigin(Clock().width(), Clock().height(), extent.width, extent.height),
                     {0, 0, box.Width(), box.Height()});
        return unlimited;
    }

    std::string skin_;
};

TEST_F(FrameIdentity, EveryTickLeavesPicBufferAsAClearOfAllOfItWould) {
    struct Step {
        const char* skin;
        bool displayImage;
        int width, height;  // the window's
    };
    // Image and text mode, skins of other colours and fonts, and the window shrinking and
    // growing, each after the other so that every tick starts from what the last one left.
    for (const Step& step :
         {Step{"Zefro", true, 60, 22}, Step{"Plain", false, 60, 22}, Step{"Zefro", true, 60, 22},
          Step{"Zefro", false, 60, 22}, Step{"Beacon", true, 60, 22}, Step{"Segment", false, 30, 9},
          Step{"Segment", false, 60, 22}, Step{"Paper", true, 12, 6}, Step{"Paper", true, 60, 22},
          Step{"Plain", false, 200, 48}}) {
        UseSkin(step.skin, step.displayImage);
        Clock().resize(step.width, step.height);
        for (const bool beat : {false, true}) {
            for (const int seconds : {45296, 25500, 86399, 0}) {
                SCOPED_TRACE(std::string(step.skin) + (step.displayImage ? " image " : " text ") +
                             std::to_string(step.width) + (beat ? " beat " : " time ") +
                             std::to_string(seconds));
                SetTime(seconds / 3600, seconds / 60 % 60, seconds % 60);
                ClockSettings.BeatTime = beat;
                Clock().tmrClock_Timer();
                ASSERT_EQ(Differing(Clock().picBuffer.image, FreshFrame()), 0);
            }
        }
    }
}

TEST_F(FrameIdentity, TextComesOutAsIfItsInkWereNotLimited) {
    // Every shipped font at its skin's size; the window at its size, and so small that the text
    // runs out of it on every side; separators whose ink reaches past the measured text, above
    // ("Å") and below ("_") it.
    for (const char* skin : {"Plain", "Paper", "Segment", "Beacon"}) {
        UseSkin(skin, false);
        for (const auto& [width, height] : {std::pair{60, 22}, std::pair{12, 6}}) {
            Clock().resize(width, height);
            for (const char* separator : {":", "\xC3\x85", "_"}) {
                SkinSettings.Separator = separator;
                for (const bool beat : {false, true}) {
                    SCOPED_TRACE(std::string(skin) + " " + std::to_string(width) + " " + separator +
                                 (beat ? " beat" : " time"));
                    SetTime(20, 48, 33);
                    ClockSettings.BeatTime = beat;
                    Clock().tmrClock_Timer();
                    ASSERT_EQ(Differing(Clock().picBuffer.image, UnlimitedText()), 0);
                }
            }
        }
    }
}

class ShownWindow : public FrameIdentity {
  protected:
    ShownWindow() {
        UseSkin("Zefro", true);
        ClockSettings.BeatTime = false;
        SetTime(9, 41, 0);
        Clock().tmrClock.stop();  // the test ticks by itself
        Clock().show();
        for (int i = 0; i < 100 && !Clock().windowHandle()->isExposed(); ++i) {
            QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
        Clock().installEventFilter(&counter_);
    }

    // Paints caused by one tick, once the event loop has delivered what the tick posted.
    int PaintsOfATick() {
        counter_.paints = 0;
        Clock().tmrClock_Timer();
        QCoreApplication::sendPostedEvents();
        return counter_.paints;
    }

    // What the platform shows in the window, in the window's pixels.
    PixelBuffer WindowContent() {
        const QImage shown = QGuiApplication::primaryScreen()
                                 ->grabWindow(Clock().winId())
                                 .toImage()
                                 .convertToFormat(QImage::Format_RGB32);
        PixelBuffer content(shown.width(), shown.height());
        for (int y = 0; y < shown.height(); ++y) {
            for (int x = 0; x < shown.width(); ++x) {
                content.FillRect(x, y, 1, 1, shown.pixel(x, y));
            }
        }
        return content;
    }

    PixelBuffer WindowPartOfPicBuffer() {
        PixelBuffer part(Clock().width(), Clock().height());
        BlockCopy(part, 0, 0, part.Width(), part.Height(), Clock().picBuffer.image, 0, 0);
        return part;
    }

    PaintCounter counter_;
};

TEST_F(ShownWindow, OnlyANewFrameRepaintsTheWindow) {
    ASSERT_TRUE(Clock().windowHandle()->isExposed());
    EXPECT_EQ(PaintsOfATick(), 1);  // the first frame with the time in it
    EXPECT_EQ(PaintsOfATick(), 0);  // 09:41 again
    SetTime(9, 41, 59);
    EXPECT_EQ(PaintsOfATick(), 0);
    SetTime(9, 42, 0);
    EXPECT_EQ(PaintsOfATick(), 1);
    ClockSettings.BeatTime = true;
    EXPECT_EQ(PaintsOfATick(), 1);
    EXPECT_EQ(PaintsOfATick(), 0);
    UseSkin("Paper", true);  // other colours, other cells
    EXPECT_EQ(PaintsOfATick(), 1);
    EXPECT_EQ(Differing(WindowContent(), WindowPartOfPicBuffer()), 0);
}

TEST_F(ShownWindow, AfterARepaintOfPartOfTheWindowTheNextTickRepaintsAllOfIt) {
    EXPECT_EQ(PaintsOfATick(), 1);
    Clock().update(QRect(0, 0, 5, 5));
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(PaintsOfATick(), 1);
    EXPECT_EQ(PaintsOfATick(), 0);
    Clock().resize(50, 20);  // repainted at once, and the next tick centres the cells anew
    QCoreApplication::sendPostedEvents();
    EXPECT_EQ(PaintsOfATick(), 1);
    EXPECT_EQ(PaintsOfATick(), 0);
    EXPECT_EQ(Differing(WindowContent(), WindowPartOfPicBuffer()), 0);
}

}  // namespace
}  // namespace tikora::testing
