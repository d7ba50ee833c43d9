// SDL2 backend: window and OpenGL context, event translation, clock, message
// boxes. SDL's own touch<->mouse synthesis is off, so a finger is never also a
// click; the facade turns a held mouse button into a touch point itself.
#include "platform/sdl/sdl_backend.hpp"

#include <SDL.h>
#ifdef _WIN32
#include <SDL_syswm.h>
#include <wtsapi32.h>
#undef MessageBox  // windows.h's macro; the backend has a method of that name
#endif

#include <cstdio>
#include <string>
#include <vector>

#include "platform/desktop_lock.hpp"
#include "platform/end_signals.hpp"
#include "platform/image_decode.hpp"
#include "platform/resources.hpp"
#include "platform/sdl/gl_renderer.hpp"
#include "platform/sdl/partial_present.hpp"
#include "platform/sdl/sdl_keys.hpp"

namespace {
// The task bar and window switcher show this; the desktop entry's icons are
// the same drawing at other sizes.
constexpr char16_t kFenstersymbol[] = u"media/icons/rido-kladdorix-64.png";

void FenstersymbolSetzen(SDL_Window* window) {
    DecodedImage bild;
    if (!HasEmbeddedResource(kFenstersymbol) || !DecodeImage(EmbeddedResource(kFenstersymbol), bild)) return;
    SDL_Surface* s = SDL_CreateRGBSurfaceWithFormatFrom(bild.argb.data(), bild.width, bild.height, 32,
                                                        bild.width * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return;
    SDL_SetWindowIcon(window, s);
    SDL_FreeSurface(s);
}

#ifdef _WIN32
const char* const kSichtbareTreiber[] = {"windows"};

// Logoff and shutdown end the program as SIGTERM does on Linux: the open
// class is saved and the program ends, whatever dialog is open. Windows
// sends WM_QUERYENDSESSION straight to the window procedure (SDL's message
// hook sees only posted messages), and may end the process as soon as
// WM_ENDSESSION returns, before the frame loop could save. So the program
// holds the session's end with a reason Windows shows, saves in its next
// frames and ends itself; Windows then goes on with the logoff.
// The same procedure hears the desktop's screen lock (registered with
// WTSRegisterSessionNotification), which locks the program too.
WNDPROC gSdlFensterprozedur = nullptr;
HWND gFenster = nullptr;
LRESULT CALLBACK Sitzungsende(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_WTSSESSION_CHANGE && wParam == WTS_SESSION_LOCK) NoteDesktopLocked();
    if (message == WM_QUERYENDSESSION) {
        RequestEnd();
        ShutdownBlockReasonCreate(hwnd, L"Rido Kladdorix speichert das offene Notenbuch.");
        return FALSE;
    }
    if (message == WM_ENDSESSION && wParam) RequestEnd();
    return CallWindowProcW(gSdlFensterprozedur, hwnd, message, wParam, lParam);
}

void SitzungsendeAbfangen(SDL_Window* window) {
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(window, &info) || info.subsystem != SDL_SYSWM_WINDOWS) return;
    gSdlFensterprozedur = reinterpret_cast<WNDPROC>(SetWindowLongPtrW(
        info.info.win.window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Sitzungsende)));
    if (WTSRegisterSessionNotification(info.info.win.window, NOTIFY_FOR_THIS_SESSION))
        gFenster = info.info.win.window;
}

void SitzungsendeLoslassen() {
    if (gFenster) WTSUnRegisterSessionNotification(gFenster);
    gFenster = nullptr;
}
#else
const char* const kSichtbareTreiber[] = {"x11", "wayland"};
#endif

class SdlBackend : public Backend {
public:
    bool Start() {
        SDL_SetHint(SDL_HINT_TOUCH_MOUSE_EVENTS, "0");
        SDL_SetHint(SDL_HINT_MOUSE_TOUCH_EVENTS, "0");
        SDL_SetHint(SDL_HINT_VIDEO_MINIMIZE_ON_FOCUS_LOSS, "0");
        // SIGTERM and SIGINT are the program's own (end_signals): as SDL's
        // quit event they would only close the dialog that is open.
        SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
#ifdef _WIN32
        // Real pixels at 125 % or 150 % display scaling: sharp tiles, and the
        // layout sees the true desktop size.
        SDL_SetHint(SDL_HINT_WINDOWS_DPI_AWARENESS, "permonitorv2");
#endif
        // Only drivers that show a window: SDL's offscreen and dummy drivers
        // would let the program run where nobody sees it. A choice among the
        // visible ones in SDL_VIDEODRIVER is tried first.
        std::vector<std::string> treiber;
        if (const char* wunsch = SDL_getenv("SDL_VIDEODRIVER"))
            for (const char* t : kSichtbareTreiber)
                if (std::string(wunsch) == t) treiber.push_back(t);
        for (const char* t : kSichtbareTreiber) treiber.push_back(t);
        for (const std::string& t : treiber) {
            SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, t.c_str(), SDL_HINT_OVERRIDE);
            if (SDL_Init(SDL_INIT_VIDEO | SDL_INIT_TIMER | SDL_INIT_EVENTS) == 0) {
                const char* aktiv = SDL_GetCurrentVideoDriver();
                if (aktiv && t == aktiv) return true;
            }
            std::fprintf(stderr, "sdl (%s): %s\n", t.c_str(), SDL_GetError());
            SDL_Quit();
        }
        return false;
    }

    int DesktopWidth() override { return DesktopMode().w; }
    int DesktopHeight() override { return DesktopMode().h; }

    bool OpenWindow(int width, int height, const Text& title) override {
        // The driver's default context (compatibility, its newest version):
        // asking for a version would refuse older drivers the renderer can
        // use; it checks what it got (OpenGL 2.1 with framebuffer objects).
        SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
        SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, 0);
        window_ = SDL_CreateWindow(Utf8FromText(title).c_str(), 0, 0, width, height, SDL_WINDOW_OPENGL);
        if (!window_) {
            std::fprintf(stderr, "sdl: window: %s\n", SDL_GetError());
            return false;
        }
        FenstersymbolSetzen(window_);
#ifdef _WIN32
        SitzungsendeAbfangen(window_);
#endif
        gl_ = SDL_GL_CreateContext(window_);
        if (!gl_) {
            std::fprintf(stderr, "sdl: OpenGL context: %s\n", SDL_GetError());
            SDL_DestroyWindow(window_);
            window_ = nullptr;
            OhneOpenGlMelden(title);
            return false;
        }
        SDL_GL_SetSwapInterval(0);  // Flip paces the frames itself
        if (!renderer_.Init(width, height)) {
            CloseWindow();
            OhneOpenGlMelden(title);
            return false;
        }
        renderer_.KeepPictureInWindow(partial_.Start(window_));
        width_ = width;
        height_ = height;
        SDL_StartTextInput();
        repaint_ = true;
        return true;
    }

    // A program without a console (Windows) has no other place to say it.
    void OhneOpenGlMelden(const Text& title) {
        MessageBox(title,
                   u"Die Grafikkarte oder ihr Treiber bietet kein OpenGL 2.1, das Rido Kladdorix\n"
                   u"für sein Fenster braucht. Das Programm wird beendet; es wurde nichts geschrieben.\n"
                   u"Bitte den Grafiktreiber aktualisieren.",
                   true);
    }

    void CloseWindow() override {
        if (!window_) return;
#ifdef _WIN32
        SitzungsendeLoslassen();
#endif
        partial_.Stop();
        renderer_.Shutdown();
        SDL_GL_DeleteContext(gl_);
        SDL_DestroyWindow(window_);
        gl_ = nullptr;
        window_ = nullptr;
    }

    bool WindowOpen() const override { return window_ != nullptr; }

    void Present(const DrawList& frame, const FramePlan& plan, PresentStats& stats) override {
        if (!window_) return;
        if (!renderer_.Render(frame, plan, places_, stats))
            SDL_GL_SwapWindow(window_);
        else if (repaint_)  // the window lost its picture: all of it again
            partial_.Show({ClipRect{0, 0, width_, height_}}, height_);
        else
            partial_.Show(places_, height_);
        repaint_ = false;
    }

    bool NeedsRepaint() override { return repaint_; }

    void UploadTextures(const std::vector<uint32_t>& ids) override {
        if (!window_) return;
        for (uint32_t id : ids) renderer_.Upload(id);
    }

    bool ReadCanvas(int& width, int& height, std::vector<uint32_t>& argb) override {
        return window_ && renderer_.ReadCanvas(width, height, argb);
    }

    void Repaint() override {
        if (!window_) return;
        renderer_.Repaint();
        if (partial_.Available())
            partial_.Show({ClipRect{0, 0, width_, height_}}, height_);
        else
            SDL_GL_SwapWindow(window_);
        repaint_ = false;
    }

    void PumpEvents(InputState& in) override {
        SDL_Event e;
        while (SDL_PollEvent(&e)) {
            Translate(e, in);
            // A typed character (of a password perhaps) does not stay on the stack.
            if (e.type == SDL_TEXTINPUT) SDL_memset(e.text.text, 0, sizeof e.text.text);
        }
    }

    bool WaitForEvent(int ms) override { return SDL_WaitEventTimeout(nullptr, ms) == 1; }

    uint32_t Milliseconds() override { return SDL_GetTicks(); }
    void SleepMilliseconds(int ms) override {
        if (ms > 0) SDL_Delay(static_cast<Uint32>(ms));
    }

    Text ClipboardText() override {
        char* roh = SDL_GetClipboardText();
        if (!roh) return Text();
        const Text t = TextFromUtf8(roh);
        SDL_free(roh);
        return t;
    }

    void MessageBox(const Text& title, const Text& text, bool serious) override {
        SDL_ShowSimpleMessageBox(serious ? SDL_MESSAGEBOX_WARNING : SDL_MESSAGEBOX_INFORMATION,
                                 Utf8FromText(title).c_str(), Utf8FromText(text).c_str(), window_);
    }

private:
    SDL_DisplayMode DesktopMode() {
        SDL_DisplayMode mode{};
        if (SDL_GetDesktopDisplayMode(0, &mode) != 0) {
            mode.w = 1024;
            mode.h = 768;
        }
        return mode;
    }

    static unsigned ButtonBit(Uint8 button) {
        switch (button) {
            case SDL_BUTTON_LEFT: return 1u;
            case SDL_BUTTON_RIGHT: return 2u;
            case SDL_BUTTON_MIDDLE: return 4u;
            default: return 0u;
        }
    }

    void Translate(const SDL_Event& e, InputState& in) {
        switch (e.type) {
            case SDL_QUIT: in.closeRequested = true; break;
            case SDL_WINDOWEVENT:
                if (e.window.event == SDL_WINDOWEVENT_CLOSE) in.closeRequested = true;
                if (e.window.event == SDL_WINDOWEVENT_EXPOSED || e.window.event == SDL_WINDOWEVENT_RESTORED ||
                    e.window.event == SDL_WINDOWEVENT_SHOWN)
                    repaint_ = true;
                break;
            case SDL_KEYDOWN: {
                shift_ = (e.key.keysym.mod & KMOD_SHIFT) != 0;
                const int vk = VirtualKeyFromSdl(e.key.keysym.sym);
                // Editing keys repeat while held; Escape and Enter count once.
                const bool repeats = vk == 8 || (vk >= 35 && vk <= 40) || vk == 46;
                if (!e.key.repeat || repeats) in.KeyDownEvent(vk);
                // Enter and Backspace reach the text entry as typed characters, as
                // the system's character queue delivers them.
                if (vk == 13 && !e.key.repeat) in.TypedEvent(13);
                if (vk == 8) in.TypedEvent(8);
                break;
            }
            case SDL_KEYUP:
                shift_ = (e.key.keysym.mod & KMOD_SHIFT) != 0;
                in.KeyUpEvent(VirtualKeyFromSdl(e.key.keysym.sym));
                break;
            case SDL_TEXTINPUT: {
                for (char16_t unit : TextFromUtf8(e.text.text)) in.TypedEvent(unit);
                break;
            }
            case SDL_MOUSEMOTION:
                if (e.motion.which == SDL_TOUCH_MOUSEID) break;
                in.mouseX = e.motion.x;
                in.mouseY = e.motion.y;
                break;
            case SDL_MOUSEBUTTONDOWN:
                if (e.button.which == SDL_TOUCH_MOUSEID) break;
                in.mouseX = e.button.x;
                in.mouseY = e.button.y;
                in.mouseButtons |= ButtonBit(e.button.button);
                break;
            case SDL_MOUSEBUTTONUP:
                if (e.button.which == SDL_TOUCH_MOUSEID) break;
                in.mouseX = e.button.x;
                in.mouseY = e.button.y;
                in.mouseButtons &= ~ButtonBit(e.button.button);
                break;
            case SDL_MOUSEWHEEL: {
                if (e.wheel.which == SDL_TOUCH_MOUSEID) break;
                const int richtung = e.wheel.direction == SDL_MOUSEWHEEL_FLIPPED ? -1 : 1;
                // Shift turns the wheel sideways, as in every desktop program.
                if (shift_)
                    in.wheelX += richtung * e.wheel.y;
                else
                    in.wheel += richtung * e.wheel.y;
                // A tilting wheel reports x > 0 to the right.
                in.wheelX -= richtung * e.wheel.x;
                break;
            }
            case SDL_FINGERDOWN:
                in.FingerDown(static_cast<int64_t>(e.tfinger.fingerId), e.tfinger.x * width_, e.tfinger.y * height_);
                break;
            case SDL_FINGERMOTION:
                in.FingerMove(static_cast<int64_t>(e.tfinger.fingerId), e.tfinger.x * width_, e.tfinger.y * height_);
                break;
            case SDL_FINGERUP: in.FingerUp(static_cast<int64_t>(e.tfinger.fingerId)); break;
            default: break;
        }
    }

    SDL_Window* window_ = nullptr;
    SDL_GLContext gl_ = nullptr;
    GlRenderer renderer_;
    PartialPresent partial_;
    std::vector<ClipRect> places_;  // what the last patch changed
    int width_ = 0, height_ = 0;
    bool repaint_ = false;
    // Shift as the key events in the queue left it, up to the event at hand:
    // SDL_GetModState already tells the state after the whole queue.
    bool shift_ = false;
};
}  // namespace

bool UseSdlBackend() {
    static SdlBackend backend;
    static bool started = backend.Start();
    if (!started) return false;
    UseBackend(&backend);
    return true;
}
