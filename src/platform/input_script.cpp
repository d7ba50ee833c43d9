// Scripted input: pending events by frame, delivered into the input state
// after the backend's own events.
#include "platform/input_script.hpp"

#include <algorithm>
#include <vector>

#include "platform/image_decode.hpp"
#include "platform/native_file.hpp"
#include "platform/platform_context.hpp"

#include <csignal>
#include <cstdio>

namespace {
struct Pending {
    long long frame;
    ScriptedEvent event;
};
std::vector<Pending>& Queue() {
    static std::vector<Pending> q;
    return q;
}

void Apply(const ScriptedEvent& e, InputState& in) {
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
        case ScriptedEvent::Capture: SaveCanvasAsPng(e.path); break;
        case ScriptedEvent::Signal: std::raise(e.a); break;
    }
}
}  // namespace

void ScriptInput(long long frame, const ScriptedEvent& event) { Queue().push_back({frame, event}); }

long long FramesEnded() { return Ctx().framesEnded; }

void ClearInputScript() { Queue().clear(); }

void DeliverScriptedInput(InputState& in) {
    auto& q = Queue();
    if (q.empty()) return;
    const long long now = Ctx().framesEnded;
    auto due = [now](const Pending& p) { return p.frame <= now; };
    std::vector<Pending> ready;
    std::copy_if(q.begin(), q.end(), std::back_inserter(ready), due);
    q.erase(std::remove_if(q.begin(), q.end(), due), q.end());
    for (const Pending& p : ready) Apply(p.event, in);
}

bool SaveCanvasAsPng(const Text& path) {
    DecodedImage img;
    if (!CurrentBackend().ReadCanvas(img.width, img.height, img.argb)) return false;
    std::vector<unsigned char> png;
    if (!EncodePng(img, false, 1, png)) return false;
    const int fd = OpenFileToWrite(path);
    if (fd < 0) return false;
    const bool ok = WriteToFile(fd, png.data(), png.size());
    return CloseFile(fd) && ok;
}
