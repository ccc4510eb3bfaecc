// SPDX-License-Identifier: MIT
// The clock window's tick and its parts, through the same code the program runs: the real clock
// window, docked over a taskbar clock of a given size, with the real clock and time zone and the
// shipped skins, on Qt's offscreen platform.

#include <benchmark/benchmark.h>

#include <QApplication>
#include <QCoreApplication>
#include <QEvent>
#include <QWindow>
#include <optional>
#include <string>

#include "clock/clock_frame.h"
#include "modules/modSkins.h"
#include "platform/services.h"
#include "platform/window_finder.h"
#include "posix/system_time_source.h"
#include "posix/system_time_zone.h"
#include "qt/frmMain.h"
#include "shared/modDefs.h"

namespace tikora {
namespace {

const std::string kSourceFolder = TIKORA_SOURCE_DIR;

// The application the windows need, made on first use and kept to the end of the process: the
// clock window is real, only the screen is not.
void MakeApplication() {
    static int argc = 1;
    static char name[] = "tikora_benchmarks";
    static char* argv[] = {name, nullptr};
    if (QCoreApplication::instance() == nullptr) {
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
            qputenv("QT_QPA_PLATFORM", "offscreen");
        }
        // Qt's own notes (fonts, platform) would land between the result lines.
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString&) {});
        new QApplication(argc, argv);  // never deleted: windows outlive the benchmarks
    }
}

std::string SkinFolder(const std::string& name) {
    return kSourceFolder + "/Skins/" + name;
}

// A desktop whose taskbar has a clock window of the given size, as the X11 window finder would
// find it.
class TaskbarWithClock final : public WindowFinder {
  public:
    TaskbarWithClock(int width, int height) : clock_{700, 4, 700 + width, 4 + height} {}

    WindowHandle FindTopLevel(std::string_view windowClass) const override {
        return windowClass == "Shell_TrayWnd" ? 1 : 0;
    }
    WindowHandle FindChild(WindowHandle parent, std::string_view windowClass) const override {
        if (parent == 1 && windowClass == "TrayNotifyWnd") {
            return 2;
        }
        return parent == 2 && windowClass == "TrayClockWClass" ? 3 : 0;
    }
    bool GetWindowRect(WindowHandle window, WindowRect& rect) const override {
        if (window != 3) {
            return false;
        }
        rect = clock_;
        return true;
    }
    void SetParent(WindowHandle, WindowHandle) override {}

  private:
    WindowRect clock_;
};

// The machine's clock, or a clock that moves on 127 seconds at every reading, so that every tick
// shows new texts and draws a new frame.
class BenchTime final : public TimeSource {
  public:
    explicit BenchTime(bool stepping) : stepping_(stepping) {}
    LocalTime Now() const override {
        if (!stepping_) {
            return system_.Now();
        }
        seconds_ = (seconds_ + 127) % 86400;
        LocalTime now;
        now.hour = seconds_ / 3600;
        now.minute = seconds_ / 60 % 60;
        now.second = seconds_ % 60;
        return now;
    }

  private:
    bool stepping_;
    SystemTimeSource system_;
    mutable int seconds_ = 0;
};

// Counts the paint events the window receives.
class PaintCounter final : public QObject {
  public:
    int paints = 0;

  protected:
    bool eventFilter(QObject*, QEvent* event) override {
        paints += event->type() == QEvent::Paint;
        return false;
    }
};

// The program as it runs docked over a taskbar clock of the given size: the whole start-up
// (docking, settings, the default skin Zefro), the window shown, the source tree as the program's
// folder so that the shipped skins lie beside it. No settings store, no system tray, and a clock
// that is never set. The window is on Qt's offscreen platform, whose backing store is an image in
// memory: the paint is the same, only the last copy to an X server is missing.
class DockedClock {
  public:
    DockedClock(int width, int height, bool steppingTime = false)
        : time_(steppingTime),
          windows_(width, height),
          services_(Services{&time_, &zone_, [] { return kSourceFolder; },
                             [] { return std::string(); }, [] { return std::string(); }, &windows_,
                             nullptr, &noClock_}) {
        MakeApplication();
        ResetSharedState();
        clock_ = &frmMain.Get();
        // The benchmark ticks by itself; no event loop runs, but no timer should wait either.
        clock_->tmrClock.stop();
        clock_->show();
        // The offscreen platform reports the window exposed through its event queue.
        for (int i = 0; i < 100 && !clock_->windowHandle()->isExposed(); ++i) {
            QCoreApplication::processEvents();
        }
        QCoreApplication::processEvents();
    }
    ~DockedClock() {
        frmMain.Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ResetSharedState();
    }
    DockedClock(const DockedClock&) = delete;
    DockedClock& operator=(const DockedClock&) = delete;

    ClockWindow& Clock() { return *clock_; }

    bool UseSkin(const std::string& name) {
        return LoadSkinInto(*clock_, SkinFolder(name), name + ".ini");
    }

    // What the event loop does after a tick: the posted events delivered, among them the repaint
    // that update() asked for, painted into the window's backing store and flushed.
    void Flush() { QCoreApplication::sendPostedEvents(); }

    // How often one tick and its flush paint the window: once when the frame is new, which proves
    // that the benchmark measures the paint and not only the drawing.
    int PaintsInATick() {
        PaintCounter counter;
        clock_->installEventFilter(&counter);
        clock_->tmrClock_Timer();
        Flush();
        clock_->removeEventFilter(&counter);
        return counter.paints;
    }

  private:
    BenchTime time_;
    SystemTimeZone zone_;
    TaskbarWithClock windows_;
    RefusingClockSetter noClock_;
    ScopedServices services_;
    ClockWindow* clock_ = nullptr;
};

// One tick and its repaint: the benchmarks' loop body, kept out of line so that a profiler can
// count exactly this (valgrind --tool=callgrind --toggle-collect='*OneTick*').
[[gnu::noinline]] void OneTick(DockedClock& docked) {
    docked.Clock().tmrClock_Timer();
    docked.Flush();
}

struct TickCase {
    const char* skin;  // Zefro draws glyphs from its picture, Plain draws text
    int width;
    int height;
    bool beat;
    bool newFrame;  // every tick shows new texts; otherwise the real clock's time
};

// One tick of the clock's timer: both texts composed, Internet Time, the shown one drawn into
// picBuffer, and the window repainted from it. With the real clock, the texts change only once a
// minute, and the window is left alone when the frame is the one it shows.
void BM_Tick(benchmark::State& state, TickCase c) {
    DockedClock docked(c.width, c.height, c.newFrame);
    if (!docked.UseSkin(c.skin)) {
        state.SkipWithError("the skin did not load");
        return;
    }
    ClockSettings.BeatTime = c.beat;
    docked.PaintsInATick();
    if (c.newFrame && docked.PaintsInATick() != 1) {
        state.SkipWithError("a tick with a new frame did not repaint the window once");
        return;
    }
    for (auto _ : state) {
        OneTick(docked);
    }
    const PixelBuffer& buffer = docked.Clock().picBuffer.image;
    state.SetLabel(std::to_string(buffer.Width()) + "x" + std::to_string(buffer.Height()) +
                   " picBuffer");
}
BENCHMARK_CAPTURE(BM_Tick, Image_Zefro_60x22_beat, TickCase{"Zefro", 60, 22, true, true});
BENCHMARK_CAPTURE(BM_Tick, Image_Zefro_60x22_time, TickCase{"Zefro", 60, 22, false, true});
BENCHMARK_CAPTURE(BM_Tick, Image_Zefro_200x48_beat, TickCase{"Zefro", 200, 48, true, true});
BENCHMARK_CAPTURE(BM_Tick, Text_Plain_60x22_beat, TickCase{"Plain", 60, 22, true, true});
BENCHMARK_CAPTURE(BM_Tick, Text_Plain_60x22_time, TickCase{"Plain", 60, 22, false, true});
BENCHMARK_CAPTURE(BM_Tick, Text_Plain_200x48_beat, TickCase{"Plain", 200, 48, true, true});
// A tray's square slot: the compact face, from the strip (24) or in the skin's font (22).
BENCHMARK_CAPTURE(BM_Tick, Compact_Zefro_24x24_time, TickCase{"Zefro", 24, 24, false, true});
BENCHMARK_CAPTURE(BM_Tick, Compact_Zefro_22x22_time, TickCase{"Zefro", 22, 22, false, true});
BENCHMARK_CAPTURE(BM_Tick, Compact_Plain_22x22_beat, TickCase{"Plain", 22, 22, true, true});
BENCHMARK_CAPTURE(BM_Tick, Image_Zefro_60x22_time_sameFrame,
                  TickCase{"Zefro", 60, 22, false, false});
BENCHMARK_CAPTURE(BM_Tick, Text_Plain_60x22_time_sameFrame,
                  TickCase{"Plain", 60, 22, false, false});

// One cell of Zefro's strip copied into picBuffer: the minutes' first digit of the time layout.
void BM_DrawGlyph(benchmark::State& state) {
    DockedClock docked(60, 22);
    ClockWindow& clock = docked.Clock();
    const std::optional<GlyphCopy> copy = PlaceGlyph(
        U'7', 3, false, FaceOf(SkinSettings, ClockSettings).metrics, clock.width(), clock.height());
    if (!copy) {
        state.SkipWithError("no cell for a digit");
        return;
    }
    for (auto _ : state) {
        clock.DrawGlyph(*copy);
        benchmark::ClobberMemory();
    }
}
BENCHMARK(BM_DrawGlyph);

// What a tick does before it draws: the real clock and zone read once, and the frame composed
// from them and Zefro's values, in the beat layout.
void BM_ReadAndComposeFrame(benchmark::State& state) {
    DockedClock docked(60, 22);
    const ClockWindow& clock = docked.Clock();
    ClockSettings.BeatTime = true;
    const ClockFace face = FaceOf(SkinSettings, ClockSettings);
    for (auto _ : state) {
        TickReading reading;
        reading.now = Platform().time->Now();
        clock.Get_TimeZone(reading.zoneOffset);
        benchmark::DoNotOptimize(ComposeFrame(reading, face, clock.width(), clock.height()));
    }
}
BENCHMARK(BM_ReadAndComposeFrame);

// Zefro's skin file read and its picture decoded, into the running clock.
void BM_LoadSkinZefro(benchmark::State& state) {
    DockedClock docked(60, 22);
    ClockWindow& clock = docked.Clock();
    for (auto _ : state) {
        if (!LoadSkinInto(clock, SkinFolder("Zefro"), "Zefro.ini")) {
            state.SkipWithError("Zefro did not load");
            break;
        }
    }
}
BENCHMARK(BM_LoadSkinZefro);

}  // namespace
}  // namespace tikora

BENCHMARK_MAIN();
