#include "x11/x_harness.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <thread>

extern char** environ;

namespace tikora::testing {
namespace {

struct FreeDeleter {
    void operator()(void* pointer) const { std::free(pointer); }
};
template <class T>
using Reply = std::unique_ptr<T, FreeDeleter>;

std::optional<std::string> Property(xcb_connection_t* connection, xcb_window_t window,
                                    xcb_atom_t property) {
    xcb_generic_error_t* error = nullptr;
    const Reply<xcb_get_property_reply_t> reply(xcb_get_property_reply(
        connection,
        xcb_get_property(connection, 0, window, property, XCB_GET_PROPERTY_TYPE_ANY, 0, 256),
        &error));
    std::free(error);
    if (!reply || reply->type == XCB_ATOM_NONE) {
        return std::nullopt;
    }
    return std::string(static_cast<const char*>(xcb_get_property_value(reply.get())),
                       static_cast<std::size_t>(xcb_get_property_value_length(reply.get())));
}

std::vector<xcb_window_t> Children(xcb_connection_t* connection, xcb_window_t window) {
    xcb_generic_error_t* error = nullptr;
    const Reply<xcb_query_tree_reply_t> reply(
        xcb_query_tree_reply(connection, xcb_query_tree(connection, window), &error));
    std::free(error);
    if (!reply) {
        return {};
    }
    const xcb_window_t* children = xcb_query_tree_children(reply.get());
    return {children, children + xcb_query_tree_children_length(reply.get())};
}

}  // namespace

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

bool OnPath(const std::string& program) {
    const char* path = std::getenv("PATH");
    std::string folders = path != nullptr ? path : "/usr/bin:/bin";
    std::size_t start = 0;
    while (start <= folders.size()) {
        const std::size_t end = std::min(folders.find(':', start), folders.size());
        const std::filesystem::path candidate =
            std::filesystem::path(folders.substr(start, end - start)) / program;
        if (access(candidate.c_str(), X_OK) == 0) {
            return true;
        }
        start = end + 1;
    }
    return false;
}

ChildProcess::ChildProcess(const std::vector<std::string>& command,
                           const std::map<std::string, std::string>& environment,
                           const std::string& errorFile) {
    int pipeEnds[2];
    if (pipe2(pipeEnds, O_CLOEXEC) != 0) {
        return;
    }
    // Everything the child needs is made before fork: after it only async-signal-safe calls.
    std::map<std::string, std::string> merged;
    for (char** entry = environ; *entry != nullptr; ++entry) {
        const std::string text = *entry;
        const std::size_t equals = text.find('=');
        if (equals != std::string::npos) {
            merged[text.substr(0, equals)] = text.substr(equals + 1);
        }
    }
    for (const auto& [name, value] : environment) {
        merged[name] = value;
    }
    std::vector<std::string> envStrings;
    for (const auto& [name, value] : merged) {
        envStrings.push_back(name + "=" + value);
    }
    std::vector<char*> envp;
    for (std::string& text : envStrings) {
        envp.push_back(text.data());
    }
    envp.push_back(nullptr);
    std::vector<std::string> args = command;
    std::vector<char*> argv;
    for (std::string& arg : args) {
        argv.push_back(arg.data());
    }
    argv.push_back(nullptr);
    const pid_t parent = getpid();
    const int errorOutput = open(errorFile.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);

    pid_ = fork();
    if (pid_ == 0) {
        // No program of a test outlives the test.
        prctl(PR_SET_PDEATHSIG, SIGKILL);
        if (getppid() != parent) {
            _exit(127);
        }
        dup2(pipeEnds[1], STDOUT_FILENO);
        if (errorOutput >= 0) {
            dup2(errorOutput, STDERR_FILENO);
        }
        execvpe(argv[0], argv.data(), envp.data());
        _exit(127);
    }
    close(pipeEnds[1]);
    if (errorOutput >= 0) {
        close(errorOutput);
    }
    output_ = pipeEnds[0];
}

ChildProcess::~ChildProcess() {
    Stop();
    if (output_ >= 0) {
        close(output_);
    }
}

bool ChildProcess::Running() {
    if (pid_ <= 0) {
        return false;
    }
    int status = 0;
    if (waitpid(pid_, &status, WNOHANG) == pid_) {
        pid_ = -1;
        return false;
    }
    return true;
}

void ChildProcess::Stop() {
    if (!Running()) {
        return;
    }
    kill(pid_, SIGTERM);
    const bool ended = WaitFor([this] { return !Running(); }, 2s);
    if (!ended) {
        kill(pid_, SIGKILL);
        waitpid(pid_, nullptr, 0);
    }
    pid_ = -1;
}

std::optional<std::string> ChildProcess::ReadLine(std::chrono::milliseconds timeout) {
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (true) {
        const std::size_t newline = pending_.find('\n');
        if (newline != std::string::npos) {
            std::string line = pending_.substr(0, newline);
            pending_.erase(0, newline + 1);
            return line;
        }
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
            deadline - std::chrono::steady_clock::now());
        if (output_ < 0 || left.count() <= 0) {
            return std::nullopt;
        }
        pollfd waiting{output_, POLLIN, 0};
        if (poll(&waiting, 1, static_cast<int>(left.count())) <= 0) {
            return std::nullopt;
        }
        char buffer[256];
        const ssize_t count = read(output_, buffer, sizeof buffer);
        if (count <= 0) {
            return std::nullopt;
        }
        pending_.append(buffer, static_cast<std::size_t>(count));
    }
}

Xvfb::Xvfb(int width, int height) {
    if (!OnPath("Xvfb")) {
        return;
    }
    const std::string screen = std::to_string(width) + "x" + std::to_string(height) + "x24";
    // -displayfd: Xvfb takes the first free display and writes its number once it accepts
    // connections.
    server_ = std::make_unique<ChildProcess>(
        std::vector<std::string>{"Xvfb", "-displayfd", "1", "-screen", "0", screen, "-nolisten",
                                 "tcp", "-noreset"},
        std::map<std::string, std::string>{});
    if (const std::optional<std::string> number = server_->ReadLine(10s)) {
        if (!number->empty()) {
            display_ = ":" + *number;
        }
    }
}

XClient::XClient(const std::string& display) {
    int screenNumber = 0;
    connection_ = xcb_connect(display.c_str(), &screenNumber);
    if (xcb_connection_has_error(connection_) != 0) {
        return;
    }
    xcb_screen_iterator_t screens = xcb_setup_roots_iterator(xcb_get_setup(connection_));
    for (; screenNumber > 0 && screens.rem > 1; --screenNumber) {
        xcb_screen_next(&screens);
    }
    root_ = screens.data->root;
}

XClient::~XClient() {
    xcb_disconnect(connection_);
}

bool XClient::Connected() const {
    return root_ != XCB_WINDOW_NONE;
}

xcb_atom_t XClient::Atom(const std::string& name) {
    const Reply<xcb_intern_atom_reply_t> reply(xcb_intern_atom_reply(
        connection_,
        xcb_intern_atom(connection_, 0, static_cast<std::uint16_t>(name.size()), name.data()),
        nullptr));
    return reply ? reply->atom : xcb_atom_t{XCB_ATOM_NONE};
}

std::optional<xcb_window_t> XClient::FindByName(const std::string& name) {
    const xcb_atom_t netName = Atom("_NET_WM_NAME");
    std::vector<xcb_window_t> pending{root_};
    while (!pending.empty()) {
        const xcb_window_t window = pending.back();
        pending.pop_back();
        if (Property(connection_, window, XCB_ATOM_WM_NAME) == name ||
            Property(connection_, window, netName) == name) {
            return window;
        }
        const std::vector<xcb_window_t> children = Children(connection_, window);
        pending.insert(pending.end(), children.begin(), children.end());
    }
    return std::nullopt;
}

std::optional<WindowState> XClient::State(xcb_window_t window) {
    xcb_generic_error_t* error = nullptr;
    const Reply<xcb_get_geometry_reply_t> geometry(
        xcb_get_geometry_reply(connection_, xcb_get_geometry(connection_, window), &error));
    std::free(error);
    error = nullptr;
    const Reply<xcb_query_tree_reply_t> tree(
        xcb_query_tree_reply(connection_, xcb_query_tree(connection_, window), &error));
    std::free(error);
    error = nullptr;
    const Reply<xcb_get_window_attributes_reply_t> attributes(xcb_get_window_attributes_reply(
        connection_, xcb_get_window_attributes(connection_, window), &error));
    std::free(error);
    if (!geometry || !tree || !attributes) {
        return std::nullopt;
    }
    WindowState state;
    state.parent = tree->parent;
    state.x = geometry->x;
    state.y = geometry->y;
    state.width = geometry->width;
    state.height = geometry->height;
    state.viewable = attributes->map_state == XCB_MAP_STATE_VIEWABLE;
    state.mapped = attributes->map_state != XCB_MAP_STATE_UNMAPPED;
    return state;
}

xcb_window_t XClient::SelectionOwner(const std::string& selection) {
    const Reply<xcb_get_selection_owner_reply_t> reply(xcb_get_selection_owner_reply(
        connection_, xcb_get_selection_owner(connection_, Atom(selection)), nullptr));
    return reply ? reply->owner : xcb_window_t{XCB_WINDOW_NONE};
}

std::optional<std::pair<int, int>> XClient::MinimumSize(xcb_window_t window) {
    // WM_SIZE_HINTS: flags, then x, y, width, height, then the minimum width and height.
    constexpr std::uint32_t kMinimumSizeFlag = 1u << 4;
    const std::optional<std::string> bytes =
        Property(connection_, window, XCB_ATOM_WM_NORMAL_HINTS);
    if (!bytes || bytes->size() < 7 * 4) {
        return std::nullopt;
    }
    std::uint32_t fields[7];
    std::memcpy(fields, bytes->data(), sizeof fields);
    if ((fields[0] & kMinimumSizeFlag) == 0) {
        return std::nullopt;
    }
    return std::pair{static_cast<int>(fields[5]), static_cast<int>(fields[6])};
}

bool XClient::LooksUniform(xcb_window_t window) {
    const std::optional<WindowState> state = State(window);
    if (!state || !state->viewable) {
        return true;
    }
    xcb_generic_error_t* error = nullptr;
    const Reply<xcb_get_image_reply_t> image(
        xcb_get_image_reply(connection_,
                            xcb_get_image(connection_, XCB_IMAGE_FORMAT_Z_PIXMAP, window, 0, 0,
                                          static_cast<std::uint16_t>(state->width),
                                          static_cast<std::uint16_t>(state->height), ~0u),
                            &error));
    std::free(error);
    if (!image || image->depth != 24) {
        return true;
    }
    const auto* pixels = reinterpret_cast<const std::uint32_t*>(xcb_get_image_data(image.get()));
    const std::size_t count = static_cast<std::size_t>(xcb_get_image_data_length(image.get())) / 4;
    for (std::size_t i = 1; i < count; ++i) {
        if ((pixels[i] & 0xFFFFFFu) != (pixels[0] & 0xFFFFFFu)) {
            return false;
        }
    }
    return true;
}

bool XClient::Pings(xcb_window_t window, std::chrono::milliseconds timeout) {
    // The answer goes to the root window for the window manager, to the clients that hear the
    // root's structure events.
    const std::uint32_t mask = XCB_EVENT_MASK_STRUCTURE_NOTIFY;
    xcb_change_window_attributes(connection_, root_, XCB_CW_EVENT_MASK, &mask);
    const xcb_atom_t protocols = Atom("WM_PROTOCOLS");
    const xcb_atom_t ping = Atom("_NET_WM_PING");
    constexpr std::uint32_t kStamp = 0x7E57;
    xcb_client_message_event_t message = {};
    message.response_type = XCB_CLIENT_MESSAGE;
    message.format = 32;
    message.window = window;
    message.type = protocols;
    message.data.data32[0] = ping;
    message.data.data32[1] = kStamp;
    message.data.data32[2] = window;
    xcb_send_event(connection_, 0, window, XCB_EVENT_MASK_NO_EVENT,
                   reinterpret_cast<const char*>(&message));
    xcb_flush(connection_);
    return WaitFor(
        [&] {
            while (xcb_generic_event_t* event = xcb_poll_for_event(connection_)) {
                const Reply<xcb_generic_event_t> owned(event);
                if ((event->response_type & 0x7F) != XCB_CLIENT_MESSAGE) {
                    continue;
                }
                const auto* answer = reinterpret_cast<const xcb_client_message_event_t*>(event);
                if (answer->type == protocols && answer->data.data32[0] == ping &&
                    answer->data.data32[1] == kStamp) {
                    return true;
                }
            }
            return false;
        },
        timeout);
}

}  // namespace tikora::testing
