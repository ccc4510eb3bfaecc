#pragma once

// What the X11 tests need around them: a private Xvfb, programs run against it, and a plain xcb
// connection to look at the windows the programs make.

#include <sys/types.h>
#include <xcb/xcb.h>

#include <chrono>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

namespace tikora::testing {

using namespace std::chrono_literals;

// Polls `condition` until it holds or `timeout` passes; true if it held.
bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout = 5s);

// True when `program` is an executable in $PATH.
bool OnPath(const std::string& program);

// A program run with this process's environment plus `environment`, its standard output read
// through a pipe and its standard error sent to `errorFile` (or nowhere). Ended with SIGTERM, then
// SIGKILL, when the object goes; it also dies with the test process.
class ChildProcess {
  public:
    ChildProcess(const std::vector<std::string>& command,
                 const std::map<std::string, std::string>& environment,
                 const std::string& errorFile = "/dev/null");
    ~ChildProcess();
    ChildProcess(const ChildProcess&) = delete;
    ChildProcess& operator=(const ChildProcess&) = delete;

    bool Running();
    // One line of standard output without its newline, or nothing by the timeout or the end.
    std::optional<std::string> ReadLine(std::chrono::milliseconds timeout);
    void Stop();

  private:
    pid_t pid_ = -1;
    int output_ = -1;
    std::string pending_;
};

// An Xvfb of its own on the first free display (Xvfb picks it: -displayfd).
class Xvfb {
  public:
    Xvfb(int width, int height);
    bool Ready() const { return !display_.empty(); }
    const std::string& Display() const { return display_; }

  private:
    std::unique_ptr<ChildProcess> server_;
    std::string display_;
};

struct WindowState {
    xcb_window_t parent = XCB_WINDOW_NONE;
    int x = 0;
    int y = 0;
    int width = 0;
    int height = 0;
    bool viewable = false;
    bool mapped = false;
};

class XClient {
  public:
    explicit XClient(const std::string& display);
    ~XClient();
    XClient(const XClient&) = delete;
    XClient& operator=(const XClient&) = delete;

    bool Connected() const;
    xcb_connection_t* Connection() const { return connection_; }
    xcb_window_t Root() const { return root_; }
    xcb_atom_t Atom(const std::string& name);

    // The first window anywhere in the tree whose WM_NAME or _NET_WM_NAME is `name`.
    std::optional<xcb_window_t> FindByName(const std::string& name);
    std::optional<WindowState> State(xcb_window_t window);
    xcb_window_t SelectionOwner(const std::string& selection);
    // The minimum width and height of WM_NORMAL_HINTS, when set.
    std::optional<std::pair<int, int>> MinimumSize(xcb_window_t window);
    // True when every pixel the window shows has one colour (or the window can't be read).
    bool LooksUniform(xcb_window_t window);
    // Sends _NET_WM_PING and waits for the answer: proof that the window's program runs its
    // event loop.
    bool Pings(xcb_window_t window, std::chrono::milliseconds timeout = 3s);

  private:
    xcb_connection_t* connection_ = nullptr;
    xcb_window_t root_ = XCB_WINDOW_NONE;
};

}  // namespace tikora::testing
