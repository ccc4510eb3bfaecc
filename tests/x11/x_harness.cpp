#include "x11/x_harness.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <thread>

#include "x11/xcb_helpers.h"

namespace tikora::testing {

using xcb::Reply;

bool WaitFor(const std::function<bool()>& condition, std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (!condition()) {
        if (std::chrono::steady_clock::now() >= deadline) {
            return false;
        }
        std::this_thread::sleep_for(20ms);
    }
    return true;
}

ChildProcess::ChildProcess(std::vector<std::string> command, const std::string& errorFile) {
    // Everything the child needs is made before fork: after it, only async-signal-safe calls.
    std::vector<char*> argv;
    for (std::string& argument : command) {
        argv.push_back(argument.data());
    }
    argv.push_back(nullptr);
    int pipeEnds[2];
    const int errorOutput = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (pipe2(pipeEnds, O_CLOEXEC) != 0 || errorOutput < 0) {
        return;
    }
    const pid_t parent = getpid();
    pid_ = fork();
    if (pid_ == 0) {
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(127);
        }
        dup2(pipeEnds[1], STDOUT_FILENO);
        dup2(errorOutput, STDERR_FILENO);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    close(errorOutput);
    output_ = pipeEnds[0];
}

ChildProcess::~ChildProcess() {
    if (Running()) {
        kill(pid_, SIGTERM);
        if (!WaitFor([this] { return !Running(); }, 2s)) {
            kill(pid_, SIGKILL);
            waitpid(pid_, nullptr, 0);
        }
    }
    close(output_);
}

bool ChildProcess::Running() {
    if (pid_ > 0 && waitpid(pid_, nullptr, WNOHANG) == pid_) {
        pid_ = -1;
    }
    return pid_ > 0;
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    std::string line;
    for (char c = 0;; line += c) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        pollfd ready{output_, POLLIN, 0};
        if (poll(&ready, 1, static_cast<int>(std::max(left.count(), 0L))) <= 0 ||
            read(output_, &c, 1) != 1) {
            return std::nullopt;
        }
        if (c == '\n') {
            return line;
        }
    }
}

// -displayfd: Xvfb takes the first free display and writes its number once it takes connections.
Xvfb::Xvfb(int width, int height)
    : ChildProcess({"Xvfb", "-displayfd", "1", "-screen", "0",
                    std::to_string(width) + "x" + std::to_string(height) + "x24", "-nolisten",
                    "tcp", "-noreset"}) {
    if (const std::optional<std::string> number = ReadLine(); number && !number->empty()) {
        display = ":" + *number;
    }
}

XClient::XClient(const std::string& display) : connection(xcb_connect(display.c_str(), nullptr)) {
    if (!display.empty() && xcb_connection_has_error(connection) == 0) {
        root = xcb_setup_roots_iterator(xcb_get_setup(connection)).data->root;
    }
}

void XClient::Sync() {
    std::free(xcb_get_input_focus_reply(connection, xcb_get_input_focus(connection), nullptr));
}

xcb_window_t XClient::FindByName(const std::string& name) {
    std::vector<xcb_window_t> pending{root};
    while (!pending.empty()) {
        const xcb_window_t window = pending.back();
        pending.pop_back();
        if (xcb::ReadProperty(connection, window, XCB_ATOM_WM_NAME) == name) {
            return window;
        }
        const std::vector<xcb_window_t> children = xcb::Children(connection, window);
        pending.insert(pending.end(), children.begin(), children.end());
    }
    return XCB_WINDOW_NONE;
}

std::optional<WindowState> XClient::State(xcb_window_t window) {
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection, xcb_get_geometry(connection, window), nullptr));
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), nullptr));
    const Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
        connection, xcb_get_window_attributes(connection, window), nullptr));
    if (!geometry || !tree || !attributes) {
        return std::nullopt;
    }
    const std::uint8_t map = attributes->map_state;
    return WindowState(tree->parent, geometry->x, geometry->y, geometry->width, geometry->height,
                       map != XCB_MAP_STATE_UNMAPPED, map == XCB_MAP_STATE_VIEWABLE);
}

xcb_window_t XClient::SelectionOwner(const char* selection) {
    const Reply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        connection, xcb_get_selection_owner(connection, xcb::Atom(connection, selection)),
        nullptr));
    return reply ? reply->owner : xcb_window_t{XCB_WINDOW_NONE};
}

std::optional<int> XClient::MinimumWidth(xcb_window_t window) {
    // WM_SIZE_HINTS: flags (bit 4: minimum size set), x, y, width, height, minimum width, ...
    const std::optional<std::string> hints =
        xcb::ReadProperty(connection, window, XCB_ATOM_WM_NORMAL_HINTS);
    std::uint32_t fields[6] = {};
    if (!hints || hints->size() < sizeof fields) {
        return std::nullopt;
    }
    std::memcpy(fields, hints->data(), sizeof fields);
    return (fields[0] & 1U << 4) != 0 ? std::optional(static_cast<int>(fields[5])) : std::nullopt;
}

bool XClient::Drawn(xcb_window_t window) {
    const std::optional<WindowState> state = State(window);
    if (!state || !state->viewable) {
        return false;
    }
    const Reply<xcb_get_image_reply_t> image(
        xcb_get_image_reply(connection,
                            xcb_get_image(connection, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                          static_cast<std::uint16_t>(state->width),
                                          static_cast<std::uint16_t>(state->height), ~0U),
                            nullptr));
    if (!image || image->depth != 24) {
        return false;
    }
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image.get()));
    const auto* end = pixels + xcb_get_image_data_length(image.get()) / 4;
    return std::find_if(pixels, end, [&](std::uint32_t pixel) {
               return ((pixel ^ pixels[0]) & 0xFFFFFFU) != 0;
           }) != end;
}

}  // namespace tikora::testing
