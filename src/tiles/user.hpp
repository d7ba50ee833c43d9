// Per-frame input of every screen: pointer, touch state, back request, wheel.
// Written once per frame by User::update, read by all tiles and screens.
#pragma once

extern int FrameTime;
extern int TouchState;       // 0 idle, 1 pressed, 2 held, 3 released
extern float PointerPosX, PointerPosY;
extern float AnchorX, AnchorY;
extern int TwoFingers;
extern int BackRequested;
extern int WheelMove;
extern int WheelMoveX;       // sideways notches, positive to the left

class User {
public:
    static void update();
    static void flush();
    // Called by update once no input came for LeerlaufGrenzeMs (on the
    // program's clock, the computer's sleep included), and at once when the
    // desktop's screen lock comes on or the computer wakes from a sleep that
    // long; afterwards the input is flushed and the idle time starts again.
    // Not called again while it runs.
    static void (*Leerlaufwache)();
    static int LeerlaufGrenzeMs;
};
