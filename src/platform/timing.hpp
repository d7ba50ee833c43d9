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
// Sleeps until the window system has an event for the program (a key, the
// mouse, an exposed window), at most the given time: a screen that stands
// still need not be built 50 times a second. Returns at once on a backend
// without such events.
void WaitForInput(int milliseconds);
