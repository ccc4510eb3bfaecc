// SPDX-License-Identifier: MIT
#include <QApplication>
#include <QFileInfo>
#include <QLibraryInfo>
#include <QSessionManager>
#include <cstdio>
#include <string>
#include <vector>

#include "modules/modMain.h"
#include "platform/settings_location.h"
#include "posix/single_instance.h"
#include "posix/wayland_display.h"
#include "qt/frmMain.h"
#include "qt/system_services.h"
#include "qt/termination_signals.h"
#include "shared/command_line.h"
#include "shared/display_key.h"
#include "x11/display_check.h"

namespace {

bool WaylandPluginInstalled() {
    return QFileInfo::exists(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                             QStringLiteral("/platforms/libqwayland-generic.so"));
}

// Picks Qt's platform unless QT_QPA_PLATFORM names one: in a Wayland session Qt's Wayland plugin
// where it is installed, else X11 (Xwayland there). False, with the one line that says why, when
// the clock has no display to show on.
bool ChoosePlatform() {
    const std::string display = qEnvironmentVariable("DISPLAY").toStdString();
    const QByteArray chosen = qgetenv("QT_QPA_PLATFORM");
    if (!chosen.isEmpty()) {
        if (chosen.startsWith("xcb") && !tikora::CanOpenDisplay()) {
            std::fprintf(stderr, "tikora: cannot open display \"%s\"\n", display.c_str());
            return false;
        }
        return true;
    }
    const bool x11 = tikora::CanOpenDisplay();
    if (tikora::CanOpenWaylandDisplay() && (WaylandPluginInstalled() || !x11)) {
        if (!WaylandPluginInstalled()) {
            std::fputs(
                "tikora: Qt's Wayland plugin (qt6-wayland) is not installed and there is "
                "no X display (Xwayland) to show the clock on\n",
                stderr);
            return false;
        }
        qputenv("QT_QPA_PLATFORM", "wayland");
        return true;
    }
    if (!x11) {
        std::fprintf(stderr,
                     "tikora: neither a Wayland display (WAYLAND_DISPLAY \"%s\") nor an X display "
                     "(DISPLAY \"%s\") can be opened\n",
                     qEnvironmentVariable("WAYLAND_DISPLAY").toStdString().c_str(),
                     display.c_str());
        return false;
    }
    qputenv("QT_QPA_PLATFORM", "xcb");
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    using tikora::CommandLineRequest;
    const std::vector<std::string> arguments(argv + 1, argv + argc);
    switch (tikora::ReadCommandLine(arguments)) {
        case CommandLineRequest::ShowHelp:
            std::fputs(tikora::UsageText("tikora", tikora::UserSettingsFile()).c_str(), stdout);
            return 0;
        case CommandLineRequest::ShowVersion:
            std::puts("tikora " TIKORA_VERSION);
            return 0;
        case CommandLineRequest::Unknown:
            std::fputs((tikora::CommandLineError("tikora", arguments) +
                        tikora::UsageText("tikora", tikora::UserSettingsFile()))
                           .c_str(),
                       stderr);
            return 2;
        case CommandLineRequest::RunClock:
            break;
    }
    if (!ChoosePlatform()) {
        return 1;
    }
    const std::string display = qEnvironmentVariable("DISPLAY").toStdString();
    const std::string key =
        tikora::DisplayKey(display, qEnvironmentVariable("WAYLAND_DISPLAY").toStdString(),
                           qgetenv("QT_QPA_PLATFORM").startsWith("wayland"));
    const tikora::SingleInstance instance(key);
    if (instance.AnotherIsRunning()) {
        std::fprintf(stderr, "tikora: already running%s%s%s\n", key.empty() ? "" : " on display \"",
                     key.c_str(), key.empty() ? "" : "\"");
        return 0;
    }
    if (!instance.Unguarded().empty()) {
        std::fprintf(stderr, "tikora: runs without the one-clock guard: %s\n",
                     instance.Unguarded().c_str());
    }
    // The windows are small: each repaint goes over the X connection as it is, instead of through
    // a shared-memory segment whose completion event would wake the process twice more.
    if (qEnvironmentVariableIsEmpty("QT_XCB_NO_MITSHM")) {
        qputenv("QT_XCB_NO_MITSHM", "1");
    }
    QApplication application(argc, argv);
    QApplication::setQuitOnLastWindowClosed(false);
    tikora::InstallSystemServices();
    // Logout, Ctrl+C and a closed terminal end the clock the way "Exit" does, but with nobody
    // there to close an error box: a failed save is told on standard error alone.
    constexpr auto kNobodyToAsk = tikora::SaveFailureReport::StandardErrorOnly;
    tikora::WatchTerminationSignals([] { tikora::ExitProgram(EXIT_SUCCESS, kNobodyToAsk); });
    QObject::connect(&application, &QGuiApplication::commitDataRequest,
                     [](QSessionManager&) { tikora::SaveSettings(kNobodyToAsk); });
    // Creating the clock window runs the whole start-up; it is shown once that has returned.
    tikora::frmMain->show();
    return QApplication::exec();
}
