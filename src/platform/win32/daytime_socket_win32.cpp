// SPDX-License-Identifier: MIT
#include "win32/daytime_socket_win32.h"

#include <array>
#include <mutex>
#include <thread>
#include <utility>

#include "win32/system_message.h"
#include "win32/wide_text.h"

namespace tikora {
namespace {

// Each connection's socket events come as a message of its own number out of this range, so
// that an event still queued for a closed socket is never taken for one of its successor, which
// Winsock may give the same handle.
constexpr UINT kSocketMessageBase = WM_APP + 0x100;
constexpr unsigned kSocketMessageCount = 64;
constexpr UINT kResolvedMessage = WM_APP + 0x0FF;

constexpr wchar_t kWindowClass[] = L"TikoraDaytimeSocket";

void StartWinsock() {
    // Once for the process, never cleaned up: the process's end does that.
    static const bool started = [] {
        WSADATA data;
        return WSAStartup(MAKEWORD(2, 2), &data) == 0;
    }();
    static_cast<void>(started);
}

void RegisterWindowClass() {
    static const bool registered = [] {
        WNDCLASSEXW windowClass{};
        windowClass.cbSize = sizeof windowClass;
        windowClass.lpszClassName = kWindowClass;
        windowClass.hInstance = GetModuleHandleW(nullptr);
        windowClass.lpfnWndProc = DefWindowProcW;
        return RegisterClassExW(&windowClass) != 0;
    }();
    static_cast<void>(registered);
}

// The words Qt's socket gives for the failures the window shows with the network's own words;
// the system's description for the rest.
std::string ErrorWords(int error) {
    static constexpr std::array<std::pair<int, const char*>, 6> kWords{{
        {WSAENETUNREACH, "Network unreachable"},
        {WSAENETDOWN, "Network unreachable"},
        {WSAEHOSTUNREACH, "Host unreachable"},
        {WSAETIMEDOUT, "Connection timed out"},
        {WSAEACCES, "Permission denied"},
        {WSAEADDRNOTAVAIL, "The address is not available"},
    }};
    for (const auto& [code, words] : kWords) {
        if (code == error) {
            return words;
        }
    }
    // The status line puts its own full stop after it.
    std::string words = SystemMessage(static_cast<unsigned long>(error));
    if (!words.empty() && words.back() == '.') {
        words.pop_back();
    }
    return words;
}

DaytimeSocket::LookupError& FakeLookupError() {
    static DaytimeSocket::LookupError error;
    return error;
}

// Connecting a datagram socket sends nothing: it only picks a route, here to documentation
// addresses that no one answers.
bool HasRouteOut() {
    sockaddr_in v4{};
    v4.sin_family = AF_INET;
    v4.sin_port = htons(53);
    inet_pton(AF_INET, "192.0.2.1", &v4.sin_addr);
    sockaddr_in6 v6{};
    v6.sin6_family = AF_INET6;
    v6.sin6_port = htons(53);
    inet_pton(AF_INET6, "2001:db8::1", &v6.sin6_addr);
    const auto routes = [](int family, const void* address, int size) {
        const SOCKET probe = socket(family, SOCK_DGRAM, 0);
        const bool routed = probe != INVALID_SOCKET &&
                            connect(probe, static_cast<const sockaddr*>(address), size) == 0;
        if (probe != INVALID_SOCKET) {
            closesocket(probe);
        }
        return routed;
    };
    return routes(AF_INET, &v4, sizeof v4) || routes(AF_INET6, &v6, sizeof v6);
}

}  // namespace

LookupVerdict LookupVerdictOf(int error, bool routeOut) {
    switch (error) {
        case WSAHOST_NOT_FOUND:
            return {QueryFailure::UnknownHost, {}};
        case WSATRY_AGAIN:
            return {routeOut ? QueryFailure::NameServerSilent : QueryFailure::NetworkUnreachable,
                    {}};
        case WSAENETDOWN:
        case WSAENETUNREACH:
            return {QueryFailure::NetworkUnreachable, {}};
        default:
            return {QueryFailure::LookupFailed, ErrorWords(error)};
    }
}

void DaytimeSocket::SetLookupErrorForTesting(LookupError error) {
    FakeLookupError() = std::move(error);
}

// One name lookup on its worker thread. The socket may give it up (Close, or a new Connect)
// before it ends; the worker then frees its own result.
struct DaytimeSocket::Lookup {
    std::mutex mutex;
    bool abandoned = false;
    bool done = false;
    ADDRINFOW* result = nullptr;
    int error = 0;
};

DaytimeSocket::DaytimeSocket(DaytimeSocketEvents events) : events_(std::move(events)) {
    StartWinsock();
    RegisterWindowClass();
    window_ = CreateWindowExW(0, kWindowClass, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr,
                              GetModuleHandleW(nullptr), nullptr);
    SetWindowLongPtrW(window_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
    SetWindowLongPtrW(window_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&WindowProc));
}

DaytimeSocket::~DaytimeSocket() {
    Close();
    DestroyWindow(window_);
}

void DaytimeSocket::Connect(const std::string& host, std::uint16_t port) {
    Close();
    open_ = true;
    auto lookup = std::make_shared<Lookup>();
    lookup_ = lookup;
    const HWND window = window_;
    const unsigned serial = serial_;
    std::thread([lookup, window, serial, host, service = std::to_wstring(port),
                 fake = FakeLookupError()] {
        ADDRINFOW hints{};
        hints.ai_family = AF_UNSPEC;
        hints.ai_socktype = SOCK_STREAM;
        hints.ai_protocol = IPPROTO_TCP;
        ADDRINFOW* result = nullptr;
        int error = fake ? fake(host) : 0;
        if (error == 0) {
            error = GetAddrInfoW(Widen(host).c_str(), service.c_str(), &hints, &result);
        }
        const std::lock_guard<std::mutex> lock(lookup->mutex);
        if (lookup->abandoned) {
            if (result != nullptr) {
                FreeAddrInfoW(result);
            }
            return;
        }
        lookup->result = result;
        lookup->error = error;
        lookup->done = true;
        PostMessageW(window, kResolvedMessage, serial, 0);
    }).detach();
}

void DaytimeSocket::Close() {
    ++serial_;
    open_ = false;
    if (lookup_ != nullptr) {
        const std::lock_guard<std::mutex> lock(lookup_->mutex);
        lookup_->abandoned = true;
        if (lookup_->result != nullptr) {
            FreeAddrInfoW(lookup_->result);
            lookup_->result = nullptr;
        }
    }
    lookup_.reset();
    if (addresses_ != nullptr) {
        FreeAddrInfoW(addresses_);
        addresses_ = nullptr;
    }
    next_ = nullptr;
    CloseSocketOnly();
}

void DaytimeSocket::CloseSocketOnly() {
    if (socket_ != INVALID_SOCKET) {
        closesocket(socket_);
        socket_ = INVALID_SOCKET;
    }
}

UINT DaytimeSocket::SocketMessage() const {
    return kSocketMessageBase + serial_ % kSocketMessageCount;
}

LRESULT CALLBACK DaytimeSocket::WindowProc(HWND window, UINT message, WPARAM wParam,
                                           LPARAM lParam) {
    auto* self = reinterpret_cast<DaytimeSocket*>(GetWindowLongPtrW(window, GWLP_USERDATA));
    if (self == nullptr) {
        return DefWindowProcW(window, message, wParam, lParam);
    }
    if (message == WM_CLOSE) {
        return 0;  // a close from outside would leave the socket without its events
    }
    if (message == kResolvedMessage) {
        if (wParam == self->serial_ && self->lookup_ != nullptr) {
            self->Resolved();
        }
        return 0;
    }
    if (message == self->SocketMessage() && wParam == self->socket_) {
        self->OnSocketEvent(WSAGETSELECTEVENT(lParam), WSAGETSELECTERROR(lParam));
        return 0;
    }
    return DefWindowProcW(window, message, wParam, lParam);
}

void DaytimeSocket::Resolved() {
    int error = 0;
    {
        // A message left by another socket's worker, on a window handle used again, is not ours.
        const std::lock_guard<std::mutex> lock(lookup_->mutex);
        if (!lookup_->done) {
            return;
        }
        addresses_ = std::exchange(lookup_->result, nullptr);
        error = lookup_->error;
    }
    lookup_.reset();
    if (error != 0 || addresses_ == nullptr) {
        Close();
        const LookupVerdict verdict = LookupVerdictOf(error != 0 ? error : WSAHOST_NOT_FOUND,
                                                      error == WSATRY_AGAIN && HasRouteOut());
        events_.error(verdict.failure, verdict.detail);
        return;
    }
    next_ = addresses_;
    lastError_ = WSAECONNREFUSED;
    TryNextAddress();
}

void DaytimeSocket::TryNextAddress() {
    while (next_ != nullptr) {
        const ADDRINFOW* address = std::exchange(next_, next_->ai_next);
        socket_ = socket(address->ai_family, address->ai_socktype, address->ai_protocol);
        if (socket_ == INVALID_SOCKET) {
            lastError_ = WSAGetLastError();
            continue;
        }
        // Also makes the socket non-blocking.
        WSAAsyncSelect(socket_, window_, SocketMessage(), FD_CONNECT | FD_READ | FD_CLOSE);
        if (connect(socket_, address->ai_addr, static_cast<int>(address->ai_addrlen)) == 0 ||
            WSAGetLastError() == WSAEWOULDBLOCK) {
            return;  // FD_CONNECT tells how it went
        }
        lastError_ = WSAGetLastError();
        CloseSocketOnly();
    }
    Fail(lastError_);
}

void DaytimeSocket::OnSocketEvent(WORD event, int error) {
    const unsigned serial = serial_;
    switch (event) {
        case FD_CONNECT:
            if (error != 0) {
                lastError_ = error;
                CloseSocketOnly();
                TryNextAddress();
            } else {
                events_.connected();
            }
            break;
        case FD_READ:
            ReadAll();
            break;
        case FD_CLOSE:
            if (!ReadAll() || serial != serial_) {
                break;
            }
            if (error == 0 || error == WSAECONNRESET || error == WSAECONNABORTED) {
                Close();
                events_.closed();
            } else {
                Fail(error);
            }
            break;
        default:
            break;
    }
}

bool DaytimeSocket::ReadAll() {
    const unsigned serial = serial_;
    std::array<char, kPieceBytes> buffer;
    while (serial == serial_) {
        const int got = recv(socket_, buffer.data(), kPieceBytes, 0);
        if (got <= 0) {
            return true;  // all there is for now; a failed read is told by FD_CLOSE
        }
        events_.data(std::string_view(buffer.data(), static_cast<std::size_t>(got)));
    }
    return false;
}

void DaytimeSocket::Fail(int error) {
    Close();
    if (error == WSAECONNREFUSED) {
        events_.error(QueryFailure::Refused, {});
    } else {
        events_.error(QueryFailure::Other, ErrorWords(error));
    }
}

}  // namespace tikora
