// SPDX-License-Identifier: MIT
#pragma once

// Other programs a test starts (X servers, panels, the clock), and polling for what they do.

#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <optional>
#include <string>
#include <thread>
#include <utility>

namespace tikora::testing {

// Polls `condition`, which asks the X server or a child process, until it holds or time is up;
// the bound is generous, as a loaded machine or a sanitizer build starts programs slowly.
inline bool WaitFor(const std::function<bool()>& condition) {
    using namespace std::chrono_literals;
    for (const auto end = std::chrono::steady_clock::now() + 30s; !condition();) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(50ms);
    }
    return true;
}

inline bool Installed(const std::string& program) {
    return std::system(("command -v " + program + " >/dev/null").c_str()) == 0;
}

// A shell command run under timeout(1), whose process group goes with it, so that nothing
// outlives a test that dies; its standard output on a pipe. Ended when the object goes.
class ChildProcess {
  public:
    explicit ChildProcess(const std::string& command)
        : output_(popen(("echo $$; exec timeout -k 2 150 " + command).c_str(), "r")),
          pid_(std::atoi(ReadLine().value_or("0").c_str())) {}
    ~ChildProcess() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
        }
        pclose(output_);
    }
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    std::optional<std::string> ReadLine() {
        char line[256];
        if (std::fgets(line, sizeof line, output_) == nullptr) {
            return std::nullopt;
        }
        return std::string(line, std::strcspn(line, "\n"));
    }
    bool Running() const { return waitpid(pid_, nullptr, WNOHANG) == 0; }
    // Sends SIGTERM and waits for the end: the exit status, -1 when a signal ended it.
    int End() {
        kill(pid_, SIGTERM);
        return Wait();
    }
    int Wait() {
        int status = 0;
        waitpid(std::exchange(pid_, 0), &status, 0);
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    FILE* output_;
    pid_t pid_;
};

}  // namespace tikora::testing
