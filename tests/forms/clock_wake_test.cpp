// SPDX-License-Identifier: MIT
// The clock sleeps until its shown text changes. A jump of the local time (the clock set, a
// resume, a new zone), a menu command and a new skin each draw at once what a tick at that moment
// draws.

#include "forms/form_fixture.h"
#include "modules/modSkins.h"

namespace tikora::testing {
namespace {

class Waking : public FormTest {
  protected:
    static Services With(ClockWake* wake) {
        Services services = Platform();
        services.clockWake = wake;
        return services;
    }
    std::vector<Argb> Shown() const {
        const PixelBuffer& image = frmMain->picBuffer.image;
        return {image.Data(), image.Data() + image.Width() * image.Height()};
    }
    std::vector<Argb> Ticked() {
        frmMain->tmrClock_Timer();
        return Shown();
    }
    int NextWake() const { return wake_.armed; }

    FakeClockWake wake_;
    ScopedServices withWake_{With(&wake_)};
};

TEST_F(Waking, SleepsUntilTheTextChangesAndDrawsAtOnceWhatChangesIt) {
    AddTaskbarClock(60, 22);
    SetTime(12, 34, 56);
    time_.now.nanosecond = 250'000'000;
    ClockWindow& clock = frmMain.Get();  // a first run: hours and minutes
    EXPECT_EQ(NextWake(), 0);            // the first frame at once
    QCoreApplication::sendPostedEvents();
    const std::vector<Argb> before = Ticked();
    EXPECT_EQ(NextWake(), 3750);

    SetTime(15, 0, 0);
    time_.now.nanosecond = 0;
    wake_.wake();  // the clock was set
    const std::vector<Argb> jumped = Shown();
    EXPECT_NE(jumped, before);
    EXPECT_EQ(jumped, Ticked());
    EXPECT_EQ(NextWake(), 60000);

    clock.Form_Click({10, 10});
    frmMenu->mnuBeat->trigger();  // @625 at 15:00 in UTC+1 until 625.5, 44 s on
    frmMenu->mnuMain.close();
    QCoreApplication::sendPostedEvents();
    const std::vector<Argb> beat = Shown();
    EXPECT_NE(beat, jumped);
    EXPECT_EQ(beat, Ticked());
    EXPECT_EQ(NextWake(), 44000);

    SetTime(16, 0, 0);  // @667
    ASSERT_TRUE(LoadSkin(DefaultSkinFolder(), "Zefro.ini"));
    QCoreApplication::sendPostedEvents();
    const std::vector<Argb> reskinned = Shown();
    EXPECT_NE(reskinned, beat);
    EXPECT_EQ(reskinned, Ticked());

    clock.tmrClock.stop();
    EXPECT_EQ(NextWake(), -1);
    SetTime(17, 0, 0);
    wake_.wake();
    EXPECT_EQ(Shown(), reskinned);  // a stopped clock stays as it is
}

}  // namespace
}  // namespace tikora::testing
