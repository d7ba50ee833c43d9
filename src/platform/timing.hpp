// Time: the millisecond clock, the frame timer and pauses.
#pragma once
#include <memory>

int MillisecondClock();

struct FrameTimer;
using TTimer = std::shared_ptr<FrameTimer>;
TTimer CreateFrameTimer(double hertz);
// Processes events until the timer has ticked since the previous wait;
// returns the ticks since then (never 0).
int WaitTimer(const TTimer& timer);
void Delay(int milliseconds);
