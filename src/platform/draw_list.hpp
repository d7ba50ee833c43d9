// What one frame draws, recorded as batched quads: one vertex array and a short
// list of commands, a new command only when texture, blend mode or clip changes.
// Backends replay it; comparing two recordings tells whether a frame changed.
#pragma once
#include <cstdint>
#include <vector>

struct DrawVertex {
    float x, y, u, v;
    uint32_t rgba;  // premultiplied colour, bytes r, g, b, a in memory order
    bool operator==(const DrawVertex&) const = default;
};
static_assert(sizeof(DrawVertex) == 20, "vertex layout is uploaded as is");

struct ClipRect {
    int x = 0, y = 0, w = 0, h = 0;
    bool operator==(const ClipRect&) const = default;
};

struct DrawCommand {
    enum Kind : uint8_t { Quads, Clear };
    Kind kind = Quads;
    uint8_t blend = 3;          // 1 mask, 2 solid, 3 alpha, 4 light, 5 shade
    uint8_t clearRGB[3] = {0, 0, 0};
    bool smooth = false;        // scaled drawing: filter bilinearly; at scale 1 texels map to pixels
    uint32_t texture = 0;       // texture id (see texture_store.hpp)
    ClipRect clip;
    uint32_t firstVertex = 0;   // quads: 4 vertices each
    uint32_t vertexCount = 0;
    bool operator==(const DrawCommand&) const = default;
};

// A part of the window whose content the frame draws moved by its scroll
// offset; a change of the offset from one frame to the next is a shift.
struct ScrollRegion {
    ClipRect rect;
    int scrollX = 0, scrollY = 0;
    bool operator==(const ScrollRegion&) const = default;
};

struct DrawList {
    std::vector<DrawVertex> vertices;
    std::vector<DrawCommand> commands;
    std::vector<ScrollRegion> scrollRegions;

    void Reset() { vertices.clear(); commands.clear(); scrollRegions.clear(); }
    bool Empty() const { return commands.empty(); }
    // Whether the frame begins by clearing the whole w x h window.
    bool BeginsWithFullClear(int w, int h) const;
    // Whether drawing the frame again over its own result changes no pixel:
    // every quad that blends lies inside an opaque quad or clear drawn before
    // it in the same frame (a dialog's panel under its tiles and texts).
    // (Opaque: a rectangle of the white texel at full alpha, or a clear.)
    bool RedrawsToTheSamePixels(uint32_t whiteTexture, float whiteU, float whiteV) const;
    bool operator==(const DrawList&) const = default;

    void AddClear(const ClipRect& clip, const int rgb[3]);
    // Appends one quad; corners clockwise from top-left.
    void AddQuad(uint32_t texture, uint8_t blend, bool smooth, const ClipRect& clip,
                 float x0, float y0, float x1, float y1,
                 float u0, float v0, float u1, float v1, uint32_t rgba);
};
