// The seam between the platform facade and what lies below it: the SDL/OpenGL
// backend for the program, the headless backend for tests. A backend owns the
// window, the clock and event delivery, and shows recorded frames.
#pragma once
#include <cstdint>
#include <vector>

#include "platform/draw_list.hpp"
#include "platform/frame_plan.hpp"
#include "platform/input_state.hpp"
#include "platform/text.hpp"

struct PresentStats {
    int drawCalls = 0;    // clears, quad batches and the final copy to the window
    int vertices = 0;
    bool skipped = false; // the frame equalled the one on screen and was not drawn
};

class Backend {
public:
    virtual ~Backend() = default;
    virtual int DesktopWidth() = 0;
    virtual int DesktopHeight() = 0;
    virtual bool OpenWindow(int width, int height, const Text& title) = 0;
    virtual void CloseWindow() = 0;
    virtual bool WindowOpen() const = 0;
    // Renders the frame into the kept picture as the plan says and shows it.
    virtual void Present(const DrawList& frame, const FramePlan& plan, PresentStats& stats) = 0;
    // Whether the window lost its picture (exposed, restored) and needs the canvas again.
    virtual bool NeedsRepaint() = 0;
    // Shows the canvas again without drawing anything new.
    virtual void Repaint() = 0;
    virtual void PumpEvents(InputState& input) = 0;
    // Waits up to ms for a window-system event (left queued); true when one came.
    virtual bool WaitForEvent(int ms) { return false; }
    // The canvas as 0xAARRGGBB rows, top to bottom; false where none is kept.
    virtual bool ReadCanvas(int& width, int& height, std::vector<uint32_t>& argb) { return false; }
    virtual uint32_t Milliseconds() = 0;
    // Time the computer slept, as SystemSuspendedMs counts it (see session_time.hpp).
    virtual long long SuspendedMilliseconds();
    virtual void SleepMilliseconds(int ms) = 0;
    virtual void MessageBox(const Text& title, const Text& text, bool serious) = 0;
    // The system clipboard's text; empty when it holds none.
    virtual Text ClipboardText() { return Text(); }
    // Uploads these textures now, so that the frame that first draws from
    // them does not pay for it; a backend without textures ignores it.
    virtual void UploadTextures(const std::vector<uint32_t>& ids) {}
};

// Installs the backend the facade works through (not owned; lives for the run).
void UseBackend(Backend* backend);
Backend& CurrentBackend();
