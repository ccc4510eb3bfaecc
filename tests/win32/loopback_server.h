// SPDX-License-Identifier: MIT
#pragma once

#include <windows.h>
#include <winsock2.h>

#include <cstdint>
#include <string_view>
#include <vector>

#include "message_pump.h"

namespace tikora::test {

// A Daytime server of the test's own on 127.0.0.1, on a port the system picks: the tests never
// reach the network. Its sockets don't block; Accept runs the thread's messages meanwhile, so
// that the client under test can connect.
class LoopbackServer {
  public:
    LoopbackServer() {
        WSADATA data;
        WSAStartup(MAKEWORD(2, 2), &data);
        listener_ = socket(AF_INET, SOCK_STREAM, IPPROTO_TCP);
        sockaddr_in address{};
        address.sin_family = AF_INET;
        address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
        int length = sizeof address;
        bind(listener_, reinterpret_cast<sockaddr*>(&address), length);
        listen(listener_, 4);
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length);
        port_ = ntohs(address.sin_port);
        u_long nonBlocking = 1;
        ioctlsocket(listener_, FIONBIO, &nonBlocking);
    }
    ~LoopbackServer() {
        StopListening();
        for (SOCKET connection : connections_) {
            closesocket(connection);
        }
        WSACleanup();
    }
    LoopbackServer(const LoopbackServer&) = delete;
    LoopbackServer& operator=(const LoopbackServer&) = delete;

    std::uint16_t Port() const { return port_; }
    // Nothing listens on the port any more: a connection to it is refused.
    void StopListening() {
        if (listener_ != INVALID_SOCKET) {
            closesocket(listener_);
            listener_ = INVALID_SOCKET;
        }
    }
    // The next connection; INVALID_SOCKET when none came in time.
    SOCKET Accept() {
        SOCKET connection = INVALID_SOCKET;
        PumpUntil([&] {
            if (connection == INVALID_SOCKET) {
                connection = accept(listener_, nullptr, nullptr);
            }
            return connection != INVALID_SOCKET;
        });
        if (connection != INVALID_SOCKET) {
            connections_.push_back(connection);
        }
        return connection;
    }
    static void Send(SOCKET connection, std::string_view bytes) {
        send(connection, bytes.data(), static_cast<int>(bytes.size()), 0);
    }
    // Sends `bytes`, then hangs up.
    static void Answer(SOCKET connection, std::string_view bytes) {
        Send(connection, bytes);
        shutdown(connection, SD_SEND);
    }

  private:
    SOCKET listener_ = INVALID_SOCKET;
    std::uint16_t port_ = 0;
    std::vector<SOCKET> connections_;
};

}  // namespace tikora::test
