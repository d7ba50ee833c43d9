// Time as the lock counts it: a clock that goes on while the computer sleeps
// (a suspended laptop's sleep is idle time too), and a note that the program
// has just waited for another program (a requester, the spreadsheet program),
// whose time counts as the session's and whose input is not the teacher's
// input to this program.
#pragma once

// Milliseconds of a monotonic clock that includes suspended time.
long long SessionClockMs();
// Milliseconds the computer has slept (suspended or hibernated) since some
// fixed moment: the session clock less a monotonic clock that stops while
// the computer sleeps. The system's own figure; see SuspendedMs.
long long SystemSuspendedMs();
// The same as the backend counts it (the system's, or a test's virtual
// figure): only its growth between two calls means anything.
long long SuspendedMs();
// Called when a wait for another program has ended.
void NoteExternalWaitEnded();
// True once after such a wait (and clears the note).
bool TakeExternalWaitEnded();
