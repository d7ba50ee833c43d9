// CPU-side textures that outlive any window: the shared atlas pages (glyphs,
// small images and a white block for rectangles) and images too large for a
// page. Backends upload what changed, so a reopened window rebuilds from here.
#pragma once
#include <cstdint>
#include <memory>
#include <vector>

struct TextureSource {
    uint32_t id = 0;
    int width = 0, height = 0;
    std::vector<uint32_t> pixels;  // premultiplied RGBA, bytes r, g, b, a in memory order;
                                   // atlas pages hold only the rows in use so far
    int Rows() const { return width > 0 ? static_cast<int>(pixels.size() / width) : 0; }
    uint64_t version = 1;          // bumped on every change
    // Rows changed since the backend last uploaded (inclusive range; empty when lo > hi).
    int dirtyLo = 0, dirtyHi = -1;
    void MarkDirty(int y0, int y1);
};

// Where a picture lies: texture id and its texel rectangle. Texture
// coordinates are in texels, so a backend may keep a smaller texture than
// the page while only its upper rows are in use.
struct TexturePlace {
    uint32_t texture = 0;
    int x = 0, y = 0, w = 0, h = 0;
    float u0 = 0, v0 = 0, u1 = 0, v1 = 0;
};

namespace TextureStore {
// A new standalone texture (large images).
std::shared_ptr<TextureSource> Create(int width, int height);
// Look-up by id for the backends; null once the texture is gone.
std::shared_ptr<TextureSource> Find(uint32_t id);
// Places a w x h picture in an atlas page (with a 1-pixel border that repeats
// its edges so bilinear filtering does not bleed); false when it is too large.
// A place given back by Release is used again before the page grows.
bool Allocate(int w, int h, TexturePlace& place, TextureSource*& page);
// Gives a place of Allocate back (the image that held it is gone), so that
// loading pictures again and again does not grow the atlas. For the place of
// a standalone texture it only counts the release.
void Release(const TexturePlace& place);
// Copies w x h premultiplied pixels into a place and repeats its edge pixels
// into the border (glyphs pass extrude false: their border stays transparent).
void WritePlace(TextureSource& page, const TexturePlace& place, const uint32_t* pixels, bool extrude);
// The white block of page 0: rectangles use it and so share the text's texture.
const TexturePlace& White();
// The place's texture coordinates (texels).
void SetUV(TexturePlace& place, const TextureSource& tex);
uint32_t PageCount();
// How much the atlas and the standalone textures hold, for tests and benchmarks.
struct Figures {
    uint32_t pages = 0;
    long long rowsInUse = 0;          // atlas rows opened so far, all pages
    long long placesInUse = 0;        // atlas places allocated and not released
    long long standaloneTextures = 0; // own textures of large images still alive
    long long standalonePixels = 0;
};
Figures CurrentFigures();
// Counts every texture that has gone away (a released place or a dropped
// standalone texture): backends tidy their GPU copies when it changes.
uint64_t ReleaseGeneration();
constexpr int kPageSize = 2048;
constexpr int kMaxAtlasItem = 320;
}
