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
    if (typedCount < kTypedQueue) typed[(typedFirst + typedCount++) % kTypedQueue] = unit;
}

char16_t InputState::TakeTyped() {
    if (typedCount == 0) return 0;
    char16_t& slot = typed[typedFirst];
    const char16_t c = slot;
    // A volatile store, so the wipe is not dropped as a dead write.
    *static_cast<volatile char16_t*>(&slot) = 0;
    typedFirst = (typedFirst + 1) % kTypedQueue;
    --typedCount;
    return c;
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

void InputState::ClearTyped() {
    for (char16_t& c : typed) *static_cast<volatile char16_t*>(&c) = 0;
    typedFirst = typedCount = 0;
}

void InputState::ClearKeys() {
    keyDown.fill(false);
    keyPresses.fill(0);
    ClearTyped();
}

void InputState::ClearMouse() {
    mouseButtons = 0;
    wheel = 0;
    wheelX = 0;
}
