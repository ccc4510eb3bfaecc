// SPDX-License-Identifier: MIT
#pragma once

#include <QProcess>
#include <QString>

#include "support/temp_folder.h"

namespace tikora::testing {

// A message bus of the test's own (dbus-daemon, its socket in `folder`), never the machine's:
// its address, or nothing when it did not start.
inline QString StartPrivateBus(QProcess& bus, const TempFolder& folder) {
    WriteFile(folder / "bus.conf",
              "<busconfig><type>session</type><listen>unix:dir=" + folder.Path().string() +
                  "</listen><policy context=\"default\"><allow send_destination=\"*\" "
                  "eavesdrop=\"true\"/><allow eavesdrop=\"true\"/><allow own=\"*\"/></policy>"
                  "</busconfig>");
    bus.start(QStringLiteral("dbus-daemon"),
              {QStringLiteral("--nofork"), QStringLiteral("--print-address"),
               QString::fromStdString("--config-file=" + folder / "bus.conf")});
    return bus.waitForReadyRead(5000) ? QString::fromUtf8(bus.readLine()).trimmed() : QString();
}

}  // namespace tikora::testing
