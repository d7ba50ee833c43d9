// The one drawing context behind the facade: the drawing state, the frame
// being recorded, the last presented frame, input and the frame pacer.
// Internal to src/platform.
#pragma once
#include <cstdint>

#include "platform/backend.hpp"
#include "platform/draw_list.hpp"
#include "platform/graphics.hpp"
#include "platform/input_state.hpp"

struct FramePacer {
    int frameLength = 16;  // L = 1000 div hertz
    int remainder = 40;    // R = 1000 - L * hertz
    int hertz = 60;
    int accumulator = 0;   // A
    uint32_t due = 0;      // T
    void Start(int hz, uint32_t now);
    // Returns how long to sleep before presenting (0 when late; then re-based).
    int Advance(uint32_t now);
};

struct DrawingState {
    int color[3] = {255, 255, 255};
    float alpha = 1.0f;
    int blend = 3;
    float scaleX = 1.0f, scaleY = 1.0f;
    float originX = 0.0f, originY = 0.0f;
    ClipRect viewport;
    TImageFont font;
    int clsColor[3] = {0, 0, 0};
    int maskColor[3] = {0, 0, 0};
};

struct PlatformContext {
    Backend* backend = nullptr;
    Text appTitle;
    bool windowOpen = false;
    int width = 0, height = 0;
    int hertz = 60;
    DrawingState state;
    DrawList frame;          // being recorded
    DrawList shown;          // last presented
    bool shownValid = false;
    // TextureStore::ReleaseGeneration() when the recording of `shown` and of
    // `frame` began: a place given back after that may hold other texels.
    uint64_t shownBegan = 0, frameBegan = 0;
    InputState input;
    FramePacer pacer;
    FrameFigures figures;
    long long framesEnded = 0;     // Flips, and timer waits that no Flip preceded
    bool flippedSinceWait = false;
};

PlatformContext& Ctx();
// Processes pending window-system events, then due scripted events, into the input state.
void PumpInput();
void DeliverScriptedInput(InputState& input);
// Frame bookkeeping for scripted input.
void EndFrameByFlip();
void EndFrameByTimerWait();
// Premultiplied vertex colour from the current colour and alpha.
uint32_t CurrentVertexColor();
