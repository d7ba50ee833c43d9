// SIGTERM, SIGHUP and SIGINT (a logout, a shutdown, a closed terminal, Ctrl+C)
// ask the program to end now; on Windows the console's Ctrl+C, close, logoff
// and shutdown events and the window's end of the session do the same. Unlike the window's close request, which closes
// only the dialog that is open, this request stays: every modal loop ends
// without an answer, the open class is saved and the program ends.
#pragma once

// Installs the handlers. Interrupted system calls are not restarted, so a
// wait for a child process notices the request.
void CatchEndSignals();

// The same request from the window system (the session ends while the
// window is open); safe to call from any thread.
void RequestEnd();

// True once one of the signals has arrived; it stays true for the run.
bool EndSignalled();

// While on, a signal ends the process at once with status 0 (one that came
// before ends it now): for the system message boxes, which no signal can
// close, shown while nothing is left to save.
void EndAtOnceOnSignal(bool atOnce);

// A descriptor that becomes readable when a signal arrives (-1 before
// CatchEndSignals, and always on Windows, which waits on an event instead),
// for waits that must notice the request at once.
int EndSignalDescriptor();

// Forgets an arrived request and the end-at-once mode: a test's fresh start.
void ForgetEndSignal();
