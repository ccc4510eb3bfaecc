// SPDX-License-Identifier: MIT
#include "qt/termination_signals.h"

#include <fcntl.h>
#include <unistd.h>

#include <QCoreApplication>
#include <QSocketNotifier>
#include <array>
#include <cerrno>
#include <csignal>
#include <cstdlib>

namespace tikora {
namespace {

// The handler only writes a byte into this pipe, which is all a signal handler may safely do; the
// event loop reads it.
std::array<int, 2> signalPipe = {-1, -1};

volatile std::sig_atomic_t ending = 0;

void NoteSignal(int) {
    const int savedErrno = errno;
    if (ending == 0) {
        ending = 1;
        alarm(static_cast<unsigned>(kSignalGrace.count()));
    }
    const char byte = 1;
    [[maybe_unused]] const auto written = write(signalPipe[1], &byte, 1);
    errno = savedErrno;
}

// Only what a signal handler may call: write and _exit.
void EndNow(int) {
    static constexpr char kLine[] =
        "tikora: ending 3 s after the signal, without having saved the settings\n";
    [[maybe_unused]] const auto written = write(STDERR_FILENO, kLine, sizeof kLine - 1);
    _exit(EXIT_FAILURE);
}

}  // namespace

void WatchTerminationSignals(std::function<void()> onSignal) {
    if (pipe2(signalPipe.data(), O_CLOEXEC | O_NONBLOCK) != 0) {
        return;
    }
    auto* notifier =
        new QSocketNotifier(signalPipe[0], QSocketNotifier::Read, QCoreApplication::instance());
    QObject::connect(notifier, &QSocketNotifier::activated, notifier,
                     [onSignal = std::move(onSignal)] {
                         char bytes[16];
                         while (read(signalPipe[0], bytes, sizeof bytes) > 0) {
                         }
                         onSignal();
                     });
    struct sigaction action {};
    action.sa_handler = NoteSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    for (const int signal : {SIGTERM, SIGINT, SIGHUP}) {
        sigaction(signal, &action, nullptr);
    }
    action.sa_handler = EndNow;
    sigaction(SIGALRM, &action, nullptr);
}

}  // namespace tikora
