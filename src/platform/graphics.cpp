// Window, frame and primitive drawing of the facade. Everything drawn is
// appended to the frame's draw list; Flip paces, then hands it to the backend,
// or skips it when the frame repeats the picture already on screen.
#include <algorithm>
#include <chrono>
#include <cmath>

#include "platform/frame_plan.hpp"
#include "platform/graphics.hpp"
#include "platform/image_data.hpp"
#include "platform/image_font.hpp"
#include "platform/platform_context.hpp"

namespace {
std::function<void()>& FrameObserver() {
    static std::function<void()> observer;
    return observer;
}

int ClampComponent(double v) {
    if (!(v > 0)) return 0;        // also NaN
    if (v >= 255) return 255;
    return static_cast<int>(v);    // toward zero
}

}  // namespace

void SetAppTitle(const Text& title) { Ctx().appTitle = title; }
const Text& AppTitle() { return Ctx().appTitle; }

void SetGraphicsDriver(int, int) {}

bool OpenGraphicsWindow(int width, int height, int depth, int hertz, int flags) {
    PlatformContext& c = Ctx();
    if (c.windowOpen) CloseGraphicsWindow();
    if (!CurrentBackend().OpenWindow(width, height, c.appTitle)) return false;
    c.windowOpen = true;
    c.width = width;
    c.height = height;
    c.hertz = hertz > 0 ? hertz : 60;
    c.state = DrawingState{};
    c.state.viewport = {0, 0, width, height};
    c.frame.Reset();
    c.shown.Reset();
    c.shownValid = false;
    c.frameBegan = TextureStore::ReleaseGeneration();
    c.pacer.Start(c.hertz, CurrentBackend().Milliseconds());
    return true;
}

void CloseGraphicsWindow() {
    PlatformContext& c = Ctx();
    if (!c.windowOpen) return;
    CurrentBackend().CloseWindow();
    c.windowOpen = false;
    c.frame.Reset();
    c.shown.Reset();
    c.shownValid = false;
}

int DesktopWidth() { return CurrentBackend().DesktopWidth(); }
int DesktopHeight() { return CurrentBackend().DesktopHeight(); }
int GraphicsWidth() { return Ctx().width; }
int GraphicsHeight() { return Ctx().height; }

void Cls() {
    PlatformContext& c = Ctx();
    c.frame.AddClear(c.state.viewport, c.state.clsColor);
}

void SetClsColor(double r, double g, double b) {
    int* cc = Ctx().state.clsColor;
    cc[0] = ClampComponent(r);
    cc[1] = ClampComponent(g);
    cc[2] = ClampComponent(b);
}

void Flip(int sync) {
    PlatformContext& c = Ctx();
    Backend& be = CurrentBackend();
    PumpInput();
    if (sync == -1) {
        const int wait = c.pacer.Advance(be.Milliseconds());
        if (wait > 0) be.SleepMilliseconds(wait);
    }
    if (!c.windowOpen) {
        c.frame.Reset();
        EndFrameByFlip();
        return;
    }
    // A frame that clears the whole window and then draws exactly what is on
    // screen already changes nothing: do not draw it again.
    // A dialog that draws the same over its own picture (panel first, then
    // what blends on it) changes nothing either.
    const bool repeat = c.shownValid && c.frame == c.shown &&
                        (c.frame.BeginsWithFullClear(c.width, c.height) ||
                         c.frame.RedrawsToTheSamePixels(TextureStore::White().texture, TextureStore::White().u0,
                                                        TextureStore::White().v0));
    PresentStats stats;
    c.figures.patched = false;
    if (repeat) {
        stats.skipped = true;
        if (be.NeedsRepaint()) be.Repaint();
        ++c.figures.framesSkipped;
    } else {
        const auto w0 = std::chrono::steady_clock::now();
        // A place given back since the last frame began may hold other texels
        // now under the same coordinates.
        const bool texturesKept = TextureStore::ReleaseGeneration() == c.shownBegan;
        const FramePlan plan = PlanFrame(c.shown, c.shownValid, c.frame, c.width, c.height, texturesKept);
        be.Present(c.frame, plan, stats);
        c.figures.patched = plan.kind == FramePlan::Patch;
        c.figures.presentMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - w0).count();
        ++c.figures.framesPresented;
    }
    c.figures.drawCalls = stats.drawCalls;
    c.figures.vertices = static_cast<int>(c.frame.vertices.size());
    c.figures.commands = static_cast<int>(c.frame.commands.size());
    c.figures.skipped = stats.skipped;
    std::swap(c.frame, c.shown);
    c.shownValid = true;
    c.shownBegan = c.frameBegan;
    c.frameBegan = TextureStore::ReleaseGeneration();
    c.frame.Reset();
    EndFrameByFlip();
    if (FrameObserver()) FrameObserver()();
}

void AddScrollRegion(int x, int y, int width, int height, int scrollX, int scrollY) {
    Ctx().frame.scrollRegions.push_back({ClipRect{x, y, width, height}, scrollX, scrollY});
}

void SetFrameObserver(std::function<void()> observer) { FrameObserver() = std::move(observer); }

const FrameFigures& LastFrameFigures() { return Ctx().figures; }

void SetColor(double r, double g, double b) {
    int* col = Ctx().state.color;
    col[0] = ClampComponent(r);
    col[1] = ClampComponent(g);
    col[2] = ClampComponent(b);
}

void SetAlpha(double alpha) {
    Ctx().state.alpha = !(alpha > 0) ? 0.0f : alpha >= 1 ? 1.0f : static_cast<float>(alpha);
}

void SetBlend(int mode) {
    if (mode >= 1 && mode <= 5) Ctx().state.blend = mode;
}

void SetDrawScale(double sx, double sy) {
    Ctx().state.scaleX = static_cast<float>(sx);
    Ctx().state.scaleY = static_cast<float>(sy);
}

void SetDrawOrigin(double x, double y) {
    Ctx().state.originX = static_cast<float>(x);
    Ctx().state.originY = static_cast<float>(y);
}

void SetViewport(int x, int y, int width, int height) { Ctx().state.viewport = {x, y, width, height}; }

void SetDrawFont(const TImageFont& font) { Ctx().state.font = font; }

void GetColor(int& r, int& g, int& b) {
    const int* col = Ctx().state.color;
    r = col[0]; g = col[1]; b = col[2];
}
void GetClsColor(int& r, int& g, int& b) {
    const int* cc = Ctx().state.clsColor;
    r = cc[0]; g = cc[1]; b = cc[2];
}
double GetAlpha() { return Ctx().state.alpha; }
int GetBlend() { return Ctx().state.blend; }
void GetDrawScale(double& sx, double& sy) {
    sx = Ctx().state.scaleX;
    sy = Ctx().state.scaleY;
}

void DrawRect(double x, double y, double width, double height) {
    PlatformContext& c = Ctx();
    const DrawingState& s = c.state;
    const TexturePlace& white = TextureStore::White();
    const float x0 = static_cast<float>(x) + s.originX;
    const float y0 = static_cast<float>(y) + s.originY;
    float x1 = x0 + static_cast<float>(width) * s.scaleX;
    float y1 = y0 + static_cast<float>(height) * s.scaleY;
    if (x1 == x0 || y1 == y0) return;
    c.frame.AddQuad(white.texture, static_cast<uint8_t>(s.blend), false, s.viewport, std::min(x0, x1), std::min(y0, y1),
                    std::max(x0, x1), std::max(y0, y1), white.u0, white.v0, white.u1, white.v1, CurrentVertexColor());
}

void DrawImageAt(const TImage& image, double x, double y, int) {
    if (!image) return;
    PlatformContext& c = Ctx();
    const DrawingState& s = c.state;
    const TexturePlace& p = image->place;
    const float x0 = static_cast<float>(x) + s.originX;
    const float y0 = static_cast<float>(y) + s.originY;
    const float x1 = x0 + image->width * s.scaleX;
    const float y1 = y0 + image->height * s.scaleY;
    const bool smooth = s.scaleX != 1.0f || s.scaleY != 1.0f;
    c.frame.AddQuad(p.texture, static_cast<uint8_t>(s.blend), smooth, s.viewport, x0, y0, x1, y1, p.u0, p.v0, p.u1, p.v1,
                    CurrentVertexColor());
}

void DrawTextAt(const Text& text, double x, double y) {
    PlatformContext& c = Ctx();
    const DrawingState& s = c.state;
    ImageFont* font = s.font ? s.font.get() : DefaultFont().get();
    if (!font || text.empty()) return;
    const uint32_t rgba = CurrentVertexColor();
    const uint8_t blend = static_cast<uint8_t>(s.blend);
    const bool smooth = s.scaleX != 1.0f || s.scaleY != 1.0f;
    float penX = static_cast<float>(x) + s.originX;
    float top = static_cast<float>(y) + s.originY;
    // At scale 1 glyphs land on whole pixels, so text stays crisp.
    if (s.scaleX == 1.0f && s.scaleY == 1.0f) {
        penX = std::round(penX);
        top = std::round(top);
    }
    for (char16_t ch : text) {
        const FontGlyph& g = font->Glyph(ch);
        if (g.w > 0 && g.h > 0) {
            const float gx = penX + g.left * s.scaleX;
            const float gy = top + g.top * s.scaleY;
            c.frame.AddQuad(g.place.texture, blend, smooth, s.viewport, gx, gy, gx + g.w * s.scaleX, gy + g.h * s.scaleY,
                            g.place.u0, g.place.v0, g.place.u1, g.place.v1, rgba);
        }
        penX += g.advance * s.scaleX;
    }
}

int TextWidthOf(const Text& text) {
    ImageFont* font = Ctx().state.font ? Ctx().state.font.get() : DefaultFont().get();
    if (!font) return 0;
    int w = 0;
    for (char16_t ch : text) w += font->Glyph(ch).advance;
    return w;
}

int TextHeightOf(const Text&) {
    ImageFont* font = Ctx().state.font ? Ctx().state.font.get() : DefaultFont().get();
    return font ? font->lineHeight : 0;
}
