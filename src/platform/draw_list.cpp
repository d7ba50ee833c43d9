// Recording of quads and clears into the frame's draw list.
#include "platform/draw_list.hpp"

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
