// Time as the lock counts it: a clock that goes on while the computer sleeps
// (a suspended laptop's sleep is idle time too), and a note that the program
// has just waited for another program (a requester, the spreadsheet program),
// whose time counts as the session's and whose input is not the teacher's
// input to this program.
#pragma once

// Milliseconds of a monotonic clock that includes suspended time.
long long SessionClockMs();
// Called when a wait for another program has ended.
void NoteExternalWaitEnded();
// True once after such a wait (and clears the note).
bool TakeExternalWaitEnded();
