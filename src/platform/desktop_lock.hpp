// The desktop's own screen lock, where the session tells it: on Linux
// systemd-logind's LockedHint of the session, asked every few seconds in the
// background; on Windows the session's lock message to the window.
#pragma once

// True once after the desktop's screen lock came on (and clears the note).
// Asks the session as it goes: call it every frame while it matters. Never
// true where no session tells it (no logind, a virtual display, tests).
bool DesktopLockCame();
// Called where the system tells that the desktop was locked.
void NoteDesktopLocked();
