// SPDX-License-Identifier: MIT
#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <string>
#include <vector>

#include "forms/fake_desktop.h"
#include "forms/temp_skins.h"
#include "modules/modMain.h"
#include "platform/services.h"
#include "qt/frmAbout.h"
#include "qt/frmChangeSkin.h"
#include "qt/frmMain.h"
#include "qt/frmMenu.h"
#include "qt/frmPrefs.h"
#include "shared/modDefs.h"

namespace tikora::testing {

class FixedTime final : public TimeSource {
  public:
    LocalTime now;
    LocalTime Now() const override { return now; }
};

class FixedZone final : public TimeZoneSource {
  public:
    TimeZoneReading reading{{-60, 0, -60}, kZoneStandardTime};
    TimeZoneReading Read() const override { return reading; }
};

// The clock's wake, woken by the test.
class FakeClockWake final : public ClockWake {
  public:
    std::function<void()> wake;
    int armed = -1;  // milliseconds, -1 for none
    void Listen(std::function<void()> listener) override { wake = std::move(listener); }
    void Arm(std::chrono::milliseconds delay) override { armed = static_cast<int>(delay.count()); }
    void Disarm() override { armed = -1; }
};

struct ShownError {
    std::string title;
    std::string message;
};

// Fresh shared state, a fixed clock and zone, a program folder holding a working default skin
// (text mode), a desktop of made-up windows, and an error box that records instead of blocking.
// Every window the test loaded is destroyed afterwards.
class FormTest : public ::testing::Test {
  protected:
    FormTest()
        : services_(Services{&time_, &zone_, [this] { return programFolder_; },
                             [this] { return settingsFolder_ / "registry.reg"; },
                             [this] { return mountTable_; }, &windows_, &tray_, &noClock_}) {
        WriteDefaultSkin(SkinIni("False", "zefro.png"));
        ResetSharedState();
        SetErrorBoxHook([this](const std::string& title, const std::string& message) {
            errors_.push_back({title, message});
        });
    }
    ~FormTest() override {
        frmPrefs.Unload();
        frmChangeSkin.Unload();
        frmAbout.Unload();
        frmMenu.Unload();
        frmMain.Unload();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        SetErrorBoxHook({});
        ResetSharedState();
    }

    void SetTime(int hour, int minute, int second) {
        time_.now.hour = hour;
        time_.now.minute = minute;
        time_.now.second = second;
    }

    void WriteDefaultSkin(const std::string& ini) {
        WriteFile(DefaultSkinFolder() + "/Zefro.ini", ini);
        WriteStrip(DefaultSkinFolder() + "/zefro.png", 8, 11, 4);
    }
    std::string DefaultSkinFolder() const { return programFolder_ + "/Skins/Zefro"; }

    // A taskbar whose clock window the clock will dock into, of the given size.
    void AddTaskbarClock(int width, int height) {
        windows_.AddTaskbar({700, 4, 700 + width, 4 + height});
    }

    FixedTime time_;
    FixedZone zone_;
    TempFolder programRoot_;
    std::string programFolder_ = programRoot_.Path().string();
    TempFolder settingsFolder_;
    std::string mountTable_ = "/dev/sda1 / ext4 rw 0 0\n";
    std::vector<ShownError> errors_;
    FakeWindowFinder windows_;
    FakeSystemTray tray_;
    // The machine's clock is never touched by a test.
    RefusingClockSetter noClock_;

  private:
    ScopedServices services_;
};

}  // namespace tikora::testing
