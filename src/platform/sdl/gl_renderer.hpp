// Replays recorded frames with OpenGL 2.1 into a kept picture: a dialog
// draws straight over the picture of the screen below it, a scroll (see
// frame_plan.hpp) moves the picture's pixels into the second canvas and
// draws only the strips that came into view, and a patch draws only the
// changed areas. The picture is an off-screen canvas copied to the back
// buffer for a swap, or, for a backend that shows parts of the back buffer
// and never swaps it, the back buffer itself. With RK_DRAW_CHECK=<file>
// every frame is also drawn whole into a third canvas and compared; the
// file tells how many pixels differed. Needs a current context.
#pragma once
#include <cstdint>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/backend.hpp"

class GlRenderer {
public:
    bool Init(int width, int height);
    void Shutdown();
    // With a backend that shows parts of the back buffer and never swaps it,
    // the back buffer itself keeps the picture: a frame drawn there needs no
    // 8 MB copy afterwards, and a patch is shown where it changed.
    void KeepPictureInWindow(bool on) { inWindow_ = on; }
    // Draws the frame into the picture as planned. Keeping the picture in
    // the window, it lists the areas to show in `places` and returns true;
    // else it copies the picture to the back buffer for a swap.
    bool Render(const DrawList& frame, const FramePlan& plan, std::vector<ClipRect>& places, PresentStats& stats);
    // Shows the last picture again (after the window was exposed).
    void Repaint();
    // Brings the GPU copy of a texture up to date now rather than at the
    // first frame that draws from it.
    void Upload(uint32_t textureId) { Sync(textureId); }
    // Reads the canvas back as 0xAARRGGBB rows, top to bottom.
    bool ReadCanvas(int& width, int& height, std::vector<uint32_t>& argb);

private:
    // rows: allocated height; smooth: the filter set on it (linear or nearest)
    struct GpuTexture { unsigned id = 0; uint64_t version = 0; int width = 0, rows = 0; bool smooth = false; };
    struct Canvas { unsigned fbo = 0, texture = 0; };
    void Draw(const DrawList& frame, unsigned framebuffer, PresentStats& stats);
    void RenderInWindow(const DrawList& frame, const FramePlan& plan, std::vector<ClipRect>& places,
                        PresentStats& stats);
    void CopyCanvas();
    unsigned Picture() const;  // the framebuffer that holds the picture
    bool MakeCanvas(Canvas& canvas);
    void Blit(unsigned from, unsigned to, const ClipRect& source, int toX, int toY);
    void CheckAgainstFullDraw(const DrawList& frame, const FramePlan& plan);
    bool ReadPixels(unsigned framebuffer, std::vector<uint32_t>& rgba);
    void Sync(uint32_t textureId);
    void ApplyBlend(int mode);
    void EnsureIndices(size_t quads);

    int width_ = 0, height_ = 0;
    unsigned program_ = 0, vao_ = 0, vbo_ = 0, ibo_ = 0;
    Canvas canvas_[2];           // the picture, and the one a scroll moves it into
    int current_ = 0;            // which of the two holds the picture
    bool inWindow_ = false;      // the back buffer holds it (the canvases only help a scroll)
    bool canvasHolds_ = false;   // in the window, canvas_[current_] holds the same picture
    std::string checkFile_;      // RK_DRAW_CHECK
    Canvas check_;
    long long checkedFrames_ = 0, scrollFramesChecked_ = 0, differentPixels_ = 0;
    std::string firstDifference_;
    int modeUniform_ = -1, screenUniform_ = -1, textureSizeUniform_ = -1;
    size_t indexQuads_ = 0;
    size_t vboBytes_ = 0;
    std::unordered_map<uint32_t, GpuTexture> textures_;
    uint64_t releaseGeneration_ = 0;
};
