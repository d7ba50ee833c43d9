// The session clock on POSIX: CLOCK_BOOTTIME where Linux has it (it counts
// suspended time), CLOCK_MONOTONIC elsewhere.
#include <time.h>

#include "platform/session_time.hpp"

long long SessionClockMs() {
    timespec t{};
#if defined(CLOCK_BOOTTIME)
    if (clock_gettime(CLOCK_BOOTTIME, &t) == 0) return t.tv_sec * 1000LL + t.tv_nsec / 1000000;
#endif
    clock_gettime(CLOCK_MONOTONIC, &t);
    return t.tv_sec * 1000LL + t.tv_nsec / 1000000;
}
