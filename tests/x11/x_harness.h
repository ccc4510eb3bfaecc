#pragma once

// Around the X11 tests: a private Xvfb, programs run against it, and an xcb connection of the
// test's own to look at the windows the programs make.

#include <sys/types.h>
#include <xcb/xcb.h>

#include <chrono>
#include <functional>
#include <optional>
#include <string>
#include <vector>

namespace tikora::testing {

using namespace std::chrono_literals;

// Polls `condition` until it holds (true) or `timeout` passes (false).
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s);

// A program (found in $PATH) with its standard output read through a pipe and its standard error
// written to `errorFile`. Stopped when the object goes, and killed if the test process dies first.
class ChildProcess {
  public:
    explicit ChildProcess(std::vector<std::string> command,
                          const std::string& errorFile = "/dev/null");
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Running();
    // The next line of standard output, or nothing by the timeout or the end of the output.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout = 10s);

  private:
    pid_t pid_ = -1;
    int output_ = -1;
};

// An Xvfb on the first free display; `display` is empty when Xvfb is missing or did not start.
struct Xvfb : ChildProcess {
    Xvfb(int width, int height);
    std::string display;
};

struct WindowState {
    xcb_window_t parent = XCB_WINDOW_NONE;
    int x = 0, y = 0, width = 0, height = 0;
    bool mapped = false;
    bool viewable = false;
};

class XClient {
  public:
    explicit XClient(const std::string& display);
    ~XClient() { xcb_disconnect(connection); }
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    // Returns once the server has handled every request sent so far.
    void Sync();
    // The first window in the tree whose WM_NAME is `name`, or XCB_WINDOW_NONE.
    xcb_window_t FindByName(const std::string& name);
    std::optional<WindowState> State(xcb_window_t window);
    xcb_window_t SelectionOwner(const char* selection);
    // The minimum width in WM_NORMAL_HINTS, when set.
    std::optional<int> MinimumWidth(xcb_window_t window);
    // Viewable and showing more than one colour.
    bool Drawn(xcb_window_t window);

    xcb_connection_t* const connection;
    xcb_window_t root = XCB_WINDOW_NONE;  // none when the connection failed
};

}  // namespace tikora::testing
