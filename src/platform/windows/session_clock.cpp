// The session clock on Windows: the tick count, which goes on while the
// notebook sleeps, so the idle lock counts a suspended lid as idle time.
#include "platform/session_time.hpp"
#include "platform/windows/wide.hpp"

long long SessionClockMs() { return static_cast<long long>(GetTickCount64()); }
