// One program per program folder: an exclusive lock on a lock file there,
// held for the whole run. The system releases it when the process ends in
// any way, a crash or a kill included, so it never goes stale.
#pragma once
#include "platform/text.hpp"

enum class LockResult {
    Held,          // this process holds the lock now
    HeldByOther,   // another process holds it: a second start
    Unavailable,   // the lock file can neither be opened nor created
};

// Takes the lock on the file (created when missing, never written to) and
// keeps it until the process ends. Calling it again for the same path while
// holding it returns Held.
LockResult LockFileForRun(const Text& path);
