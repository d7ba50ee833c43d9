// The session clock on Windows: the tick count, which goes on while the
// notebook sleeps, so the idle lock counts a suspended lid as idle time.
#include "platform/session_time.hpp"
#include "platform/windows/wide.hpp"

long long SessionClockMs() { return static_cast<long long>(GetTickCount64()); }

// The unbiased interrupt time stops while the computer sleeps or hibernates
// (in 100 ns units).
long long SystemSuspendedMs() {
    ULONGLONG wach = 0;
    QueryUnbiasedInterruptTime(&wach);
    return SessionClockMs() - static_cast<long long>(wach / 10000);
}
