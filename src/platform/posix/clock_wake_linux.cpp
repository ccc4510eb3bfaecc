// SPDX-License-Identifier: MIT
#include <sys/inotify.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <limits>

#include "posix/clock_wake_sources.h"

namespace tikora {
namespace {

std::pair<std::string, std::string> FolderAndName(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos) {
        return {".", path};
    }
    return {slash == 0 ? "/" : path.substr(0, slash), path.substr(slash + 1)};
}

}  // namespace

WallClockTimer::WallClockTimer() : fd_(timerfd_create(CLOCK_REALTIME, TFD_NONBLOCK | TFD_CLOEXEC)) {
    ArmForJumps();
}

void WallClockTimer::ArmAt(const timespec& instant) {
    itimerspec value{};
    value.it_value = instant;
    if (Fd() >= 0) {
        timerfd_settime(Fd(), TFD_TIMER_ABSTIME | TFD_TIMER_CANCEL_ON_SET, &value, nullptr);
    }
}

void WallClockTimer::ArmAfter(std::chrono::nanoseconds delay) {
    constexpr long kSecond = 1'000'000'000;
    timespec instant{};
    clock_gettime(CLOCK_REALTIME, &instant);
    const long long wait = std::max<long long>(delay.count(), 0);
    instant.tv_sec += static_cast<std::time_t>(wait / kSecond);
    instant.tv_nsec += static_cast<long>(wait % kSecond);
    if (instant.tv_nsec >= kSecond) {
        instant.tv_nsec -= kSecond;
        ++instant.tv_sec;
    }
    ArmAt(instant);
}

void WallClockTimer::ArmForJumps() {
    ArmAt({std::numeric_limits<std::time_t>::max(), 0});
}

void WallClockTimer::Acknowledge() {
    // An expiry count when the instant came, ECANCELED after a jump.
    std::uint64_t expiries = 0;
    [[maybe_unused]] const auto read = ::read(Fd(), &expiries, sizeof expiries);
    ArmForJumps();
}

std::string LocalZoneFile(const char* tz, const char* tzdir) {
    if (tz == nullptr) {
        return "/etc/localtime";
    }
    std::string name = tz[0] == ':' ? tz + 1 : tz;
    if (name.empty()) {
        return {};  // UTC
    }
    if (name[0] != '/') {
        name = std::string(tzdir != nullptr && *tzdir != '\0' ? tzdir : "/usr/share/zoneinfo") +
               "/" + name;
    }
    return access(name.c_str(), R_OK) == 0 ? name : std::string();
}

ZoneFileWatch::ZoneFileWatch(std::string zoneFile)
    : file_(std::move(zoneFile)),
      fd_(file_.empty() ? -1 : inotify_init1(IN_NONBLOCK | IN_CLOEXEC)) {
    WatchFolders();
}

void ZoneFileWatch::WatchFolders() {
    for (const auto& [watch, name] : watched_) {
        inotify_rm_watch(Fd(), watch);
    }
    watched_.clear();
    if (Fd() < 0) {
        return;
    }
    std::vector<std::string> paths{file_};
    char resolved[PATH_MAX];
    if (realpath(file_.c_str(), resolved) != nullptr && file_ != resolved) {
        paths.emplace_back(resolved);
    }
    for (const std::string& path : paths) {
        auto [folder, name] = FolderAndName(path);
        const int watch = inotify_add_watch(
            Fd(), folder.c_str(),
            IN_CLOSE_WRITE | IN_MOVED_TO | IN_MOVED_FROM | IN_CREATE | IN_DELETE | IN_ONLYDIR);
        if (watch >= 0) {
            watched_.emplace_back(watch, std::move(name));
        }
    }
}

bool ZoneFileWatch::Changed() {
    alignas(inotify_event) char events[4096];
    bool changed = false;
    ssize_t length = 0;
    while ((length = ::read(Fd(), events, sizeof events)) > 0) {
        for (ssize_t at = 0; at < length;) {
            inotify_event event{};
            std::memcpy(&event, events + at, sizeof event);
            const char* name = events + at + sizeof event;
            // An overflowed queue may have dropped the very event that counts.
            changed = changed || (event.mask & IN_Q_OVERFLOW) != 0;
            for (const auto& [watch, watchedName] : watched_) {
                changed = changed || (event.wd == watch && event.len > 0 && watchedName == name);
            }
            at += static_cast<ssize_t>(sizeof event + event.len);
        }
    }
    if (changed) {
        WatchFolders();
    }
    return changed;
}

void ReloadLocalZone() {
    const char* tz = std::getenv("TZ");
    if (tz != nullptr && !LocalZoneFile(tz, std::getenv("TZDIR")).empty()) {
        static const std::string asGiven = tz;
        static bool respelled = false;
        respelled = !respelled;
        std::string spelling = asGiven;
        if (respelled) {
            const std::size_t name = asGiven[0] == ':' ? 1 : 0;
            spelling.insert(name, asGiven[name] == '/' ? "/." : "./");
        }
        // The environment is changed on the event loop's thread; the C library keeps the old
        // string alive, so a reader elsewhere still sees a whole value.
        setenv("TZ", spelling.c_str(), 1);
    }
    tzset();
}

}  // namespace tikora
