// SPDX-License-Identifier: MIT
#pragma once

#include <string>
#include <vector>

namespace tikora::testing {

// What the design gives each window, for both sets of windows: a changed letter or mnemonic is a
// changed program.
struct DesignWindow {
    const char* caption;
    int widthTwips, heightTwips;  // the client area; 0 where docking sets it
    std::vector<std::string> texts;
};

// frmMain, frmMenu, frmPrefs, frmChangeSkin, frmAbout.
inline const DesignWindow kDesignWindows[] = {
    {":: Tikora ::", 0, 0, {}},
    {":: Tikora [ Menu ] ::", 2700, 30, {}},
    {":: Tikora [ Preferences ] ::",
     6030,
     3585,
     {":: Atomic Time ::", "::[Server]::", "Get Atomic Time",
      "[Local Time]:", "[Atomic Time]:", "Update Local Time", "Syncronise Time", "&OK"}},
    {":: Tikora [ Change Skin ] ::", 4665, 3705, {"&Change", "C&ancel"}},
    {":: Tikora [ About ] ::",
     4245,
     1620,
     {"Tikora 1.0", "Release Date: April 27, 2001 (Friday)", "&Ok"}},
};

inline const std::vector<std::string> kMenuItems{"&Adjust Date/Time",
                                                 "&Preferences",
                                                 "-",
                                                 "&Internet Time (.beat)",
                                                 "-",
                                                 "&Change Skin",
                                                 "-",
                                                 "A&bout",
                                                 "&Exit"};

inline const std::vector<std::string> kServerItems{"0: NIST [Gaithersburg, Maryland]",
                                                   "1: NIST [Boulder, Colorado]",
                                                   "2: University of Colorado [Boulder, Colorado]",
                                                   "3: NCAR [Boulder, Colorado]",
                                                   "4: Microsoft [Redmond, Washington]",
                                                   "5: Datum [San Jose, California]",
                                                   "6: Abovnet [Virginia]",
                                                   "7: Abovnet [New York City]"};

}  // namespace tikora::testing
