// SPDX-License-Identifier: MIT
#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "posix/name_lookup.h"

namespace tikora {
namespace {

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
    const auto routes = [](int family, const void* address, socklen_t size) {
        const int probe = socket(family, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const bool routed =
            probe >= 0 && connect(probe, static_cast<const sockaddr*>(address), size) == 0;
        if (probe >= 0) {
            close(probe);
        }
        return routed;
    };
    return routes(AF_INET, &v4, sizeof v4) || routes(AF_INET6, &v6, sizeof v6);
}

}  // namespace

LookupVerdict LookupVerdictOf(int error, int systemError, bool routeOut) {
    switch (error) {
        case EAI_NONAME:
            return {QueryFailure::UnknownHost, {}};
        case 0:  // it answers now: the first lookup got no answer in time
        case EAI_AGAIN:
            return {routeOut ? QueryFailure::NameServerSilent : QueryFailure::NetworkUnreachable,
                    {}};
        case EAI_SYSTEM:
            if (systemError == ENETUNREACH || systemError == ENETDOWN) {
                return {QueryFailure::NetworkUnreachable, {}};
            }
            return {QueryFailure::LookupFailed, std::strerror(systemError)};
        default:
            return {QueryFailure::LookupFailed, gai_strerror(error)};
    }
}

LookupVerdict WhyLookupFails(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_UNSPEC;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int error = getaddrinfo(host.c_str(), nullptr, &hints, &found);
    const int systemError = errno;
    if (found != nullptr) {
        freeaddrinfo(found);
    }
    return LookupVerdictOf(error, systemError, HasRouteOut());
}

}  // namespace tikora
