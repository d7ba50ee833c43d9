// Headless backend: virtual time, scripted input, recorded frames.
#include "platform/headless_backend.hpp"

#include <algorithm>

HeadlessBackend::HeadlessBackend(int w, int h) : desktopW_(w), desktopH_(h) {}

void HeadlessBackend::At(long long frame, ScriptedEvent event) { pending_.push_back({frame, event}); }

bool HeadlessBackend::OpenWindow(int width, int height, const Text& t) {
    open_ = true;
    windowWidth = width;
    windowHeight = height;
    title = t;
    return true;
}

void HeadlessBackend::Present(const DrawList& frame, PresentStats& stats) {
    last_ = frame;
    ++presents_;
    stats.drawCalls = static_cast<int>(frame.commands.size());
    stats.vertices = static_cast<int>(frame.vertices.size());
}

void HeadlessBackend::PumpEvents(InputState& in) {
    // Deliver in script order every event whose frame has come.
    auto due = [this](const Pending& p) { return p.frame <= flips_; };
    std::vector<Pending> now;
    std::copy_if(pending_.begin(), pending_.end(), std::back_inserter(now), due);
    pending_.erase(std::remove_if(pending_.begin(), pending_.end(), due), pending_.end());
    for (const Pending& p : now) {
        const ScriptedEvent& e = p.event;
        switch (e.kind) {
            case ScriptedEvent::MouseMove: in.mouseX = int(e.x); in.mouseY = int(e.y); break;
            case ScriptedEvent::MouseDown:
                in.mouseX = int(e.x); in.mouseY = int(e.y); in.mouseButtons |= 1u << e.a; break;
            case ScriptedEvent::MouseUp:
                in.mouseX = int(e.x); in.mouseY = int(e.y); in.mouseButtons &= ~(1u << e.a); break;
            case ScriptedEvent::KeyDown: in.KeyDownEvent(e.a); break;
            case ScriptedEvent::KeyUp: in.KeyUpEvent(e.a); break;
            case ScriptedEvent::Typed: in.TypedEvent(static_cast<char16_t>(e.a)); break;
            case ScriptedEvent::Wheel: in.wheel += e.a; break;
            case ScriptedEvent::FingerDown: in.FingerDown(e.a, e.x, e.y); break;
            case ScriptedEvent::FingerMove: in.FingerMove(e.a, e.x, e.y); break;
            case ScriptedEvent::FingerUp: in.FingerUp(e.a); break;
            case ScriptedEvent::Close: in.closeRequested = true; break;
        }
    }
}

void HeadlessBackend::SleepMilliseconds(int ms) {
    if (ms <= 0) return;
    clock_ += static_cast<uint32_t>(ms);
    slept_ += ms;
}

void HeadlessBackend::MessageBox(const Text&, const Text& text, bool) { messages_.push_back(text); }
