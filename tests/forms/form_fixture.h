#pragma once

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QEvent>
#include <string>
#include <vector>

#include "app/modDefs.h"
#include "app/modMain.h"
#include "clock/frmMain.h"
#include "forms/temp_skins.h"
#include "platform/services.h"

namespace tikora::testing {

class FixedTime final : public TimeSource {
  public:
    LocalTime now;
    LocalTime Now() const override { return now; }
};

class FixedZone final : public TimeZoneSource {
  public:
    TimeZoneReading reading{{-60, 0, -60}, TIME_ZONE_ID_STANDARD};
    TimeZoneReading Read() const override { return reading; }
};

struct ShownError {
    std::string title;
    std::string message;
};

// Fresh shared state, a fixed clock and zone, and an error box that records instead of blocking.
// Every window the test loaded is destroyed afterwards.
class FormTest : public ::testing::Test {
  protected:
    FormTest()
        : services_(Services{&time_, &zone_, [this] { return programFolder_; },
                             [this] { return settingsFolder_ / "registry.reg"; }}) {
        ResetSharedState();
        SetErrorBoxHook([this](const std::string& title, const std::string& message) {
            errors_.push_back({title, message});
        });
    }
    ~FormTest() override {
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

    FixedTime time_;
    FixedZone zone_;
    TempFolder programRoot_;
    std::string programFolder_ = programRoot_.Path().string();
    TempFolder settingsFolder_;
    std::vector<ShownError> errors_;

  private:
    ScopedServices services_;
};

}  // namespace tikora::testing
