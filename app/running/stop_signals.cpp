// SPDX-License-Identifier: GPL-3.0-or-later
#include "app/running/stop_signals.h"

#include <atomic>
#include <cassert>
#include <cerrno>
#include <csignal>
#include <fcntl.h>
#include <iterator>
#include <unistd.h>

namespace padloom {
namespace {

constexpr size_t signalCount = std::size(stopSignalNumbers);

std::atomic<bool> armed{false};
int wakeFds[2] = {-1, -1};
struct sigaction earlier[signalCount];
bool handled[signalCount] = {};

// Only async-signal-safe calls here.
void onStopSignal(int signal) {
    if (!armed.load()) {
        struct sigaction usual = {};
        usual.sa_handler = SIG_DFL;
        sigaction(signal, &usual, nullptr);
        raise(signal); // delivered, with its usual effect, once this handler returns
        return;
    }
    const int savedErrno = errno;
    const char number = static_cast<char>(signal);
    [[maybe_unused]] const ssize_t written = write(wakeFds[1], &number, 1);
    errno = savedErrno;
}

} // namespace

bool signalIgnored(int signal) {
    struct sigaction current = {};
    return sigaction(signal, nullptr, &current) == 0 && current.sa_handler == SIG_IGN;
}

StopSignals::StopSignals() {
    assert(wakeFds[0] < 0 && "one StopSignals at a time");
    armed = false;
    if (pipe2(wakeFds, O_CLOEXEC) == 0) {
        fcntl(wakeFds[1], F_SETFL, O_NONBLOCK); // a burst of signals never blocks the handler
    }
    struct sigaction action = {};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESTART;
    sigemptyset(&action.sa_mask);
    for (size_t i = 0; i < signalCount; ++i) {
        handled[i] = !signalIgnored(stopSignalNumbers[i]);
        if (handled[i]) {
            sigaction(stopSignalNumbers[i], &action, &earlier[i]);
        }
    }
}

StopSignals::~StopSignals() {
    for (size_t i = 0; i < signalCount; ++i) {
        if (handled[i]) {
            sigaction(stopSignalNumbers[i], &earlier[i], nullptr);
        }
    }
    armed = false;
    close(wakeFds[0]);
    close(wakeFds[1]);
    wakeFds[0] = wakeFds[1] = -1;
}

void StopSignals::arm() {
    armed = true;
}

void StopSignals::wake() {
    const char none = 0;
    [[maybe_unused]] const ssize_t written = write(wakeFds[1], &none, 1);
}

int StopSignals::wait() {
    char number = 0;
    while (read(wakeFds[0], &number, 1) < 0 && errno == EINTR) {
    }
    return number;
}

} // namespace padloom
