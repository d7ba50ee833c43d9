// The session clock on POSIX: CLOCK_BOOTTIME where Linux has it (it counts
// suspended time), CLOCK_MONOTONIC elsewhere; the time slept is the
// difference of the two.
#include <time.h>

#include "platform/session_time.hpp"

namespace {
long long Ms(const timespec& t) { return t.tv_sec * 1000LL + t.tv_nsec / 1000000; }
}  // namespace

long long SessionClockMs() {
    timespec t{};
#if defined(CLOCK_BOOTTIME)
    if (clock_gettime(CLOCK_BOOTTIME, &t) == 0) return Ms(t);
#endif
    clock_gettime(CLOCK_MONOTONIC, &t);
    return Ms(t);
}

// CLOCK_MONOTONIC stops while Linux sleeps; without CLOCK_BOOTTIME both are
// the same clock and nothing counts as slept.
long long SystemSuspendedMs() {
    timespec wach{};
    clock_gettime(CLOCK_MONOTONIC, &wach);
    return SessionClockMs() - Ms(wach);
}
