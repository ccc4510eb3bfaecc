// SPDX-License-Identifier: MIT
#include <netdb.h>
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
    for (const char* documentation : {"192.0.2.1", "2001:db8::1"}) {
        addrinfo hints{};
        hints.ai_flags = AI_NUMERICHOST;
        hints.ai_socktype = SOCK_DGRAM;
        addrinfo* address = nullptr;
        if (getaddrinfo(documentation, "53", &hints, &address) != 0) {
            continue;
        }
        const int probe = socket(address->ai_family, SOCK_DGRAM | SOCK_CLOEXEC, 0);
        const bool routed =
            probe >= 0 && connect(probe, address->ai_addr, address->ai_addrlen) == 0;
        if (probe >= 0) {
            close(probe);
        }
        freeaddrinfo(address);
        if (routed) {
            return true;
        }
    }
    return false;
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
