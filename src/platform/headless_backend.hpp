// A backend without window or GPU, for tests: a virtual millisecond clock that
// sleeping advances, input scripted frame by frame (a frame ends with each
// Flip, or with a timer wait that no Flip preceded), and presented frames
// kept for inspection.
#pragma once
#include <functional>
#include <vector>

#include "platform/backend.hpp"

struct ScriptedEvent {
    enum Kind { MouseMove, MouseDown, MouseUp, KeyDown, KeyUp, Typed, Wheel, FingerDown, FingerMove, FingerUp, Close };
    Kind kind;
    int a = 0;        // key code, button index (0 left), typed character, wheel notches, finger id
    float x = 0, y = 0;
};

class HeadlessBackend : public Backend {
public:
    explicit HeadlessBackend(int desktopWidth = 1920, int desktopHeight = 1080);

    // Events delivered once `frame` Flips have happened (frame 0: right away).
    void At(long long frame, ScriptedEvent event);
    // Shorthands for the frame that follows the next Flip.
    long long Flips() const { return flips_; }
    void SetClock(uint32_t ms) { clock_ = ms; }

    // What the last Present received, and counts.
    const DrawList& LastFrame() const { return last_; }
    int PresentCount() const { return presents_; }
    const std::vector<Text>& Messages() const { return messages_; }
    long long SleptMilliseconds() const { return slept_; }

    int DesktopWidth() override { return desktopW_; }
    int DesktopHeight() override { return desktopH_; }
    bool OpenWindow(int width, int height, const Text& title) override;
    void CloseWindow() override { open_ = false; }
    bool WindowOpen() const override { return open_; }
    void Present(const DrawList& frame, PresentStats& stats) override;
    bool NeedsRepaint() override { return false; }
    void Repaint() override {}
    void PumpEvents(InputState& input) override;
    // A frame ends with a Flip, or with a timer wait in a loop that does not flip.
    void FrameEnded() override {
        ++flips_;
        flippedSinceWait_ = true;
    }
    void TimerWaited() override {
        if (!flippedSinceWait_) ++flips_;
        flippedSinceWait_ = false;
    }
    uint32_t Milliseconds() override { return clock_; }
    void SleepMilliseconds(int ms) override;
    void MessageBox(const Text& title, const Text& text, bool serious) override;

    Text title;
    int windowWidth = 0, windowHeight = 0;

private:
    struct Pending { long long frame; ScriptedEvent event; };
    int desktopW_, desktopH_;
    bool open_ = false;
    uint32_t clock_ = 1000;
    long long slept_ = 0;
    long long flips_ = 0;
    bool flippedSinceWait_ = false;
    int presents_ = 0;
    DrawList last_;
    std::vector<Pending> pending_;
    std::vector<Text> messages_;
};
