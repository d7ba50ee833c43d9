// Replays recorded frames with OpenGL 3.3. A frame that clears the whole
// window is drawn straight into the back buffer; a frame that draws over the
// last picture (a dialog) is drawn into a persistent off-screen canvas, which
// is first brought up to date by replaying the last full frame, and then
// copied to the back buffer. Needs a current context.
#pragma once
#include <cstdint>
#include <unordered_map>
#include <vector>

#include "platform/backend.hpp"

class GlRenderer {
public:
    bool Init(int width, int height);
    void Shutdown();
    // Draws the frame over the canvas, then copies the canvas to the back buffer.
    void Render(const DrawList& frame, PresentStats& stats);
    // Shows the last picture again (after the window was exposed).
    void Repaint();
    // Reads the canvas back as 0xAARRGGBB rows, top to bottom.
    bool ReadCanvas(int& width, int& height, std::vector<uint32_t>& argb);

private:
    struct GpuTexture { unsigned id = 0; uint64_t version = 0; int rows = 0; };  // rows: allocated height
    void Draw(const DrawList& frame, unsigned framebuffer, PresentStats& stats);
    void CopyCanvas();
    bool MakeCanvas();
    void BringCanvasUpToDate(PresentStats& stats);
    void Sync(uint32_t textureId);
    void ApplyBlend(int mode);
    void EnsureIndices(size_t quads);

    int width_ = 0, height_ = 0;
    unsigned program_ = 0, vao_ = 0, vbo_ = 0, ibo_ = 0;
    unsigned fbo_ = 0, canvas_ = 0;
    unsigned nearest_ = 0, linear_ = 0;  // samplers
    DrawList lastFull_;          // the last frame drawn straight into the back buffer
    bool canvasStale_ = false;   // the canvas lacks lastFull_
    int modeUniform_ = -1, screenUniform_ = -1;
    size_t indexQuads_ = 0;
    size_t vboBytes_ = 0;
    std::unordered_map<uint32_t, GpuTexture> textures_;
    uint64_t releaseGeneration_ = 0;
};
