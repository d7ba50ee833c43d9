// A backend that forwards to another and adds up the calling thread's CPU
// spent presenting and sleeping, so that a modal loop's frames can be split
// into the program's own work, the backend's drawing and the pacing waits.
#pragma once
#include "bench_util.hpp"
#include "platform/backend.hpp"

namespace bench {

class MeasuringBackend : public Backend {
public:
    explicit MeasuringBackend(Backend& inner) : inner_(inner) {}

    double presentCpu = 0;  // thread CPU in Present and Repaint
    double sleepCpu = 0;    // thread CPU in SleepMilliseconds (should stay ~0)
    double sleepWall = 0;   // wall time in SleepMilliseconds

    int DesktopWidth() override { return inner_.DesktopWidth(); }
    int DesktopHeight() override { return inner_.DesktopHeight(); }
    bool OpenWindow(int width, int height, const Text& title) override {
        return inner_.OpenWindow(width, height, title);
    }
    void CloseWindow() override { inner_.CloseWindow(); }
    bool WindowOpen() const override { return inner_.WindowOpen(); }
    void Present(const DrawList& frame, const FramePlan& plan, PresentStats& stats) override {
        const double c0 = ThreadCpuMs();
        inner_.Present(frame, plan, stats);
        presentCpu += ThreadCpuMs() - c0;
    }
    bool NeedsRepaint() override { return inner_.NeedsRepaint(); }
    void Repaint() override {
        const double c0 = ThreadCpuMs();
        inner_.Repaint();
        presentCpu += ThreadCpuMs() - c0;
    }
    void PumpEvents(InputState& input) override { inner_.PumpEvents(input); }
    bool WaitForEvent(int ms) override {
        const double c0 = ThreadCpuMs(), w0 = WallMs();
        const bool came = inner_.WaitForEvent(ms);
        sleepCpu += ThreadCpuMs() - c0;
        sleepWall += WallMs() - w0;
        return came;
    }
    void UploadTextures(const std::vector<uint32_t>& ids) override { inner_.UploadTextures(ids); }
    bool ReadCanvas(int& width, int& height, std::vector<uint32_t>& argb) override {
        return inner_.ReadCanvas(width, height, argb);
    }
    uint32_t Milliseconds() override { return inner_.Milliseconds(); }
    void SleepMilliseconds(int ms) override {
        const double c0 = ThreadCpuMs(), w0 = WallMs();
        inner_.SleepMilliseconds(ms);
        sleepCpu += ThreadCpuMs() - c0;
        sleepWall += WallMs() - w0;
    }
    void MessageBox(const Text& title, const Text& text, bool serious) override {
        inner_.MessageBox(title, text, serious);
    }

private:
    Backend& inner_;
};

}  // namespace bench
