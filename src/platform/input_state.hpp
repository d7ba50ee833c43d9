// Raw input collected from the window system between polls: keys, typed
// characters, mouse, wheel, fingers and the close request. Both backends fill
// it; the input queries read and reset it.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <vector>

struct FingerContact {
    int64_t id = 0;
    float x = 0, y = 0;
};

struct InputState {
    static constexpr int kKeys = 256;
    static constexpr size_t kTypedQueue = 256;

    std::array<bool, kKeys> keyDown{};
    std::array<int, kKeys> keyPresses{};
    // Typed characters, oldest first, in a fixed ring: a taken character is
    // wiped at once, so a password never lingers in freed memory.
    std::array<char16_t, kTypedQueue> typed{};
    size_t typedFirst = 0, typedCount = 0;
    int mouseX = 0, mouseY = 0;
    unsigned mouseButtons = 0;     // bit 0 left, 1 right, 2 middle
    int wheel = 0;                 // notches up (away from the user)
    int wheelX = 0;                // notches to the left: a tilting wheel, or the wheel with Shift
    bool closeRequested = false;
    std::vector<FingerContact> fingers;  // in the order the contacts began
    unsigned activity = 0;               // counts key, typing and finger events

    void KeyDownEvent(int code);
    void KeyUpEvent(int code);
    void TypedEvent(char16_t unit);
    // The oldest typed character (0 when none), wiped from the ring.
    char16_t TakeTyped();
    void FingerDown(int64_t id, float x, float y);
    void FingerMove(int64_t id, float x, float y);
    void FingerUp(int64_t id);
    // Every typed character, wiped.
    void ClearTyped();
    void ClearKeys();
    void ClearMouse();
};
