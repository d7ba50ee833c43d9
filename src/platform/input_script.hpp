// Input scripted frame by frame, on any backend: the headless tests drive the
// modal loops with it, and the gallery drives the real window with it. A
// frame ends with each Flip, or with a timer wait that no Flip preceded.
// A Capture event saves the last presented picture as a PNG (real backend);
// a Signal event raises the signal in the program itself.
#pragma once
#include "platform/text.hpp"

struct ScriptedEvent {
    enum Kind { MouseMove, MouseDown, MouseUp, KeyDown, KeyUp, Typed, Wheel, FingerDown, FingerMove, FingerUp, Close,
                Capture, Signal, WheelX };
    Kind kind;
    int a = 0;        // key code, button index (0 left), typed character, wheel notches (WheelX: to the
                      // left), finger id, signal
    float x = 0, y = 0;
    Text path;        // Capture: where the PNG goes
};

// Delivers the event in the first input poll after `frame` frames have ended.
void ScriptInput(long long frame, const ScriptedEvent& event);
// Frames ended so far.
long long FramesEnded();
// Forgets scripted events not delivered yet.
void ClearInputScript();
// Saves the picture last presented as a PNG; false where the backend keeps none.
bool SaveCanvasAsPng(const Text& path);
