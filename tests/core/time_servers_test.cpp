#include <gtest/gtest.h>

#include <string>

#include "atomic/time_servers.h"

namespace tikora {
namespace {

TEST(TimeServers, KeepTheirNamesAndAskNistDaytimeHosts) {
    const char* const names[kTimeServerCount] = {"NIST [Gaithersburg, Maryland]",
                                                 "NIST [Boulder, Colorado]",
                                                 "University of Colorado [Boulder, Colorado]",
                                                 "NCAR [Boulder, Colorado]",
                                                 "Microsoft [Redmond, Washington]",
                                                 "Datum [San Jose, California]",
                                                 "Abovnet [Virginia]",
                                                 "Abovnet [New York City]"};
    for (int i = 0; i < kTimeServerCount; ++i) {
        const TimeServer& server = kTimeServers[static_cast<std::size_t>(i)];
        EXPECT_EQ(server.name, names[i]);
        // NIST's time-* hosts and its servers at the University of Colorado; its ntp-* and ut1-*
        // hosts don't serve the Daytime protocol.
        EXPECT_TRUE((server.host.starts_with("time-") && server.host.ends_with(".nist.gov")) ||
                    server.host.starts_with("utcnist"))
            << server.host;
        EXPECT_FALSE(server.address.empty());
    }
    EXPECT_EQ(ServerItemText(0, names[0]), "0: NIST [Gaithersburg, Maryland]");
}

}  // namespace
}  // namespace tikora
