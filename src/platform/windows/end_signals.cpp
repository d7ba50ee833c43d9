// The console's Ctrl+C, Ctrl+Break, close, logoff and shutdown events and the
// window's end of the session set a flag and an event. The console handler
// runs on a thread of its own: for close, logoff and shutdown the system ends
// the process when the handler returns, so it waits there until the program
// has saved and ended itself (the system allows a few seconds).
#include "platform/end_signals.hpp"

#include <atomic>

#include "platform/windows/end_signals.hpp"

namespace {
std::atomic<bool> gSignalled{false};
std::atomic<bool> gAtOnce{false};

BOOL WINAPI OnConsoleEvent(DWORD event) {
    if (gAtOnce) ExitProcess(0);
    RequestEnd();
    if (event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT || event == CTRL_SHUTDOWN_EVENT) Sleep(10000);
    return TRUE;
}
}  // namespace

HANDLE EndSignalEvent() {
    static HANDLE event = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    return event;
}

void CatchEndSignals() {
    EndSignalEvent();
    SetConsoleCtrlHandler(OnConsoleEvent, TRUE);
}

void RequestEnd() {
    gSignalled = true;
    SetEvent(EndSignalEvent());
}

bool EndSignalled() { return gSignalled; }

void EndAtOnceOnSignal(bool atOnce) {
    gAtOnce = atOnce;
    if (atOnce && gSignalled) ExitProcess(0);
}

int EndSignalDescriptor() { return -1; }

void ForgetEndSignal() {
    gAtOnce = false;
    gSignalled = false;
    ResetEvent(EndSignalEvent());
}
