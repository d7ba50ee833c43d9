// The frame plan: a scroll of named regions becomes pixel copies of the last
// picture plus the strips that came into view; a frame that changed in a few
// places is drawn there only; everything else is drawn whole.
#include "platform/frame_plan.hpp"

#include <algorithm>
#include <cstdlib>

#include "platform/draw_list_diff.hpp"
#include "platform/texture_store.hpp"

namespace {
constexpr uint32_t kClearItem = ~0u;

struct Item {
    uint32_t command;
    uint32_t vertex;  // first of the quad's four, or kClearItem
};

bool IsEmpty(const ClipRect& r) { return r.w <= 0 || r.h <= 0; }

ClipRect Intersect(const ClipRect& a, const ClipRect& b) {
    const int x0 = std::max(a.x, b.x), y0 = std::max(a.y, b.y);
    const int x1 = std::min(a.x + a.w, b.x + b.w), y1 = std::min(a.y + a.h, b.y + b.h);
    if (x1 <= x0 || y1 <= y0) return ClipRect{};
    return ClipRect{x0, y0, x1 - x0, y1 - y0};
}

ClipRect Moved(const ClipRect& r, int dx, int dy) { return ClipRect{r.x + dx, r.y + dy, r.w, r.h}; }

struct Box {
    float x0, y0, x1, y1;
};

// The part of a quad its clip lets through.
Box QuadBox(const DrawList& l, const DrawCommand& c, uint32_t v) {
    const DrawVertex& a = l.vertices[v];
    const DrawVertex& b = l.vertices[v + 2];
    return Box{std::max(std::min(a.x, b.x), float(c.clip.x)), std::max(std::min(a.y, b.y), float(c.clip.y)),
               std::min(std::max(a.x, b.x), float(c.clip.x + c.clip.w)),
               std::min(std::max(a.y, b.y), float(c.clip.y + c.clip.h))};
}

bool Touches(const Box& q, const ClipRect& a) {
    return q.x0 < a.x + a.w && q.x1 > a.x && q.y0 < a.y + a.h && q.y1 > a.y;
}

bool Contains(const Box& q, const ClipRect& a) {
    return q.x0 <= a.x && q.y0 <= a.y && q.x1 >= a.x + a.w && q.y1 >= a.y + a.h;
}

// One colour all over: the white texel.
bool Uniform(const DrawList& l, const DrawCommand& c, uint32_t v) {
    const TexturePlace& white = TextureStore::White();
    const DrawVertex& a = l.vertices[v];
    const DrawVertex& b = l.vertices[v + 2];
    return c.texture == white.texture && a.u == white.u0 && a.v == white.v0 && b.u == white.u0 && b.v == white.v0 &&
           a.rgba == l.vertices[v + 1].rgba && a.rgba == b.rgba && a.rgba == l.vertices[v + 3].rgba;
}

bool Opaque(const DrawList& l, const DrawCommand& c, uint32_t v) {
    return Uniform(l, c, v) && (l.vertices[v].rgba >> 24) == 255 && (c.blend == 1 || c.blend == 2 || c.blend == 3);
}

// For every area, the items of the list that reach into it, in drawing
// order, starting at the last one that covers the area opaquely.
void CollectVisible(const DrawList& l, const std::vector<ClipRect>& areas, std::vector<std::vector<Item>>& out) {
    out.assign(areas.size(), {});
    for (uint32_t ci = 0; ci < l.commands.size(); ++ci) {
        const DrawCommand& c = l.commands[ci];
        if (c.kind == DrawCommand::Clear) {
            const Box q{float(c.clip.x), float(c.clip.y), float(c.clip.x + c.clip.w), float(c.clip.y + c.clip.h)};
            for (size_t a = 0; a < areas.size(); ++a) {
                if (!Touches(q, areas[a])) continue;
                if (Contains(q, areas[a])) out[a].clear();
                out[a].push_back({ci, kClearItem});
            }
            continue;
        }
        for (uint32_t v = c.firstVertex; v + 3 < c.firstVertex + c.vertexCount; v += 4) {
            const Box q = QuadBox(l, c, v);
            if (q.x1 <= q.x0 || q.y1 <= q.y0) continue;
            for (size_t a = 0; a < areas.size(); ++a) {
                if (!Touches(q, areas[a])) continue;
                if (Contains(q, areas[a]) && Opaque(l, c, v)) out[a].clear();
                out[a].push_back({ci, v});
            }
        }
    }
}

// Whether item n of the new frame draws in areaN what item o of the last
// frame drew in areaO, moved by (dx, dy).
bool SameMoved(const DrawList& nl, Item n, const ClipRect& areaN, const DrawList& ol, Item o, const ClipRect& areaO,
               int dx, int dy) {
    if ((n.vertex == kClearItem) != (o.vertex == kClearItem)) return false;
    const DrawCommand& cn = nl.commands[n.command];
    const DrawCommand& co = ol.commands[o.command];
    if (cn.kind != co.kind || cn.blend != co.blend || cn.smooth != co.smooth || cn.texture != co.texture) return false;
    if (!(Intersect(cn.clip, areaN) == Moved(Intersect(co.clip, areaO), dx, dy))) return false;
    if (n.vertex == kClearItem)
        return std::equal(cn.clearRGB, cn.clearRGB + 3, co.clearRGB);
    // A plain colour over the whole area (a band's background) stands still
    // while what lies on it moves: the same pixels wherever it begins.
    if (Uniform(nl, cn, n.vertex) && Uniform(ol, co, o.vertex) && Contains(QuadBox(nl, cn, n.vertex), areaN) &&
        Contains(QuadBox(ol, co, o.vertex), areaO))
        return nl.vertices[n.vertex].rgba == ol.vertices[o.vertex].rgba;
    for (uint32_t k = 0; k < 4; ++k) {
        const DrawVertex& a = nl.vertices[n.vertex + k];
        const DrawVertex& b = ol.vertices[o.vertex + k];
        if (a.x != b.x + float(dx) || a.y != b.y + float(dy) || a.u != b.u || a.v != b.v || a.rgba != b.rgba)
            return false;
    }
    return true;
}

bool RegionsTileTheWindow(const std::vector<ScrollRegion>& regions, int width, int height) {
    const ClipRect window{0, 0, width, height};
    long long area = 0;
    for (size_t i = 0; i < regions.size(); ++i) {
        const ClipRect& r = regions[i].rect;
        if (IsEmpty(r) || !(Intersect(r, window) == r)) return false;
        for (size_t j = 0; j < i; ++j)
            if (!IsEmpty(Intersect(r, regions[j].rect))) return false;
        area += static_cast<long long>(r.w) * r.h;
    }
    return area == static_cast<long long>(width) * height;
}

bool SameRects(const std::vector<ScrollRegion>& a, const std::vector<ScrollRegion>& b) {
    if (a.size() != b.size()) return false;
    for (size_t i = 0; i < a.size(); ++i)
        if (!(a[i].rect == b[i].rect)) return false;
    return true;
}

void AddItem(DrawList& out, const DrawList& l, Item it, const ClipRect& strip) {
    const DrawCommand& c = l.commands[it.command];
    const ClipRect clip = Intersect(c.clip, strip);
    if (it.vertex == kClearItem) {
        const int rgb[3] = {c.clearRGB[0], c.clearRGB[1], c.clearRGB[2]};
        out.AddClear(clip, rgb);
        return;
    }
    const DrawVertex& a = l.vertices[it.vertex];
    const DrawVertex& b = l.vertices[it.vertex + 2];
    out.AddQuad(c.texture, c.blend, c.smooth, clip, a.x, a.y, b.x, b.y, a.u, a.v, b.u, b.v, a.rgba);
}

// The frame drawn only where it differs from the last: in each changed area,
// what the new frame draws there from its last opaque cover on.
FramePlan Patched(const DrawList& last, const DrawList& frame, int width, int height) {
    FramePlan plan;
    std::vector<ClipRect> areas;
    if (!ChangedAreas(last, frame, width, height, areas)) return plan;
    long long flaeche = 0;
    for (const ClipRect& r : areas) flaeche += static_cast<long long>(r.w) * r.h;
    // Most of the window changed: drawn whole, it costs the same and needs no sorting out.
    if (flaeche * 2 > static_cast<long long>(width) * height) return plan;
    plan.kind = FramePlan::Patch;
    plan.exposed = areas;
    std::vector<std::vector<Item>> now;
    CollectVisible(frame, areas, now);
    for (size_t s = 0; s < areas.size(); ++s)
        for (const Item& it : now[s]) AddItem(plan.strips, frame, it, areas[s]);
    return plan;
}
}  // namespace

FramePlan PlanFrame(const DrawList& last, bool lastValid, const DrawList& frame, int width, int height,
                    bool texturesKept) {
    FramePlan plan;
    if (!frame.BeginsWithFullClear(width, height)) {
        plan.kind = FramePlan::Overlay;
        return plan;
    }
    plan.kind = FramePlan::Full;
    const std::vector<ScrollRegion>& regions = frame.scrollRegions;
    if (!lastValid || !last.BeginsWithFullClear(width, height) || !SameRects(regions, last.scrollRegions))
        return plan;

    // Nothing scrolled: a frame that differs from the last changed something
    // else, which the two lists, compared item by item, find.
    bool moved = false;
    for (size_t i = 0; i < regions.size(); ++i)
        moved = moved || regions[i].scrollX != last.scrollRegions[i].scrollX ||
                regions[i].scrollY != last.scrollRegions[i].scrollY;
    if (!moved) return texturesKept ? Patched(last, frame, width, height) : plan;
    if (!RegionsTileTheWindow(regions, width, height)) return plan;

    // Per region: the part that keeps showing what it showed (moved), and
    // the strips that came into view.
    std::vector<ClipRect> kept, keptBefore, exposed;
    std::vector<int> keptDx, keptDy;
    for (size_t i = 0; i < regions.size(); ++i) {
        const ClipRect& r = regions[i].rect;
        const int dx = regions[i].scrollX - last.scrollRegions[i].scrollX;
        const int dy = regions[i].scrollY - last.scrollRegions[i].scrollY;
        const ClipRect k = std::abs(dx) < r.w && std::abs(dy) < r.h ? Intersect(r, Moved(r, dx, dy)) : ClipRect{};
        if (IsEmpty(k)) {
            exposed.push_back(r);
            continue;
        }
        kept.push_back(k);
        keptBefore.push_back(Moved(k, -dx, -dy));
        keptDx.push_back(dx);
        keptDy.push_back(dy);
        if (dx > 0) exposed.push_back({r.x, r.y, dx, r.h});
        if (dx < 0) exposed.push_back({r.x + r.w + dx, r.y, -dx, r.h});
        if (dy > 0) exposed.push_back({k.x, r.y, k.w, dy});
        if (dy < 0) exposed.push_back({k.x, r.y + r.h + dy, k.w, -dy});
    }

    std::vector<ClipRect> areas = kept;
    areas.insert(areas.end(), exposed.begin(), exposed.end());
    std::vector<std::vector<Item>> now, before;
    CollectVisible(frame, areas, now);
    CollectVisible(last, keptBefore, before);
    for (size_t k = 0; k < kept.size(); ++k) {
        if (now[k].size() != before[k].size()) return plan;
        for (size_t i = 0; i < now[k].size(); ++i)
            if (!SameMoved(frame, now[k][i], kept[k], last, before[k][i], keptBefore[k], keptDx[k], keptDy[k]))
                return plan;
    }

    plan.kind = FramePlan::Scroll;
    for (size_t k = 0; k < kept.size(); ++k) plan.copies.push_back({keptBefore[k], kept[k].x, kept[k].y});
    plan.exposed = exposed;
    for (size_t s = 0; s < exposed.size(); ++s)
        for (const Item& it : now[kept.size() + s]) AddItem(plan.strips, frame, it, exposed[s]);
    return plan;
}
