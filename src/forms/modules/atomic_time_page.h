// SPDX-License-Identifier: MIT
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

#include "atomic/daytime_reply.h"
#include "atomic/running_displays.h"
#include "atomic/status_text.h"
#include "modules/clock_timer.h"

namespace tikora {

// The preferences window's timers: each display's, set for the moment its shown second changes,
// and the time a query has to connect and answer.
enum class PrefsTimer { LocalTime, AtomicTime, AtomicQuery };

// What the preferences window lends its page: labels, the update button, timers, the socket and
// the question box, in each set of windows' own controls.
class AtomicTimeControls {
  public:
    virtual void ShowTime(DisplayId display, const std::string& text) = 0;
    virtual void ShowStatus(const std::string& text) = 0;
    virtual void EnableUpdate(bool enabled) = 0;
    // Each timer is set for one moment only.
    virtual void StartTimer(PrefsTimer timer, int milliseconds) = 0;
    virtual void StopTimer(PrefsTimer timer) = 0;
    // Opens the Daytime connection; nothing is sent, the server writes as soon as it stands.
    virtual void Connect(const std::string& host, std::uint16_t port) = 0;
    // Drops the connection without a word from it afterwards.
    virtual void Disconnect() = 0;
    // A modal yes-or-no question; the window may be gone when it returns.
    virtual bool Ask(const std::string& question) = 0;

  protected:
    ~AtomicTimeControls() = default;
};

// The ":: Atomic Time ::" page of the preferences window, apart from its controls, for both sets
// of windows: it asks a Daytime server for the time, runs the local and atomic displays (a
// RunningDisplays model, fed a reading of the computer's clock at every event) and sets the
// computer's clock from the atomic one. The window forwards its clicks, ticks and socket events.
class AtomicTimePage {
  public:
    explicit AtomicTimePage(AtomicTimeControls& controls);

    // Fills the server table (the window lists its names) and starts the displays: the timers run
    // from the load on; the atomic display stands still until it gets a base.
    void Load();
    // Whether the window may close now: not while the clock is being set, so that how it went is
    // never lost (the status line then says why it stays).
    bool MayClose();
    // Stops the timers and the query: the window is about to go.
    void Unload();
    // At each wake of the clock: the local display follows a jump of the computer's clock.
    void ClockMayHaveJumped();

    // Asks the server at `serverIndex` of the table; only the last click's answer counts.
    void GetAtomicTime(int serverIndex);
    // Whether the socket's data still counts, and how much of it a reply may still take.
    bool AwaitingReply() const { return awaitingReply_; }
    std::size_t ReplyRoom() const { return reply_.Room(); }
    void DataArrived(std::string_view piece);
    // The server closed the connection: whatever it sent is all there is.
    void ConnectionClosed();
    void ConnectionFailed(QueryFailure failure, const std::string& detail = {});
    void TimerFired(PrefsTimer timer);
    void Synchronise();
    void UpdateLocalTime();

  private:
    void Draw(DisplayId display, const ClockReading& now);
    void DrawBoth(const ClockReading& now);
    void HandleReply();
    void QueryFailed(QueryFailure failure, const std::string& detail = {});
    void CloseQuery();
    void ClockSet(const ClockSetReport& report, std::chrono::nanoseconds change);

    AtomicTimeControls& controls_;
    std::string remoteHost_;
    DaytimeReply reply_;
    ClockReading firstByte_;  // when the reply's first byte came
    bool awaitingReply_ = false;
    bool settingClock_ = false;
    RunningDisplays displays_;
    // Expires with the page: a question's answer or the setter's report may come after it.
    std::shared_ptr<const bool> alive_ = std::make_shared<const bool>(true);
    ClockWakeFollower wakeFollower_{[this] { ClockMayHaveJumped(); }};
};

}  // namespace tikora
