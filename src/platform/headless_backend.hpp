// A backend without window or GPU, for tests: a virtual millisecond clock that
// sleeping advances, input scripted frame by frame (a frame ends with each
// Flip, or with a timer wait that no Flip preceded), and presented frames
// kept for inspection.
#pragma once
#include <functional>
#include <vector>

#include "platform/backend.hpp"
#include "platform/input_script.hpp"

class HeadlessBackend : public Backend {
public:
    explicit HeadlessBackend(int desktopWidth = 1920, int desktopHeight = 1080);

    // Events delivered once `frame` frames have ended (see input_script.hpp).
    void At(long long frame, ScriptedEvent event) { ScriptInput(frame, event); }
    long long Flips() const { return FramesEnded(); }
    void SetClock(uint32_t ms) { clock_ = ms; }
    // A virtual suspend of the computer: the program's clock stands, the
    // suspended time grows.
    void Suspend(long long ms) { suspended_ += ms; }

    // What the last Present received, how it was planned, what it drew onto
    // the kept picture, and counts.
    const DrawList& LastFrame() const { return last_; }
    const FramePlan& LastPlan() const { return plan_; }
    const DrawList& LastDrawn() const { return plan_.ToDraw(last_); }
    int PresentCount() const { return presents_; }
    const std::vector<Text>& Messages() const { return messages_; }
    long long SleptMilliseconds() const { return slept_; }

    int DesktopWidth() override { return desktopW_; }
    int DesktopHeight() override { return desktopH_; }
    bool OpenWindow(int width, int height, const Text& title) override;
    void CloseWindow() override { open_ = false; }
    bool WindowOpen() const override { return open_; }
    void Present(const DrawList& frame, const FramePlan& plan, PresentStats& stats) override;
    bool NeedsRepaint() override { return false; }
    void Repaint() override {}
    void PumpEvents(InputState&) override {}
    uint32_t Milliseconds() override { return clock_; }
    long long SuspendedMilliseconds() override { return suspended_; }
    Text ClipboardText() override { return clipboard; }
    Text clipboard;  // what a test put on the clipboard
    void SleepMilliseconds(int ms) override;
    void MessageBox(const Text& title, const Text& text, bool serious) override;

    Text title;
    int windowWidth = 0, windowHeight = 0;

private:
    int desktopW_, desktopH_;
    bool open_ = false;
    uint32_t clock_ = 1000;
    long long suspended_ = 0;
    long long slept_ = 0;
    int presents_ = 0;
    DrawList last_;
    FramePlan plan_;
    std::vector<Text> messages_;
};
