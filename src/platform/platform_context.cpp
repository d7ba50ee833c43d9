// The context object, the backend seam and the frame pacer.
#include "platform/platform_context.hpp"

#include <cstdio>
#include <cstdlib>

#include "platform/session_time.hpp"

PlatformContext& Ctx() {
    static PlatformContext context;
    return context;
}

void UseBackend(Backend* backend) { Ctx().backend = backend; }

long long Backend::SuspendedMilliseconds() { return SystemSuspendedMs(); }

Backend& CurrentBackend() {
    if (!Ctx().backend) {
        std::fputs("platform: no backend installed\n", stderr);
        std::abort();
    }
    return *Ctx().backend;
}

void PumpInput() {
    CurrentBackend().PumpEvents(Ctx().input);
    DeliverScriptedInput(Ctx().input);
}

void EndFrameByFlip() {
    ++Ctx().framesEnded;
    Ctx().flippedSinceWait = true;
}

void EndFrameByTimerWait() {
    if (!Ctx().flippedSinceWait) ++Ctx().framesEnded;
    Ctx().flippedSinceWait = false;
}

uint32_t CurrentVertexColor() {
    const DrawingState& s = Ctx().state;
    const float a = s.alpha;
    auto c = [a](int v) { return static_cast<uint32_t>(v * a + 0.5f); };
    return c(s.color[0]) | (c(s.color[1]) << 8) | (c(s.color[2]) << 16) |
           (static_cast<uint32_t>(a * 255.0f + 0.5f) << 24);
}

void FramePacer::Start(int hz, uint32_t now) {
    hertz = hz > 0 ? hz : 60;
    frameLength = 1000 / hertz;
    remainder = 1000 - frameLength * hertz;
    accumulator = 0;
    due = now;
}

int FramePacer::Advance(uint32_t now) {
    due += static_cast<uint32_t>(frameLength);
    accumulator += remainder;
    if (accumulator >= hertz) {
        accumulator -= hertz;
        due += 1;
    }
    const int32_t d = static_cast<int32_t>(due - now);
    if (d <= 0) {
        due = now;  // late: re-base the schedule, never catch up
        return 0;
    }
    return d;
}
