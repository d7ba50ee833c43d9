// The Windows side of the end request: an event that waits can include.
#pragma once
#include <windows.h>

// Manual-reset event, signalled once the program is asked to end.
HANDLE EndSignalEvent();
