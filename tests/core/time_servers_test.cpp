#include <gtest/gtest.h>

#include <set>
#include <sstream>
#include <string>

#include "atomic/time_servers.h"

namespace tikora {
namespace {

TEST(TimeServers, NamesInTheirOrder) {
    const char* const names[kTimeServerCount] = {"NIST [Gaithersburg, Maryland]",
                                                 "NIST [Boulder, Colorado]",
                                                 "University of Colorado [Boulder, Colorado]",
                                                 "NCAR [Boulder, Colorado]",
                                                 "Microsoft [Redmond, Washington]",
                                                 "Datum [San Jose, California]",
                                                 "Abovnet [Virginia]",
                                                 "Abovnet [New York City]"};
    for (int i = 0; i < kTimeServerCount; ++i) {
        EXPECT_EQ(kTimeServers[static_cast<std::size_t>(i)].name, names[i]) << i;
    }
}

bool IsDottedQuad(std::string_view text) {
    std::istringstream in{std::string(text)};
    int parts = 0;
    for (std::string part; std::getline(in, part, '.'); ++parts) {
        if (part.empty() || part.size() > 3 || part.find_first_not_of("0123456789") != part.npos ||
            std::stoi(part) > 255) {
            return false;
        }
    }
    return parts == 4;
}

// NIST's daytime hosts: the time-*.nist.gov machines and the two at the University of Colorado.
// Its ntp-* and ut1-* hosts don't serve the Daytime protocol.
TEST(TimeServers, EveryHostIsANistDaytimeHost) {
    std::set<std::string_view> hosts;
    for (const TimeServer& server : kTimeServers) {
        const std::string_view host = server.host;
        EXPECT_TRUE((host.starts_with("time-") && host.ends_with(".nist.gov")) ||
                    (host.starts_with("utcnist") && host.ends_with(".colorado.edu")))
            << host;
        EXPECT_TRUE(IsDottedQuad(server.address)) << server.address;
        hosts.insert(host);
    }
    EXPECT_EQ(hosts.size(), kTimeServers.size());
}

TEST(TimeServers, ItemTextIsIndexColonName) {
    EXPECT_EQ(ServerItemText(0, "NIST [Gaithersburg, Maryland]"),
              "0: NIST [Gaithersburg, Maryland]");
    EXPECT_EQ(ServerItemText(7, "Abovnet [New York City]"), "7: Abovnet [New York City]");
}

}  // namespace
}  // namespace tikora
