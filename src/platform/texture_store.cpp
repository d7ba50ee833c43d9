// Atlas pages packed in shelves, and the registry of standalone textures.
#include "platform/texture_store.hpp"

#include <algorithm>
#include <map>

void TextureSource::MarkDirty(int y0, int y1) {
    if (dirtyLo > dirtyHi) { dirtyLo = y0; dirtyHi = y1; }
    else { dirtyLo = std::min(dirtyLo, y0); dirtyHi = std::max(dirtyHi, y1); }
    ++version;
}

namespace {
struct Shelf { int y, height, x; };
// A place given back, with its border: x, y, w, h.
struct FreeSlot { int x, y, w, h; };
struct Page {
    std::shared_ptr<TextureSource> tex;
    std::vector<Shelf> shelves;
    std::vector<FreeSlot> free;
    int nextY = 0;
};

struct Store {
    uint32_t nextId = 1;
    std::vector<Page> pages;
    std::map<uint32_t, std::weak_ptr<TextureSource>> all;
    TexturePlace white;
    bool whiteMade = false;
    long long placesInUse = 0;
    uint64_t releases = 0;
};

Store& S() {
    // Never destroyed: images held by other statics give their places back
    // while the program ends.
    static Store* store = new Store;
    return *store;
}

Page& NewPage() {
    Store& s = S();
    Page p;
    p.tex = std::make_shared<TextureSource>();
    p.tex->id = s.nextId++;
    p.tex->width = p.tex->height = TextureStore::kPageSize;
    // Rows are added as shelves open: a fresh page costs nothing to fill or upload.
    p.tex->pixels.clear();
    s.all[p.tex->id] = p.tex;
    s.pages.push_back(std::move(p));
    return s.pages.back();
}

// A slot given back that takes w x h without wasting more than half of it;
// the best fitting one is taken whole.
bool ReuseSlot(Page& page, int w, int h, int& outX, int& outY) {
    auto best = page.free.end();
    for (auto it = page.free.begin(); it != page.free.end(); ++it) {
        if (w > it->w || h > it->h || 2LL * w * h < 1LL * it->w * it->h) continue;
        if (best == page.free.end() || 1LL * it->w * it->h < 1LL * best->w * best->h) best = it;
    }
    if (best == page.free.end()) return false;
    outX = best->x; outY = best->y;
    page.free.erase(best);
    return true;
}

bool PlaceOnPage(Page& page, int w, int h, int& outX, int& outY) {
    const int size = TextureStore::kPageSize;
    for (Shelf& sh : page.shelves) {
        if (h <= sh.height && h * 4 >= sh.height * 3 - 8 && sh.x + w <= size) {
            outX = sh.x; outY = sh.y; sh.x += w;
            return true;
        }
    }
    if (page.nextY + h > size || w > size) return false;
    page.shelves.push_back({page.nextY, h, w});
    outX = 0; outY = page.nextY;
    page.nextY += h;
    page.tex->pixels.resize(size_t(page.nextY) * page.tex->width, 0);
    return true;
}

void MakeWhite() {
    Store& s = S();
    if (s.whiteMade) return;
    s.whiteMade = true;
    if (s.pages.empty()) NewPage();
    Page& p = s.pages[0];
    int x, y;
    PlaceOnPage(p, 4, 4, x, y);
    for (int j = 0; j < 4; ++j)
        for (int i = 0; i < 4; ++i) p.tex->pixels[size_t(y + j) * p.tex->width + x + i] = 0xFFFFFFFFu;
    p.tex->MarkDirty(y, y + 3);
    s.white.texture = p.tex->id;
    s.white.x = x + 1; s.white.y = y + 1; s.white.w = 2; s.white.h = 2;
    TextureStore::SetUV(s.white, *p.tex);
    // Sample the very centre of the block so filtering never reaches its edge.
    s.white.u0 = s.white.u1 = x + 2.0f;
    s.white.v0 = s.white.v1 = y + 2.0f;
}
}  // namespace

namespace TextureStore {
std::shared_ptr<TextureSource> Create(int width, int height) {
    Store& s = S();
    auto t = std::make_shared<TextureSource>();
    t->id = s.nextId++;
    t->width = width;
    t->height = height;
    t->pixels.assign(size_t(width) * height, 0);
    t->MarkDirty(0, height - 1);
    // Forget textures whose images are gone.
    for (auto it = s.all.begin(); it != s.all.end();) {
        if (it->second.expired()) it = s.all.erase(it); else ++it;
    }
    s.all[t->id] = t;
    return t;
}

std::shared_ptr<TextureSource> Find(uint32_t id) {
    Store& s = S();
    auto it = s.all.find(id);
    return it == s.all.end() ? nullptr : it->second.lock();
}

bool Allocate(int w, int h, TexturePlace& place, TextureSource*& page) {
    if (w <= 0 || h <= 0 || w > kMaxAtlasItem || h > kMaxAtlasItem) return false;
    MakeWhite();
    Store& s = S();
    const int bw = w + 2, bh = h + 2;
    int x = 0, y = 0;
    Page* target = nullptr;
    for (Page& p : s.pages) {
        if (ReuseSlot(p, bw, bh, x, y)) { target = &p; break; }
    }
    if (!target) {
        for (Page& p : s.pages) {
            if (PlaceOnPage(p, bw, bh, x, y)) { target = &p; break; }
        }
    }
    if (!target) {
        Page& p = NewPage();
        if (!PlaceOnPage(p, bw, bh, x, y)) return false;
        target = &s.pages.back();
    }
    place.texture = target->tex->id;
    place.x = x + 1; place.y = y + 1; place.w = w; place.h = h;
    SetUV(place, *target->tex);
    page = target->tex.get();
    ++s.placesInUse;
    return true;
}

void Release(const TexturePlace& place) {
    Store& s = S();
    for (Page& p : s.pages) {
        if (p.tex->id != place.texture) continue;
        p.free.push_back({place.x - 1, place.y - 1, place.w + 2, place.h + 2});
        --s.placesInUse;
        ++s.releases;
        return;
    }
    ++s.releases;  // a standalone texture, gone with its image
}

void WritePlace(TextureSource& page, const TexturePlace& pl, const uint32_t* px, bool extrude) {
    auto at = [&](int x, int y) -> uint32_t& { return page.pixels[size_t(y) * page.width + x]; };
    for (int j = 0; j < pl.h; ++j)
        for (int i = 0; i < pl.w; ++i) at(pl.x + i, pl.y + j) = px[size_t(j) * pl.w + i];
    for (int j = -1; j <= pl.h; ++j) {
        for (int i = -1; i <= pl.w; ++i) {
            if (i >= 0 && i < pl.w && j >= 0 && j < pl.h) continue;
            int si = std::clamp(i, 0, pl.w - 1), sj = std::clamp(j, 0, pl.h - 1);
            at(pl.x + i, pl.y + j) = extrude ? px[size_t(sj) * pl.w + si] : 0u;
        }
    }
    page.MarkDirty(pl.y - 1, pl.y + pl.h);
}

const TexturePlace& White() {
    MakeWhite();
    return S().white;
}

void SetUV(TexturePlace& p, const TextureSource&) {
    p.u0 = float(p.x);
    p.v0 = float(p.y);
    p.u1 = float(p.x + p.w);
    p.v1 = float(p.y + p.h);
}

uint32_t PageCount() { return static_cast<uint32_t>(S().pages.size()); }

Figures CurrentFigures() {
    Store& s = S();
    Figures f;
    f.pages = PageCount();
    f.placesInUse = s.placesInUse;
    for (const Page& p : s.pages) f.rowsInUse += p.tex->Rows();
    for (const auto& [id, weak] : s.all) {
        auto t = weak.lock();
        if (!t || std::any_of(s.pages.begin(), s.pages.end(), [&](const Page& p) { return p.tex == t; })) continue;
        ++f.standaloneTextures;
        f.standalonePixels += static_cast<long long>(t->width) * t->height;
    }
    return f;
}

uint64_t ReleaseGeneration() { return S().releases; }
}  // namespace TextureStore
