// Input queries over the collected input state; each pumps events first.
#include "platform/input.hpp"

#include "platform/platform_context.hpp"

namespace {
InputState& Pumped() {
    PumpInput();
    return Ctx().input;
}
}  // namespace

int PointerX() { return Pumped().mouseX; }
int PointerY() { return Pumped().mouseY; }

int WheelDelta() {
    InputState& in = Pumped();
    const int d = in.wheel;
    in.wheel = 0;
    return d;
}

int WheelDeltaX() {
    InputState& in = Pumped();
    const int d = in.wheelX;
    in.wheelX = 0;
    return d;
}

int KeyPressed(int key) {
    InputState& in = Pumped();
    if (key <= 0 || key >= InputState::kKeys) return 0;
    const int n = in.keyPresses[key];
    in.keyPresses[key] = 0;
    return n;
}

bool KeyHeld(int key) {
    InputState& in = Pumped();
    return key > 0 && key < InputState::kKeys && in.keyDown[key];
}

int NextTypedChar() {
    InputState& in = Pumped();
    return in.TakeTyped();
}

void ClearKeys() { Pumped().ClearKeys(); }
void ClearMouse() { Pumped().ClearMouse(); }

Text ClipboardText() { return CurrentBackend().ClipboardText(); }

void ForgetKeystrokes() {
    // Only the presses a menu or box would act on (Enter, Backspace, the
    // arrows); Escape stays for the frame's User::update. Not pumped: what
    // arrives now is for the next frame.
    InputState& in = Ctx().input;
    in.ClearTyped();
    for (int k : {kKeyBackspace, kKeyEnter, kKeyLeft, kKeyUp, kKeyRight, kKeyDown}) in.keyPresses[k] = 0;
}

bool CloseRequested() {
    InputState& in = Pumped();
    const bool r = in.closeRequested;
    in.closeRequested = false;
    return r;
}

unsigned InputActivity() {
    const InputState& in = Pumped();
    return in.activity + static_cast<unsigned>(in.mouseX) * 7919u + static_cast<unsigned>(in.mouseY) * 104729u +
           in.mouseButtons * 31u + static_cast<unsigned>(in.wheel) * 13u + static_cast<unsigned>(in.wheelX) * 7u;
}

void DiscardPendingInput() {
    InputState& in = Pumped();
    in.ClearKeys();
    in.ClearMouse();
    in.closeRequested = false;
}

void TMultiTouch::Init(int, int, int) {
    // Fingers and the mouse both arrive as events of the backend; nothing to
    // select here. Forget contacts of a previous window.
    Ctx().input.fingers.clear();
}

std::vector<TTouchPoint> TMultiTouch::Get() {
    InputState& in = Pumped();
    std::vector<TTouchPoint> points;
    if (!in.fingers.empty()) {
        for (const FingerContact& f : in.fingers) points.push_back({f.x, f.y});
    } else if (in.mouseButtons != 0) {
        points.push_back({static_cast<float>(in.mouseX), static_cast<float>(in.mouseY)});
    }
    return points;
}
