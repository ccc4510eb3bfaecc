// SPDX-License-Identifier: MIT
#pragma once

#include <array>
#include <string>
#include <string_view>

#include "shared/modDefs.h"

namespace tikora {

// One entry of the fixed table of Daytime servers the atomic-time page offers.
struct TimeServer {
    std::string_view name;     // what the list shows
    std::string_view host;     // what a query connects to, on port 13
    std::string_view address;  // kept with the entry, never used for connecting
};

inline constexpr int kTimeServerCount = 8;

// Every entry answers in the NIST layout. Entries named after operators that no longer run a
// Daytime service keep their names and point at a NIST host.
inline constexpr std::array<TimeServer, kTimeServerCount> kTimeServers{{
    {"NIST [Gaithersburg, Maryland]", "time-a-g.nist.gov", "129.6.15.28"},
    {"NIST [Boulder, Colorado]", "time-a-b.nist.gov", "132.163.96.1"},
    {"University of Colorado [Boulder, Colorado]", "utcnist.colorado.edu", "128.138.140.44"},
    {"NCAR [Boulder, Colorado]", "time-b-b.nist.gov", "132.163.96.2"},
    {"Microsoft [Redmond, Washington]", "time-a-wwv.nist.gov", "132.163.97.1"},
    {"Datum [San Jose, California]", "time-b-wwv.nist.gov", "132.163.97.2"},
    {"Abovnet [Virginia]", "time-b-g.nist.gov", "129.6.15.29"},
    {"Abovnet [New York City]", "time-c-g.nist.gov", "129.6.15.30"},
}};

// Copies the table into the shared record's three server arrays, entry i at index i.
void FillServerTable(AtomicTimeStateRecord& state);

// The list's text for entry `index`: the index, ": " and the entry's name.
std::string ServerItemText(int index, std::string_view name);

}  // namespace tikora
