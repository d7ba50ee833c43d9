// Recording of quads and clears into the frame's draw list.
#include "platform/draw_list.hpp"

#include <algorithm>

void DrawList::AddClear(const ClipRect& clip, const int rgb[3]) {
    DrawCommand c;
    c.kind = DrawCommand::Clear;
    c.clip = clip;
    for (int i = 0; i < 3; ++i) c.clearRGB[i] = static_cast<uint8_t>(rgb[i]);
    c.firstVertex = static_cast<uint32_t>(vertices.size());
    commands.push_back(c);
}

bool DrawList::BeginsWithFullClear(int w, int h) const {
    if (commands.empty() || commands.front().kind != DrawCommand::Clear) return false;
    const ClipRect& r = commands.front().clip;
    return r.x <= 0 && r.y <= 0 && r.x + r.w >= w && r.y + r.h >= h;
}

void DrawList::AddQuad(uint32_t texture, uint8_t blend, bool smooth, const ClipRect& clip,
                       float x0, float y0, float x1, float y1,
                       float u0, float v0, float u1, float v1, uint32_t rgba) {
    if (commands.empty() || commands.back().kind != DrawCommand::Quads ||
        commands.back().texture != texture || commands.back().blend != blend || commands.back().smooth != smooth ||
        !(commands.back().clip == clip)) {
        DrawCommand c;
        c.kind = DrawCommand::Quads;
        c.blend = blend;
        c.texture = texture;
        c.smooth = smooth;
        c.clip = clip;
        c.firstVertex = static_cast<uint32_t>(vertices.size());
        commands.push_back(c);
    }
    vertices.push_back({x0, y0, u0, v0, rgba});
    vertices.push_back({x1, y0, u1, v0, rgba});
    vertices.push_back({x1, y1, u1, v1, rgba});
    vertices.push_back({x0, y1, u0, v1, rgba});
    commands.back().vertexCount += 4;
}

bool DrawList::RedrawsToTheSamePixels(uint32_t whiteTexture, float whiteU, float whiteV) const {
    struct Box { float x0, y0, x1, y1; };
    std::vector<Box> deckend;  // opaque areas so far, newest last
    auto clipBox = [](const ClipRect& c) {
        return Box{float(c.x), float(c.y), float(c.x + c.w), float(c.y + c.h)};
    };
    for (const DrawCommand& c : commands) {
        if (c.kind == DrawCommand::Clear) {
            deckend.push_back(clipBox(c.clip));
            continue;
        }
        const Box clip = clipBox(c.clip);
        for (uint32_t v = c.firstVertex; v + 3 < c.firstVertex + c.vertexCount; v += 4) {
            // Clipped to the viewport the quad was drawn in.
            Box q{std::max(vertices[v].x, clip.x0), std::max(vertices[v].y, clip.y0),
                  std::min(vertices[v + 2].x, clip.x1), std::min(vertices[v + 2].y, clip.y1)};
            if (q.x1 <= q.x0 || q.y1 <= q.y0) continue;
            const bool weiss = c.texture == whiteTexture && vertices[v].u == whiteU && vertices[v].v == whiteV &&
                               vertices[v + 2].u == whiteU && vertices[v + 2].v == whiteV;
            const bool opak = weiss && (vertices[v].rgba >> 24) == 255 &&
                              (c.blend == 1 || c.blend == 2 || c.blend == 3);
            if (opak) {
                deckend.push_back(q);
                continue;
            }
            bool bedeckt = false;
            for (auto it = deckend.rbegin(); it != deckend.rend() && !bedeckt; ++it)
                bedeckt = it->x0 <= q.x0 && it->y0 <= q.y0 && q.x1 <= it->x1 && q.y1 <= it->y1;
            if (!bedeckt) return false;
        }
    }
    return true;
}
