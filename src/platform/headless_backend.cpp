// Headless backend: virtual time, scripted input, recorded frames.
#include "platform/headless_backend.hpp"

#include <algorithm>

HeadlessBackend::HeadlessBackend(int w, int h) : desktopW_(w), desktopH_(h) {}

bool HeadlessBackend::OpenWindow(int width, int height, const Text& t) {
    open_ = true;
    windowWidth = width;
    windowHeight = height;
    title = t;
    return true;
}

void HeadlessBackend::Present(const DrawList& frame, const FramePlan& plan, PresentStats& stats) {
    last_ = frame;
    plan_ = plan;
    ++presents_;
    const DrawList& drawn = plan.ToDraw(frame);
    stats.drawCalls = static_cast<int>(drawn.commands.size() + plan.copies.size());
    stats.vertices = static_cast<int>(drawn.vertices.size());
}

void HeadlessBackend::SleepMilliseconds(int ms) {
    if (ms <= 0) return;
    clock_ += static_cast<uint32_t>(ms);
    slept_ += ms;
}

void HeadlessBackend::MessageBox(const Text&, const Text& text, bool) { messages_.push_back(text); }
