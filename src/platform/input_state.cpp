// Event bookkeeping shared by the SDL and the headless backend.
#include "platform/input_state.hpp"

#include <algorithm>

void InputState::KeyDownEvent(int code) {
    ++activity;
    if (code <= 0 || code >= kKeys) return;
    keyDown[code] = true;
    ++keyPresses[code];
}

void InputState::KeyUpEvent(int code) {
    if (code <= 0 || code >= kKeys) return;
    keyDown[code] = false;
}

void InputState::TypedEvent(char16_t unit) {
    ++activity;
    if (typed.size() < kTypedQueue) typed.push_back(unit);
}

void InputState::FingerDown(int64_t id, float x, float y) {
    ++activity;
    FingerUp(id);
    fingers.push_back({id, x, y});
}

void InputState::FingerMove(int64_t id, float x, float y) {
    ++activity;
    for (FingerContact& f : fingers)
        if (f.id == id) { f.x = x; f.y = y; }
}

void InputState::FingerUp(int64_t id) {
    fingers.erase(std::remove_if(fingers.begin(), fingers.end(), [id](const FingerContact& f) { return f.id == id; }),
                  fingers.end());
}

void InputState::ClearKeys() {
    keyDown.fill(false);
    keyPresses.fill(0);
    typed.clear();
}

void InputState::ClearMouse() {
    mouseButtons = 0;
    wheel = 0;
    wheelX = 0;
}
