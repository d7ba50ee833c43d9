// OpenGL 2.1 replay of draw lists: one vertex upload per frame, one draw call per
// recorded command, premultiplied alpha throughout.
#include "platform/sdl/gl_renderer.hpp"

#include "platform/sdl/gl_functions.hpp"

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "platform/texture_store.hpp"

namespace {
// GLSL 1.20, which every OpenGL 2.1 driver compiles. Texture coordinates
// come in texels; uTextureSize is the bound texture's size (1.20 has no
// textureSize), divided per vertex: per pixel it cost a software rasteriser
// about 2 ms a frame.
const char* kVertexShader = R"(#version 120
attribute vec2 aPos;
attribute vec2 aUV;
attribute vec4 aColor;
uniform vec2 uScreen;
uniform vec2 uTextureSize;
varying vec2 vUV;
varying vec4 vColor;
void main() {
    vUV = aUV / uTextureSize;
    vColor = aColor;
    gl_Position = vec4(aPos.x * 2.0 / uScreen.x - 1.0, 1.0 - aPos.y * 2.0 / uScreen.y, 0.0, 1.0);
}
)";

// Mode 1 (mask) draws texels of at least half alpha without blending; mode 2
// (solid) writes the colour without blending; the others blend in GL state.
const char* kFragmentShader = R"(#version 120
varying vec2 vUV;
varying vec4 vColor;
uniform sampler2D uTexture;
uniform int uMode;
void main() {
    vec4 c = texture2D(uTexture, vUV) * vColor;
    if (uMode == 1 || uMode == 2) {
        if (uMode == 1 && c.a < 0.5) discard;
        gl_FragColor = vec4(c.a > 0.0 ? c.rgb / c.a : c.rgb, 1.0);
    } else {
        gl_FragColor = c;
    }
}
)";

unsigned Compile(GLenum type, const char* source) {
    const GLuint s = glCreateShader(type);
    glShaderSource(s, 1, &source, nullptr);
    glCompileShader(s);
    GLint ok = 0;
    glGetShaderiv(s, GL_COMPILE_STATUS, &ok);
    if (!ok) {
        char log[1024];
        glGetShaderInfoLog(s, sizeof log, nullptr, log);
        std::fprintf(stderr, "gl: shader: %s\n", log);
    }
    return s;
}
}  // namespace

bool GlRenderer::Init(int width, int height) {
    bool core = false;
    if (!LoadGlFunctions(core)) return false;
    width_ = width;
    height_ = height;
    const GLuint vs = Compile(GL_VERTEX_SHADER, kVertexShader);
    const GLuint fs = Compile(GL_FRAGMENT_SHADER, kFragmentShader);
    program_ = glCreateProgram();
    glAttachShader(program_, vs);
    glAttachShader(program_, fs);
    glBindAttribLocation(program_, 0, "aPos");
    glBindAttribLocation(program_, 1, "aUV");
    glBindAttribLocation(program_, 2, "aColor");
    glLinkProgram(program_);
    glDeleteShader(vs);
    glDeleteShader(fs);
    GLint ok = 0;
    glGetProgramiv(program_, GL_LINK_STATUS, &ok);
    if (!ok) {
        std::fputs("gl: cannot link the shader program\n", stderr);
        return false;
    }
    modeUniform_ = glGetUniformLocation(program_, "uMode");
    screenUniform_ = glGetUniformLocation(program_, "uScreen");
    textureSizeUniform_ = glGetUniformLocation(program_, "uTextureSize");

    // A compatibility context keeps the attribute arrays as global state; a
    // core one only in a vertex array object.
    if (core) {
        glGenVertexArrays(1, &vao_);
        glBindVertexArray(vao_);
    }
    glGenBuffers(1, &vbo_);
    glGenBuffers(1, &ibo_);
    glBindBuffer(GL_ARRAY_BUFFER, vbo_);
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
    glEnableVertexAttribArray(0);
    glVertexAttribPointer(0, 2, GL_FLOAT, GL_FALSE, sizeof(DrawVertex), reinterpret_cast<void*>(0));
    glEnableVertexAttribArray(1);
    glVertexAttribPointer(1, 2, GL_FLOAT, GL_FALSE, sizeof(DrawVertex), reinterpret_cast<void*>(8));
    glEnableVertexAttribArray(2);
    glVertexAttribPointer(2, 4, GL_UNSIGNED_BYTE, GL_TRUE, sizeof(DrawVertex), reinterpret_cast<void*>(16));
    EnsureIndices(16384);

    glViewport(0, 0, width, height);

    current_ = 0;
    canvasHolds_ = false;
    const char* check = std::getenv("RK_DRAW_CHECK");
    checkFile_ = check ? check : "";
    checkedFrames_ = scrollFramesChecked_ = differentPixels_ = 0;
    firstDifference_.clear();

    glUseProgram(program_);
    glUniform2f(screenUniform_, static_cast<float>(width), static_cast<float>(height));
    glUniform1i(glGetUniformLocation(program_, "uTexture"), 0);
    glActiveTexture(GL_TEXTURE0);
    glEnable(GL_SCISSOR_TEST);
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
    return true;
}

void GlRenderer::Shutdown() {
    for (auto& [id, t] : textures_) glDeleteTextures(1, &t.id);
    textures_.clear();
    for (Canvas* c : {&canvas_[0], &canvas_[1], &check_}) {
        if (c->fbo) glDeleteFramebuffers(1, &c->fbo);
        if (c->texture) glDeleteTextures(1, &c->texture);
        *c = Canvas{};
    }
    if (vbo_) glDeleteBuffers(1, &vbo_);
    if (ibo_) glDeleteBuffers(1, &ibo_);
    if (vao_) glDeleteVertexArrays(1, &vao_);
    if (program_) glDeleteProgram(program_);
    vbo_ = ibo_ = vao_ = program_ = 0;
    indexQuads_ = vboBytes_ = 0;
}

void GlRenderer::EnsureIndices(size_t quads) {
    if (quads <= indexQuads_) return;
    size_t n = indexQuads_ ? indexQuads_ : 1024;
    while (n < quads) n *= 2;
    std::vector<uint32_t> idx(n * 6);
    for (size_t q = 0; q < n; ++q) {
        const uint32_t b = static_cast<uint32_t>(q * 4);
        uint32_t* p = &idx[q * 6];
        p[0] = b; p[1] = b + 1; p[2] = b + 2; p[3] = b; p[4] = b + 2; p[5] = b + 3;
    }
    glBindBuffer(GL_ELEMENT_ARRAY_BUFFER, ibo_);
    glBufferData(GL_ELEMENT_ARRAY_BUFFER, idx.size() * sizeof(uint32_t), idx.data(), GL_STATIC_DRAW);
    indexQuads_ = n;
}

void GlRenderer::Sync(uint32_t textureId) {
    auto src = TextureStore::Find(textureId);
    if (!src) return;
    GpuTexture& t = textures_[textureId];
    const int rows = src->Rows();
    // Atlas pages fill from the top: the GPU copy holds only the rows in use
    // (in steps of 256), which spares the driver most of a 16 MB page at start.
    const int wanted = std::min(src->height, std::max(256, (rows + 255) / 256 * 256));
    if (t.id == 0) {
        glGenTextures(1, &t.id);
        glBindTexture(GL_TEXTURE_2D, t.id);
        // At scale 1 texels map onto pixels and nearest sampling is exact and
        // much cheaper on a software rasteriser; scaled drawing switches the
        // texture to linear (see Draw).
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_S, GL_CLAMP_TO_EDGE);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_WRAP_T, GL_CLAMP_TO_EDGE);
        t.smooth = false;
    }
    if (wanted > t.rows) {
        glBindTexture(GL_TEXTURE_2D, t.id);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, src->width, wanted, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
        if (rows > 0)
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, 0, src->width, rows, GL_RGBA, GL_UNSIGNED_BYTE, src->pixels.data());
        t.width = src->width;
        t.rows = wanted;
    } else if (t.version != src->version) {
        glBindTexture(GL_TEXTURE_2D, t.id);
        int lo = src->dirtyLo, hi = src->dirtyHi;
        if (lo > hi) { lo = 0; hi = rows - 1; }
        lo = std::max(0, lo);
        hi = std::min(hi, rows - 1);
        if (hi >= lo)
            glTexSubImage2D(GL_TEXTURE_2D, 0, 0, lo, src->width, hi - lo + 1, GL_RGBA, GL_UNSIGNED_BYTE,
                            src->pixels.data() + size_t(lo) * src->width);
    }
    t.version = src->version;
    src->dirtyLo = 0;
    src->dirtyHi = -1;
}

void GlRenderer::ApplyBlend(int mode) {
    glUniform1i(modeUniform_, mode);
    switch (mode) {
        case 1:
        case 2: glDisable(GL_BLEND); break;
        case 4: glEnable(GL_BLEND); glBlendFunc(GL_ONE, GL_ONE); break;
        case 5: glEnable(GL_BLEND); glBlendFunc(GL_DST_COLOR, GL_ZERO); break;
        default: glEnable(GL_BLEND); glBlendFunc(GL_ONE, GL_ONE_MINUS_SRC_ALPHA); break;
    }
}

bool GlRenderer::Render(const DrawList& frame, const FramePlan& plan, std::vector<ClipRect>& places,
                        PresentStats& stats) {
    places.clear();
    if (inWindow_) {
        RenderInWindow(frame, plan, places, stats);
    } else {
        Canvas& picture = canvas_[current_];
        if (!MakeCanvas(picture)) return false;
        if (plan.kind == FramePlan::Scroll && MakeCanvas(canvas_[1 - current_])) {
            Canvas& next = canvas_[1 - current_];
            for (const PixelCopy& c : plan.copies) {
                Blit(picture.fbo, next.fbo, c.from, c.toX, c.toY);
                ++stats.drawCalls;
            }
            Draw(plan.strips, next.fbo, stats);
            current_ = 1 - current_;
        } else if (plan.kind == FramePlan::Patch) {
            Draw(plan.strips, picture.fbo, stats);
        } else {
            // A dialog draws over the picture as it stands; a full frame clears it first.
            Draw(frame, picture.fbo, stats);
        }
        if (!checkFile_.empty()) CheckAgainstFullDraw(frame, plan);
        CopyCanvas();
        ++stats.drawCalls;
    }
    stats.vertices = static_cast<int>(plan.ToDraw(frame).vertices.size());
    // Forget textures whose images are gone, at once when the store says some
    // went (a portrait closed with its menu frees its GPU copy too).
    if (textures_.size() > 64 || releaseGeneration_ != TextureStore::ReleaseGeneration()) {
        releaseGeneration_ = TextureStore::ReleaseGeneration();
        for (auto it = textures_.begin(); it != textures_.end();) {
            if (!TextureStore::Find(it->first)) {
                glDeleteTextures(1, &it->second.id);
                it = textures_.erase(it);
            } else {
                ++it;
            }
        }
    }
    return inWindow_;
}

void GlRenderer::RenderInWindow(const DrawList& frame, const FramePlan& plan, std::vector<ClipRect>& places,
                                PresentStats& stats) {
    const ClipRect window{0, 0, width_, height_};
    if (plan.kind == FramePlan::Scroll && MakeCanvas(canvas_[0]) && MakeCanvas(canvas_[1])) {
        // A scroll moves the pixels between the two canvases as without the
        // window's picture (copies between canvases are the cheap ones), then
        // the result goes to the window. While the grid scrolls on, the
        // canvas holds the picture already; the first scroll after frames
        // drawn in the window fetches it from there.
        if (!canvasHolds_) {
            Blit(0, canvas_[current_].fbo, window, 0, 0);
            ++stats.drawCalls;
        }
        Canvas& next = canvas_[1 - current_];
        for (const PixelCopy& c : plan.copies) {
            Blit(canvas_[current_].fbo, next.fbo, c.from, c.toX, c.toY);
            ++stats.drawCalls;
        }
        Draw(plan.strips, next.fbo, stats);
        current_ = 1 - current_;
        CopyCanvas();
        ++stats.drawCalls;
        canvasHolds_ = true;
        places.push_back(window);
    } else if (plan.kind == FramePlan::Patch) {
        Draw(plan.strips, 0, stats);
        canvasHolds_ = false;
        places = plan.exposed;
    } else {
        Draw(frame, 0, stats);
        canvasHolds_ = false;
        places.push_back(window);
    }
    if (!checkFile_.empty()) CheckAgainstFullDraw(frame, plan);
    stats.drawCalls += static_cast<int>(places.size());  // shown part by part
}

bool GlRenderer::MakeCanvas(Canvas& canvas) {
    if (canvas.fbo) return true;
    // Made on first need: an 8 MB canvas costs start-up time, and the
    // second one is needed only once the grid scrolls.
    glGenTextures(1, &canvas.texture);
    glBindTexture(GL_TEXTURE_2D, canvas.texture);
    glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA8, width_, height_, 0, GL_RGBA, GL_UNSIGNED_BYTE, nullptr);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
    glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
    glGenFramebuffers(1, &canvas.fbo);
    glBindFramebuffer(GL_FRAMEBUFFER, canvas.fbo);
    glFramebufferTexture2D(GL_FRAMEBUFFER, GL_COLOR_ATTACHMENT0, GL_TEXTURE_2D, canvas.texture, 0);
    if (glCheckFramebufferStatus(GL_FRAMEBUFFER) != GL_FRAMEBUFFER_COMPLETE) {
        std::fputs("gl: canvas framebuffer incomplete\n", stderr);
        glDeleteFramebuffers(1, &canvas.fbo);
        glDeleteTextures(1, &canvas.texture);
        canvas = Canvas{};
        return false;
    }
    glClearColor(0, 0, 0, 1);
    glDisable(GL_SCISSOR_TEST);
    glClear(GL_COLOR_BUFFER_BIT);
    glEnable(GL_SCISSOR_TEST);
    return true;
}

void GlRenderer::Blit(unsigned from, unsigned to, const ClipRect& r, int toX, int toY) {
    glBindFramebuffer(GL_READ_FRAMEBUFFER, from);
    glBindFramebuffer(GL_DRAW_FRAMEBUFFER, to);
    glDisable(GL_SCISSOR_TEST);
    // GL rows count from the bottom.
    const int sy = height_ - (r.y + r.h), dy = height_ - (toY + r.h);
    glBlitFramebuffer(r.x, sy, r.x + r.w, sy + r.h, toX, dy, toX + r.w, dy + r.h, GL_COLOR_BUFFER_BIT, GL_NEAREST);
    glEnable(GL_SCISSOR_TEST);
}

unsigned GlRenderer::Picture() const { return inWindow_ ? 0 : canvas_[current_].fbo; }

bool GlRenderer::ReadPixels(unsigned framebuffer, std::vector<uint32_t>& rgba) {
    if (!framebuffer && !inWindow_) return false;
    rgba.resize(size_t(width_) * height_);
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glPixelStorei(GL_PACK_ALIGNMENT, 4);
    glReadPixels(0, 0, width_, height_, GL_RGBA, GL_UNSIGNED_BYTE, rgba.data());
    return true;
}

void GlRenderer::CheckAgainstFullDraw(const DrawList& frame, const FramePlan& plan) {
    // The check canvas follows every frame drawn whole (a dialog over the
    // last picture, as before); the kept picture must hold the same pixels.
    if (!MakeCanvas(check_)) return;
    PresentStats ignored;
    Draw(frame, check_.fbo, ignored);
    std::vector<uint32_t> kept, whole;
    if (!ReadPixels(Picture(), kept) || !ReadPixels(check_.fbo, whole)) return;
    long long different = 0;
    // The window and the check texture may round blended channels apart by
    // one step (seen with Mesa 22.3.6-1+deb12u2 on llvmpipe, in frames drawn
    // whole as well): that is the driver's. A trail or a stale patch differs
    // by more.
    const auto sameButRounding = [](uint32_t a, uint32_t b) {
        for (int shift = 0; shift < 24; shift += 8) {
            const int d = int((a >> shift) & 0xFFu) - int((b >> shift) & 0xFFu);
            if (d > 1 || d < -1) return false;
        }
        return true;
    };
    for (size_t i = 0; i < kept.size(); ++i) {
        if (sameButRounding(kept[i], whole[i])) continue;
        if (different++ == 0 && firstDifference_.empty()) {
            const int x = int(i % width_), y = height_ - 1 - int(i / width_);
            char line[160];
            std::snprintf(line, sizeof line, "frame %lld (%s) at %d,%d: %06x instead of %06x", checkedFrames_ + 1,
                          plan.kind == FramePlan::Scroll    ? "scroll"
                          : plan.kind == FramePlan::Patch   ? "patch"
                          : plan.kind == FramePlan::Overlay ? "overlay"
                                                            : "full",
                          x, y, kept[i] & 0xFFFFFFu, whole[i] & 0xFFFFFFu);
            firstDifference_ = line;
        }
    }
    ++checkedFrames_;
    differentPixels_ += different;
    if (plan.kind == FramePlan::Scroll) ++scrollFramesChecked_;
    if (std::FILE* f = std::fopen(checkFile_.c_str(), "w")) {
        std::fprintf(f, "checked frames: %lld\nscroll frames: %lld\ndifferent pixels: %lld\nfirst difference: %s\n",
                     checkedFrames_, scrollFramesChecked_, differentPixels_,
                     firstDifference_.empty() ? "none" : firstDifference_.c_str());
        std::fclose(f);
    }
}

void GlRenderer::Repaint() {
    if (!inWindow_ && canvas_[current_].fbo) CopyCanvas();
}

void GlRenderer::Draw(const DrawList& frame, unsigned framebuffer, PresentStats& stats) {
    glBindFramebuffer(GL_FRAMEBUFFER, framebuffer);
    glViewport(0, 0, width_, height_);
    glUseProgram(program_);
    if (vao_) glBindVertexArray(vao_);
    if (!frame.vertices.empty()) {
        const size_t bytes = frame.vertices.size() * sizeof(DrawVertex);
        glBindBuffer(GL_ARRAY_BUFFER, vbo_);
        if (bytes > vboBytes_) {
            vboBytes_ = bytes * 2;
            glBufferData(GL_ARRAY_BUFFER, vboBytes_, nullptr, GL_STREAM_DRAW);
        }
        glBufferSubData(GL_ARRAY_BUFFER, 0, bytes, frame.vertices.data());
        EnsureIndices(frame.vertices.size() / 4);
    }
    // Upload changed textures before the first draw that needs them.
    for (const DrawCommand& c : frame.commands)
        if (c.kind == DrawCommand::Quads) Sync(c.texture);

    int lastBlend = -1;
    uint32_t lastTexture = 0;
    GpuTexture* bound = nullptr;
    ClipRect lastClip{-1, -1, -1, -1};
    for (const DrawCommand& c : frame.commands) {
        if (!(c.clip == lastClip)) {
            glScissor(c.clip.x, height_ - (c.clip.y + c.clip.h), std::max(0, c.clip.w), std::max(0, c.clip.h));
            lastClip = c.clip;
        }
        if (c.kind == DrawCommand::Clear) {
            glClearColor(c.clearRGB[0] / 255.0f, c.clearRGB[1] / 255.0f, c.clearRGB[2] / 255.0f, 1.0f);
            glClear(GL_COLOR_BUFFER_BIT);
            ++stats.drawCalls;
            continue;
        }
        if (c.blend != lastBlend) {
            ApplyBlend(c.blend);
            lastBlend = c.blend;
        }
        if (c.texture != lastTexture) {
            auto it = textures_.find(c.texture);
            bound = it == textures_.end() ? nullptr : &it->second;
            glBindTexture(GL_TEXTURE_2D, bound ? bound->id : 0);
            glUniform2f(textureSizeUniform_, bound ? float(bound->width) : 1.0f, bound ? float(bound->rows) : 1.0f);
            lastTexture = c.texture;
        }
        // The filter belongs to the texture: set only when it changes.
        if (bound && bound->smooth != c.smooth) {
            const GLint filter = c.smooth ? GL_LINEAR : GL_NEAREST;
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, filter);
            glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, filter);
            bound->smooth = c.smooth;
        }
        glDrawElements(GL_TRIANGLES, static_cast<GLsizei>(c.vertexCount / 4 * 6), GL_UNSIGNED_INT,
                       reinterpret_cast<void*>(size_t(c.firstVertex) / 4 * 6 * sizeof(uint32_t)));
        ++stats.drawCalls;
    }
}

void GlRenderer::CopyCanvas() {
    const Canvas& picture = canvas_[current_];
    if (!picture.fbo) return;
    Blit(picture.fbo, 0, ClipRect{0, 0, width_, height_}, 0, 0);
    glBindFramebuffer(GL_FRAMEBUFFER, picture.fbo);
}

bool GlRenderer::ReadCanvas(int& width, int& height, std::vector<uint32_t>& argb) {
    std::vector<uint32_t> rgba;
    if (!ReadPixels(Picture(), rgba)) return false;
    width = width_;
    height = height_;
    argb.resize(rgba.size());
    // GL rows run bottom to top; bytes r, g, b, a in memory order.
    for (int y = 0; y < height_; ++y) {
        const uint32_t* src = &rgba[size_t(height_ - 1 - y) * width_];
        uint32_t* dst = &argb[size_t(y) * width_];
        for (int x = 0; x < width_; ++x) {
            const uint32_t p = src[x];
            dst[x] = 0xFF000000u | ((p & 0xFF) << 16) | (p & 0xFF00) | ((p >> 16) & 0xFF);
        }
    }
    return true;
}
