// The clock program as a user starts and ends it: its command line, no display, a second copy
// on the same display, and logout's SIGTERM after a change made through the menu.

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <thread>

#include "support/temp_folder.h"

namespace tikora::testing {
namespace {

using namespace std::chrono_literals;

// A shell command run to its end under timeout(1): its exit status and both its outputs.
std::pair<int, std::string> Shell(const std::string& command) {
    FILE* pipe = popen(("timeout -k 2 30 " + command + " 2>&1").c_str(), "r");
    std::string output;
    char buffer[256];
    while (pipe != nullptr && std::fgets(buffer, sizeof buffer, pipe) != nullptr) {
        output += buffer;
    }
    const int status = pipe != nullptr ? pclose(pipe) : -1;
    return {WIFEXITED(status) ? WEXITSTATUS(status) : -1, output};
}

// A program run in the background under timeout(1), with its standard output on a pipe; sent
// SIGTERM when the object goes, if it still runs.
class Background {
  public:
    explicit Background(const std::string& command)
        : output_(popen(("echo $$; exec timeout -k 2 60 " + command).c_str(), "r")),
          pid_(std::atoi(Line().c_str())) {}
    ~Background() {
        if (pid_ > 0) {
            kill(pid_, SIGTERM);
        }
        if (output_ != nullptr) {
            pclose(output_);
        }
    }
    Background(const Background&) = delete;
    Background& operator=(const Background&) = delete;

    std::string Line() {
        char line[64] = "";
        if (output_ == nullptr || std::fgets(line, sizeof line, output_) == nullptr) {
            return "";
        }
        return std::string(line, std::strcspn(line, "\n"));
    }
    bool Running() const { return waitpid(pid_, nullptr, WNOHANG) == 0; }
    // Sends `signal` and waits for the program's end: its exit status, -1 when a signal ended it.
    int End(int signal) {
        int status = 0;
        kill(pid_, signal);
        waitpid(pid_, &status, 0);
        pid_ = 0;
        return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    }

  private:
    FILE* output_;
    pid_t pid_;
};

// Asks a child process or the X server until `condition` holds or time is up.
bool WaitFor(const std::function<bool()>& condition) {
    for (const auto end = std::chrono::steady_clock::now() + 10s; !condition();) {
        if (std::chrono::steady_clock::now() >= end) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

TEST(Program, AnswersItsCommandLineAndSaysWhenThereIsNoDisplay) {
    const TempFolder home;
    const std::tuple<std::string, int, std::string> cases[] = {
        {"--help", 0, "Usage: tikora [--help | --version]\n"},
        {"--version", 0, "tikora "},
        {"--clock", 2, "Usage: tikora [--help | --version]\n"},
        {"", 1, "tikora: cannot open display \"\"\n"}};
    for (const auto& [argument, status, start] : cases) {
        const auto [exitStatus, output] =
            Shell("env -u DISPLAY QT_QPA_PLATFORM=xcb HOME=" + home.Path().string() +
                  " " TIKORA_BINARY " " + argument);
        EXPECT_EQ(exitStatus, status) << argument;
        EXPECT_EQ(output.substr(0, start.size()), start) << argument;
    }
}

// One clock per display: a second leaves at once and the first goes on. A choice made through
// the menu is kept when logout ends the clock with SIGTERM, and the end is an orderly one.
TEST(Program, OneClockPerDisplayKeepsItsChoiceThroughSigterm) {
    const TempFolder home;
    Background xvfb("Xvfb -displayfd 1 -screen 0 640x200x24 -nolisten tcp -noreset 2>" +
                    (home / "xvfb.log"));
    const std::string number = xvfb.Line();
    if (number.empty()) {
        GTEST_SKIP() << "Xvfb is not installed or did not start";
    }
    const std::string display = ":" + number;
    const std::string env = "env DISPLAY=" + display + " HOME=" + home.Path().string() +
                            " XDG_CONFIG_HOME=" + home.Path().string() +
                            " XDG_RUNTIME_DIR=" + home.Path().string() + " QT_QPA_PLATFORM=xcb ";
    const std::string settings = home / "tikora/registry.reg";

    Background clock(env + TIKORA_BINARY);
    const auto [found, window] = Shell(env + "xdotool search --sync --name ':: Tikora ::'");
    ASSERT_EQ(found, 0) << "the clock's window did not appear";

    const auto [second, note] = Shell(env + TIKORA_BINARY);
    EXPECT_EQ(second, 0);
    EXPECT_EQ(note, "tikora: already running on display \"" + display + "\"\n");
    EXPECT_TRUE(clock.Running()) << "the first clock ended";

    // The menu's Internet Time, off on a first run: a click on the clock, then its key.
    Shell(env + "xdotool mousemove --window " + window.substr(0, window.find('\n')) +
          " 2 2 click 1");
    EXPECT_TRUE(WaitFor([&] {
        return Shell(env + "xdotool search --onlyvisible --classname tikora").second.size() >
               window.size();
    })) << "the menu did not open";
    Shell(env + "xdotool key i");
    const auto saved = [&] {
        return ReadFile(settings).find("\"BeatTime\"=\"True\"") != std::string::npos;
    };
    EXPECT_TRUE(WaitFor(saved)) << "not saved at once";

    EXPECT_EQ(clock.End(SIGTERM), 0);
    EXPECT_TRUE(saved());
}

}  // namespace
}  // namespace tikora::testing
