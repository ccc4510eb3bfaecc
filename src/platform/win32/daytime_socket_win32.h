// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>
#include <winsock2.h>
#include <ws2tcpip.h>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "atomic/status_text.h"

namespace tikora {

// What a Daytime connection tells its owner. Every event comes from the message loop of the
// thread that made the socket, one at a time, never from inside Connect or Close.
struct DaytimeSocketEvents {
    std::function<void()> connected;
    std::function<void(std::string_view piece)> data;
    // The server hung up, or reset the connection: what it sent has all been handed over.
    std::function<void()> closed;
    // `detail` is the network's own description, for failures without words of their own.
    std::function<void(QueryFailure failure, const std::string& detail)> error;
};

// The verdict on a failed name lookup's `error` (a WSA code); `routeOut` says whether the machine
// has a route to the outside, which tells a name server that did not answer from a network that
// is not there.
LookupVerdict LookupVerdictOf(int error, bool routeOut);

// wsAtomicTime on Windows: a TCP client over Winsock. The host name is resolved on a worker
// thread, so that a slow name server never holds up the window; the connection is a non-blocking
// socket whose events (WSAAsyncSelect) go to a hidden message-only window of its own.
class DaytimeSocket {
  public:
    // Tests give the error a name lookup ends with (a WSA code), in place of asking the system;
    // zero, or an empty function, asks the system.
    using LookupError = std::function<int(const std::string& host)>;
    static void SetLookupErrorForTesting(LookupError error);

    // The most a single arrival hands over: a Daytime line is far shorter.
    static constexpr int kPieceBytes = 1024;

    explicit DaytimeSocket(DaytimeSocketEvents events);
    ~DaytimeSocket();
    DaytimeSocket(const DaytimeSocket&) = delete;
    DaytimeSocket& operator=(const DaytimeSocket&) = delete;

    // Closes what is under way, then connects to `host` on `port`, trying each of its addresses
    // in turn. Nothing is sent: a Daytime server writes its line as soon as the connection stands.
    void Connect(const std::string& host, std::uint16_t port);
    // Harmless when closed already. No event of the closed connection arrives after it.
    void Close();
    // Resolving, connecting or connected.
    bool IsOpen() const { return open_; }

  private:
    struct Lookup;
    static LRESULT CALLBACK WindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
    void Resolved();
    void TryNextAddress();
    void OnSocketEvent(WORD event, int error);
    // Hands over what has arrived; false when the owner closed the connection meanwhile.
    bool ReadAll();
    void Fail(int error);
    void CloseSocketOnly();
    UINT SocketMessage() const;

    DaytimeSocketEvents events_;
    HWND window_ = nullptr;
    bool open_ = false;
    // Counts connections, so that events still queued for a closed one are known for stale.
    unsigned serial_ = 0;
    std::shared_ptr<Lookup> lookup_;
    ADDRINFOW* addresses_ = nullptr;
    const ADDRINFOW* next_ = nullptr;
    SOCKET socket_ = INVALID_SOCKET;
    int lastError_ = 0;
};

}  // namespace tikora
