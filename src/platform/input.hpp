// Input queries. Each first processes pending window-system events, so input
// stays current even in loops that do not call Flip.
#pragma once
#include <vector>

#include "platform/text.hpp"

// Key codes the program uses (the system's virtual-key numbers).
enum KeyCode {
    kKeyBackspace = 8, kKeyTab = 9, kKeyEnter = 13, kKeyShift = 16, kKeyCtrl = 17, kKeyEscape = 27,
    kKeySpace = 32, kKeyEnd = 35, kKeyHome = 36, kKeyLeft = 37, kKeyUp = 38,
    kKeyRight = 39, kKeyDown = 40, kKeyInsert = 45, kKeyDelete = 46,
};

int PointerX();
int PointerY();
int WheelDelta();
// Sideways notches since the last call, positive to the left.
int WheelDeltaX();
int KeyPressed(int key);
bool KeyHeld(int key);
int NextTypedChar();
void ClearKeys();
void ClearMouse();
// Drops typed characters and counted key presses but keeps which keys are
// held (a held Ctrl still counts for the next key).
void ForgetKeystrokes();
// The system clipboard's text (empty when it holds none).
Text ClipboardText();
bool CloseRequested();
// Drops everything that arrived while another program had the user's
// attention (a requester, the spreadsheet program): keys, buttons, wheel and
// a close request, so that none acts on the screen beneath.
void DiscardPendingInput();
// Changes whenever the user did anything (a key, typing, a finger, the
// mouse moved or a button changed); compared between frames to find idle time.
unsigned InputActivity();

// Touch points: fingers in the order they began; while no finger touches, a
// held mouse button is one point at the mouse position.
struct TTouchPoint {
    float x = 0, y = 0;
};

class TMultiTouch {
public:
    static void Init(int a, int b, int c);
    static std::vector<TTouchPoint> Get();
};
