// The frame timer every screen and modal loop waits on, and the common end of
// a frame: present, then wait for the next tick.
#pragma once
#include "platform/timing.hpp"

// 50 ticks per second; created at start.
extern TTimer Taktgeber;

// Flip(-1), then WaitTimer on Taktgeber.
void FrameEnd();
