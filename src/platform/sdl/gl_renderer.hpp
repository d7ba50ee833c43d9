// Replays recorded frames with OpenGL 3.3 into a persistent off-screen canvas
// and copies the canvas to the window's back buffer. Needs a current context.
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
    // Copies the canvas to the back buffer only.
    void CopyCanvas();
    // Reads the canvas back as 0xAARRGGBB rows, top to bottom.
    bool ReadCanvas(int& width, int& height, std::vector<uint32_t>& argb);

private:
    struct GpuTexture { unsigned id = 0; uint64_t version = 0; };
    void Sync(uint32_t textureId);
    void ApplyBlend(int mode);
    void EnsureIndices(size_t quads);

    int width_ = 0, height_ = 0;
    unsigned program_ = 0, vao_ = 0, vbo_ = 0, ibo_ = 0;
    unsigned fbo_ = 0, canvas_ = 0;
    int modeUniform_ = -1, screenUniform_ = -1;
    size_t indexQuads_ = 0;
    size_t vboBytes_ = 0;
    std::unordered_map<uint32_t, GpuTexture> textures_;
};
