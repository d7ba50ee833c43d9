// The millisecond clock and the frame timer, both read from the backend's
// clock (real or virtual). A timer ticks at fixed times from its creation;
// waiting sleeps until the next tick instead of spinning.
#include "platform/timing.hpp"

#include <algorithm>
#include <cmath>

#include "platform/end_signals.hpp"
#include "platform/platform_context.hpp"

struct FrameTimer {
    double hertz = 50;
    uint32_t start = 0;
    long long seen = 0;  // ticks counted by the previous wait
};

namespace {
long long TicksSince(const FrameTimer& t, uint32_t now) {
    const uint32_t elapsed = now - t.start;
    return static_cast<long long>(elapsed * t.hertz / 1000.0);
}
}  // namespace

int MillisecondClock() { return static_cast<int>(CurrentBackend().Milliseconds()); }

TTimer CreateFrameTimer(double hertz) {
    if (!(hertz > 0)) return nullptr;
    auto t = std::make_shared<FrameTimer>();
    t->hertz = hertz;
    t->start = CurrentBackend().Milliseconds();
    return t;
}

int WaitTimer(const TTimer& timer) {
    if (!timer) return 0;
    Backend& be = CurrentBackend();
    for (;;) {
        PumpInput();
        const uint32_t now = be.Milliseconds();
        const long long ticks = TicksSince(*timer, now);
        if (ticks != timer->seen) {
            const long long n = ticks - timer->seen;
            timer->seen = ticks;
            EndFrameByTimerWait();
            return static_cast<int>(n);
        }
        // Sleep until the next tick is due, at least a millisecond.
        const double nextAt = (ticks + 1) * 1000.0 / timer->hertz;
        const int wait = static_cast<int>(std::ceil(nextAt - static_cast<double>(now - timer->start)));
        be.SleepMilliseconds(wait > 0 ? wait : 1);
    }
}

void WaitForInput(int milliseconds) {
    // In slices, so that a shutdown signal (which wakes no window event) is
    // still answered within a slice.
    constexpr int kSlice = 40;
    Backend& be = CurrentBackend();
    const uint32_t start = be.Milliseconds();
    for (int left = milliseconds; left > 0 && !EndSignalled();) {
        const uint32_t before = be.Milliseconds();
        if (be.WaitForEvent(std::min(left, kSlice))) return;
        const uint32_t now = be.Milliseconds();
        if (now == before) return;  // a backend that does not wait (headless)
        left = milliseconds - static_cast<int>(now - start);
    }
}

void Delay(int milliseconds) {
    if (milliseconds > 0) CurrentBackend().SleepMilliseconds(milliseconds);
}
