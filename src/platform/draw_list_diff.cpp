// Differences of two recordings: common beginning and end set aside, the
// middles matched by Myers' O((N+M)D) diff with a bound on the edits and on
// the comparisons, and the boxes of the unmatched items merged into disjoint
// rectangles.
#include "platform/draw_list_diff.hpp"

#include <algorithm>
#include <cmath>
#include <cstdlib>

namespace {
constexpr uint32_t kClearItem = ~0u;
// A drag or a tap changes a few dozen items; beyond these bounds the frame
// changed so much that drawing it whole costs no more than matching it.
constexpr int kMostEdits = 192;
constexpr long long kMostComparisons = 100000;

struct Item {
    uint32_t command;
    uint32_t vertex;  // first of the quad's four, or kClearItem
};

std::vector<Item> Items(const DrawList& l) {
    std::vector<Item> out;
    out.reserve(l.vertices.size() / 4 + l.commands.size());
    for (uint32_t ci = 0; ci < l.commands.size(); ++ci) {
        const DrawCommand& c = l.commands[ci];
        if (c.kind == DrawCommand::Clear) {
            out.push_back({ci, kClearItem});
            continue;
        }
        for (uint32_t v = c.firstVertex; v + 3 < c.firstVertex + c.vertexCount; v += 4) out.push_back({ci, v});
    }
    return out;
}

bool SameItem(const DrawList& a, Item ia, const DrawList& b, Item ib) {
    if ((ia.vertex == kClearItem) != (ib.vertex == kClearItem)) return false;
    const DrawCommand& ca = a.commands[ia.command];
    const DrawCommand& cb = b.commands[ib.command];
    if (!(ca.clip == cb.clip) || ca.blend != cb.blend || ca.smooth != cb.smooth || ca.texture != cb.texture)
        return false;
    if (ia.vertex == kClearItem) return std::equal(ca.clearRGB, ca.clearRGB + 3, cb.clearRGB);
    return std::equal(a.vertices.begin() + ia.vertex, a.vertices.begin() + ia.vertex + 4,
                      b.vertices.begin() + ib.vertex);
}

// The pixels an item can touch, inside the window.
ClipRect Box(const DrawList& l, Item it, int width, int height) {
    const DrawCommand& c = l.commands[it.command];
    float x0 = float(c.clip.x), y0 = float(c.clip.y), x1 = float(c.clip.x + c.clip.w), y1 = float(c.clip.y + c.clip.h);
    if (it.vertex != kClearItem) {
        const DrawVertex& p = l.vertices[it.vertex];
        const DrawVertex& q = l.vertices[it.vertex + 2];
        x0 = std::max(x0, std::min(p.x, q.x));
        y0 = std::max(y0, std::min(p.y, q.y));
        x1 = std::min(x1, std::max(p.x, q.x));
        y1 = std::min(y1, std::max(p.y, q.y));
    }
    const int ix0 = std::max(0, int(std::floor(x0))), iy0 = std::max(0, int(std::floor(y0)));
    const int ix1 = std::min(width, int(std::ceil(x1))), iy1 = std::min(height, int(std::ceil(y1)));
    if (ix1 <= ix0 || iy1 <= iy0) return ClipRect{};
    return ClipRect{ix0, iy0, ix1 - ix0, iy1 - iy0};
}

// Marks the items of a[0, n) and b[0, m) outside one longest common
// subsequence; false beyond the bounds.
template <typename Equal>
bool Unmatched(int n, int m, Equal equal, std::vector<bool>& gone, std::vector<bool>& come) {
    gone.assign(size_t(n), false);
    come.assign(size_t(m), false);
    const int most = std::min(kMostEdits, n + m);
    const int off = most + 1;
    std::vector<int> v(size_t(2 * most + 3), 0);
    std::vector<std::vector<int>> trace;
    long long comparisons = 0;
    for (int d = 0; d <= most; ++d) {
        trace.push_back(v);
        for (int k = -d; k <= d; k += 2) {
            int x = k == -d || (k != d && v[size_t(off + k - 1)] < v[size_t(off + k + 1)]) ? v[size_t(off + k + 1)]
                                                                                            : v[size_t(off + k - 1)] + 1;
            int y = x - k;
            while (x < n && y < m && equal(x, y)) {
                ++x;
                ++y;
                ++comparisons;
            }
            comparisons += x < n && y < m;
            if (comparisons > kMostComparisons) return false;
            v[size_t(off + k)] = x;
            if (x < n || y < m) continue;
            // Back from the end: each step was one item gone or come, then a run of matches.
            for (int e = d; e > 0; --e) {
                const std::vector<int>& p = trace[size_t(e)];
                const int kk = x - y;
                const bool kam = kk == -e || (kk != e && p[size_t(off + kk - 1)] < p[size_t(off + kk + 1)]);
                const int pk = kam ? kk + 1 : kk - 1;
                const int px = p[size_t(off + pk)], py = px - pk;
                if (kam) come[size_t(py)] = true;
                else gone[size_t(px)] = true;
                x = px;
                y = py;
            }
            return true;
        }
    }
    return false;
}

bool Overlap(const ClipRect& a, const ClipRect& b, int margin) {
    return a.x < b.x + b.w + margin && b.x < a.x + a.w + margin && a.y < b.y + b.h + margin &&
           b.y < a.y + a.h + margin;
}

ClipRect Bounding(const ClipRect& a, const ClipRect& b) {
    const int x0 = std::min(a.x, b.x), y0 = std::min(a.y, b.y);
    return ClipRect{x0, y0, std::max(a.x + a.w, b.x + b.w) - x0, std::max(a.y + a.h, b.y + b.h) - y0};
}

long long Area(const ClipRect& r) { return static_cast<long long>(r.w) * r.h; }

// Rectangles that overlap or nearly touch become their bounding box, until
// none overlaps another: a pixel drawn twice would blend twice. Beyond
// kMostAreas the two whose box grows least are joined: every area costs
// its own draw calls.
void Merge(std::vector<ClipRect>& rects) {
    constexpr int kNah = 8;  // glyphs of one word, a tile and its text: one rectangle
    constexpr size_t kMostAreas = 4;
    for (bool again = true; again;) {
        again = false;
        for (size_t i = 0; i < rects.size() && !again; ++i)
            for (size_t j = i + 1; j < rects.size(); ++j)
                if (Overlap(rects[i], rects[j], kNah)) {
                    rects[i] = Bounding(rects[i], rects[j]);
                    rects.erase(rects.begin() + std::ptrdiff_t(j));
                    again = true;
                    break;
                }
        if (again || rects.size() <= kMostAreas) continue;
        size_t a = 0, b = 1;
        long long wenigste = -1;
        for (size_t i = 0; i < rects.size(); ++i)
            for (size_t j = i + 1; j < rects.size(); ++j) {
                const long long mehr = Area(Bounding(rects[i], rects[j])) - Area(rects[i]) - Area(rects[j]);
                if (wenigste < 0 || mehr < wenigste) {
                    wenigste = mehr;
                    a = i;
                    b = j;
                }
            }
        rects[a] = Bounding(rects[a], rects[b]);
        rects.erase(rects.begin() + std::ptrdiff_t(b));
        again = true;
    }
}
}  // namespace

bool ChangedAreas(const DrawList& last, const DrawList& frame, int width, int height, std::vector<ClipRect>& areas) {
    areas.clear();
    const std::vector<Item> a = Items(last), b = Items(frame);
    size_t anfang = 0;
    while (anfang < a.size() && anfang < b.size() && SameItem(last, a[anfang], frame, b[anfang])) ++anfang;
    size_t ende = 0;
    while (ende < a.size() - anfang && ende < b.size() - anfang &&
           SameItem(last, a[a.size() - 1 - ende], frame, b[b.size() - 1 - ende]))
        ++ende;
    const int n = int(a.size() - anfang - ende), m = int(b.size() - anfang - ende);
    // Another screen altogether (the plan after the grid): no use matching.
    if (std::abs(n - m) > kMostEdits) return false;
    std::vector<bool> gone, come;
    const auto equal = [&](int x, int y) { return SameItem(last, a[anfang + size_t(x)], frame, b[anfang + size_t(y)]); };
    if (!Unmatched(n, m, equal, gone, come)) return false;
    for (int x = 0; x < n; ++x)
        if (gone[size_t(x)]) {
            const ClipRect r = Box(last, a[anfang + size_t(x)], width, height);
            if (r.w > 0) areas.push_back(r);
        }
    for (int y = 0; y < m; ++y)
        if (come[size_t(y)]) {
            const ClipRect r = Box(frame, b[anfang + size_t(y)], width, height);
            if (r.w > 0) areas.push_back(r);
        }
    Merge(areas);
    return true;
}
