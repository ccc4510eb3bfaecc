// SPDX-License-Identifier: MIT
// libtikora-bench-clock-shift.so, loaded with LD_PRELOAD: the process sees the wall clock moved by
// the number of milliseconds written in the file $TIKORA_CLOCK_SHIFT, while the machine's clock is
// never touched. Writing a new number into the file (in one rename) moves the process's clock at
// once and, as a real setting of the clock does, wakes every timer descriptor armed with
// TFD_TIMER_CANCEL_ON_SET. For bench/measure-process: the lag from setting the clock to the new
// picture on screen. clock_gettime, gettimeofday and time are moved (the wall clock only); timers
// on the wall clock are not, which serves programs that arm them only to hear of clock changes.

#include <dlfcn.h>
#include <sys/inotify.h>
#include <sys/time.h>
#include <sys/timerfd.h>
#include <unistd.h>

#include <array>
#include <atomic>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <thread>

namespace {

std::atomic<long long> shiftNanoseconds{0};
std::array<std::atomic<int>, 8> cancelOnSet;  // descriptors, -1 for a free place

template <class Function>
Function* Real(const char* name) {
    return reinterpret_cast<Function*>(dlsym(RTLD_NEXT, name));
}

long long ReadShift(const std::string& file) {
    long long milliseconds = 0;
    if (FILE* in = std::fopen(file.c_str(), "r")) {
        if (std::fscanf(in, "%lld", &milliseconds) != 1) {
            milliseconds = 0;
        }
        std::fclose(in);
    }
    return milliseconds * 1'000'000;
}

// Waits for the file to be written or replaced; then moves the clock and fires the timers.
void FollowShiftFile(const std::string& file) {
    const std::size_t slash = file.rfind('/');
    const std::string folder = slash == std::string::npos ? "." : file.substr(0, slash);
    const std::string name = file.substr(slash == std::string::npos ? 0 : slash + 1);
    const int watch = inotify_init1(IN_CLOEXEC);
    inotify_add_watch(watch, folder.c_str(), IN_CLOSE_WRITE | IN_MOVED_TO);
    alignas(inotify_event) char events[4096];
    for (;;) {
        const ssize_t length = read(watch, events, sizeof events);
        if (length <= 0) {
            return;
        }
        bool ours = false;
        for (ssize_t at = 0; at < length;) {
            const auto* event = reinterpret_cast<const inotify_event*>(events + at);
            ours = ours || (event->len > 0 && name == event->name);
            at += static_cast<ssize_t>(sizeof(inotify_event) + event->len);
        }
        if (!ours) {
            continue;
        }
        shiftNanoseconds = ReadShift(file);
        static auto* settime = Real<decltype(timerfd_settime)>("timerfd_settime");
        itimerspec now{};
        now.it_value.tv_nsec = 1;
        for (std::atomic<int>& fd : cancelOnSet) {
            const int descriptor = fd.exchange(-1);
            if (descriptor >= 0) {
                settime(descriptor, 0, &now, nullptr);
            }
        }
    }
}

[[gnu::constructor]] void Start() {
    for (std::atomic<int>& fd : cancelOnSet) {
        fd = -1;
    }
    const char* file = std::getenv("TIKORA_CLOCK_SHIFT");
    if (file == nullptr) {
        return;
    }
    shiftNanoseconds = ReadShift(file);
    std::thread(FollowShiftFile, std::string(file)).detach();
}

void Shift(timespec* time) {
    const long long total = time->tv_nsec + shiftNanoseconds.load();
    time->tv_sec += total / 1'000'000'000;
    time->tv_nsec = total % 1'000'000'000;
    if (time->tv_nsec < 0) {
        time->tv_nsec += 1'000'000'000;
        time->tv_sec -= 1;
    }
}

}  // namespace

extern "C" {

int clock_gettime(clockid_t clock, timespec* time) noexcept {
    static auto* real = Real<int(clockid_t, timespec*)>("clock_gettime");
    const int result = real(clock, time);
    if (result == 0 && (clock == CLOCK_REALTIME || clock == CLOCK_REALTIME_COARSE)) {
        Shift(time);
    }
    return result;
}

int gettimeofday(timeval* time, void*) noexcept {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    time->tv_sec = now.tv_sec;
    time->tv_usec = now.tv_nsec / 1000;
    return 0;
}

time_t time(time_t* result) noexcept {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    if (result != nullptr) {
        *result = now.tv_sec;
    }
    return now.tv_sec;
}

int timerfd_settime(int fd, int flags, const itimerspec* value, itimerspec* old) noexcept {
    static auto* real = Real<decltype(timerfd_settime)>("timerfd_settime");
    if ((flags & TFD_TIMER_CANCEL_ON_SET) != 0) {
        for (std::atomic<int>& place : cancelOnSet) {
            int free = -1;
            if (place.load() == fd || place.compare_exchange_strong(free, fd)) {
                break;
            }
        }
    }
    return real(fd, flags, value, old);
}

}  // extern "C"
