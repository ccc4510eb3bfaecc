// SPDX-License-Identifier: MIT
#include "atomic/time_servers.h"

namespace tikora {

void FillServerTable(AtomicTimeStateRecord& state) {
    for (int i = 0; i < kTimeServerCount; ++i) {
        const TimeServer& server = kTimeServers[static_cast<std::size_t>(i)];
        state.ServerNames.Set(i, std::string(server.name));
        state.ServerHosts.Set(i, std::string(server.host));
        state.ServerAddresses.Set(i, std::string(server.address));
    }
}

std::string ServerItemText(int index, std::string_view name) {
    return std::to_string(index) + ": " + std::string(name);
}

}  // namespace tikora
