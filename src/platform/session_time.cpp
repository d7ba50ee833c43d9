// The note of an ended wait for another program (the clock itself is the
// system's: see the platform's own file).
#include "platform/session_time.hpp"

#include "platform/platform_context.hpp"

namespace {
bool ended = false;
}

void NoteExternalWaitEnded() { ended = true; }

bool TakeExternalWaitEnded() {
    const bool was = ended;
    ended = false;
    return was;
}

long long SuspendedMs() { return CurrentBackend().SuspendedMilliseconds(); }
