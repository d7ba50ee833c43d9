// The end signals: an async-signal-safe flag and a self-pipe whose read end
// stays readable once a signal came.
#include "platform/end_signals.hpp"

#include <fcntl.h>
#include <unistd.h>

#include <cerrno>
#include <csignal>
#include <initializer_list>

namespace {
volatile std::sig_atomic_t gSignalled = 0;
volatile std::sig_atomic_t gAtOnce = 0;
int gPipe[2] = {-1, -1};

void OnEndSignal(int) {
    if (gAtOnce) _exit(0);
    gSignalled = 1;
    const int saved = errno;
    if (gPipe[1] >= 0) {
        const char byte = 1;
        [[maybe_unused]] const ssize_t n = write(gPipe[1], &byte, 1);
    }
    errno = saved;
}
}  // namespace

void CatchEndSignals() {
    if (gPipe[0] < 0 && pipe2(gPipe, O_CLOEXEC | O_NONBLOCK) != 0) gPipe[0] = gPipe[1] = -1;
    struct sigaction action {};
    action.sa_handler = OnEndSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = 0;  // no SA_RESTART
    for (int s : {SIGTERM, SIGHUP, SIGINT}) sigaction(s, &action, nullptr);
}

void RequestEnd() { OnEndSignal(SIGTERM); }

bool EndSignalled() { return gSignalled != 0; }

void EndAtOnceOnSignal(bool atOnce) {
    gAtOnce = atOnce ? 1 : 0;
    if (atOnce && gSignalled) _exit(0);
}

int EndSignalDescriptor() { return gPipe[0]; }

void ForgetEndSignal() {
    gAtOnce = 0;
    gSignalled = 0;
    if (gPipe[0] < 0) return;
    char buffer[64];
    while (read(gPipe[0], buffer, sizeof buffer) > 0) {
    }
}
