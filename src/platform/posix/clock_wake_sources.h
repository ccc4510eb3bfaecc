// SPDX-License-Identifier: MIT
#pragma once

#include <chrono>
#include <ctime>
#include <string>
#include <utility>
#include <vector>

#include "posix/descriptor.h"

namespace tikora {

// A timer descriptor on the wall clock, always armed with TFD_TIMER_CANCEL_ON_SET. It becomes
// readable at the instant it was armed for, to the microsecond (a poll timeout of a minute may end
// 60 ms late: the kernel lets a long timeout slip by a thousandth of its length), and as soon as
// the wall clock is set or steps or the machine resumes from suspend (the kernel then finds the
// wall clock moved against the monotonic clock by the time asleep, as a step moves it).
class WallClockTimer {
  public:
    WallClockTimer();
    // -1 when the system gives no such timer.
    int Fd() const { return fd_.Get(); }
    // Readable once `delay` of wall-clock time has passed (at once for none), or at a jump.
    void ArmAfter(std::chrono::nanoseconds delay);
    // Readable at a jump only.
    void ArmForJumps();
    // Takes the wake in; the timer is then armed for jumps only.
    void Acknowledge();

  private:
    void ArmAt(const timespec& instant);
    Descriptor fd_;
};

// The file the C library reads the local zone from: the one TZ names (without a leading colon; a
// relative name under TZDIR, else the system's zone folder), or /etc/localtime when TZ is unset.
// Empty when TZ is a rule of its own or a name without a file.
std::string LocalZoneFile(const char* tz, const char* tzdir);

// An inotify descriptor on the folder of the zone file and, when the file is a link, on the folder
// of the file it leads to: a file replaced by a rename (as the desktop's date-and-time settings do
// it), written, created or removed there makes it readable. Folders are watched rather than files
// because a rename leaves a watch on the old file behind.
class ZoneFileWatch {
  public:
    explicit ZoneFileWatch(std::string zoneFile);
    // -1 when there is nothing to watch.
    int Fd() const { return fd_.Get(); }
    // Reads what happened; true when it touched the zone file or the file its link leads to. The
    // watches then follow the link anew, since it may now lead elsewhere.
    bool Changed();

  private:
    void WatchFolders();
    std::string file_;
    Descriptor fd_;
    std::vector<std::pair<int, std::string>> watched_;  // watch descriptor, name in its folder
};

// Has the C library read the local zone again as it stands now. tzset() alone reads
// /etc/localtime again when that has changed, but takes a TZ it has seen before as unchanged even
// when its file was replaced: such a TZ is set once spelled another way that names the same file
// ("/./" or "./" in front), the next time back as it was.
void ReloadLocalZone();

}  // namespace tikora
