// How frames reach the kept picture: a dialog draws only itself over it, a
// scroll of the class grid draws only the strips that came into view, a
// frame that changed in a few places is drawn only there, and a frame in
// which much else changed is drawn whole.
#include <algorithm>
#include <array>
#include <functional>
#include <tuple>

#include "gradebook/grid_tiles.hpp"
#include "gradebook/program_state.hpp"
#include "gradebook/schulklasse.hpp"
#include "headless_fixture.hpp"
#include "platform/pixmap.hpp"

namespace {
class FramePlans : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        GridFontsLoaded();
        klasse = TSchulklasse::bauen({u"8c", u"Mathematik"}, 0);
        klasse->Notenanzahl = 61;
        klasse->Schueleranzahl = 41;
        for (int j = 1; j <= 60; ++j)
            klasse->Zensurzeile[0]->Kachel.push_back(NotenkopfBauen(u"Arbeit", u"1.2.", j, 0, 0));
        for (int i = 1; i <= 40; ++i) {
            auto zeile = TZensurzeile::bauen(61);
            zeile->Kachel[0] = NamenskachelBauen(u"Müller", u"Jörg", i, 0, 0);
            for (int j = 1; j <= 60; ++j)
                zeile->Kachel[j] = NotenzelleBauen(j % 2 ? u"2-" : u"4", i, j, klasse->Zelle(0, j).RGB, 0, 0);
            klasse->Zensurzeile.push_back(zeile);
        }
        for (auto& z : klasse->Zensurzeile)
            for (auto& t : z->Kachel) t->Animation = 0;
    }
    void GridAt(int sx, int sy) {
        Offset::ScrollX = sx;
        Offset::ScrollY = sy;
        Cls();
        klasse->anzeigen();
        Flip(0);
    }
    std::shared_ptr<TSchulklasse> klasse;
};

bool Inside(const ClipRect& a, const ClipRect& b) {
    return a.x >= b.x && a.y >= b.y && a.x + a.w <= b.x + b.w && a.y + a.h <= b.y + b.h;
}
}  // namespace

TEST_F(FramePlans, ADialogsFirstFrameDrawsOnlyTheDialogOverTheKeptPicture) {
    GridAt(-400, -300);
    ASSERT_EQ(backend->LastPlan().kind, FramePlan::Full);
    SetColor(36, 36, 36);
    DrawRect(600, 400, 500, 200);
    Flip(0);
    EXPECT_EQ(backend->LastPlan().kind, FramePlan::Overlay);
    ASSERT_EQ(backend->LastDrawn().commands.size(), 1u);
    EXPECT_EQ(backend->LastDrawn().vertices.size(), 4u);
    EXPECT_EQ(backend->LastDrawn().vertices[0].x, 600.0f);
}

TEST_F(FramePlans, AScrollOfTheGridDrawsOnlyTheStripsThatCameIntoView) {
    struct Fall { int dx, dy; std::vector<ClipRect> strips; };
    const std::vector<Fall> faelle{
        {-3, -2, {{1917, 130, 3, 950}, {240, 1078, 1677, 2}, {1917, 0, 3, 130}, {0, 1078, 240, 2}}},
        {5, 0, {{240, 130, 5, 950}, {240, 0, 5, 130}}},
        {0, 7, {{0, 130, 240, 7}, {240, 130, 1680, 7}}},
    };
    for (const Fall& f : faelle) {
        GridAt(-400, -300);
        const size_t voll = backend->LastFrame().vertices.size();
        GridAt(-400 + f.dx, -300 + f.dy);
        const FramePlan& plan = backend->LastPlan();
        ASSERT_EQ(plan.kind, FramePlan::Scroll) << f.dx << "," << f.dy;
        std::vector<ClipRect> strips = plan.exposed;
        auto byPlace = [](const ClipRect& a, const ClipRect& b) { return std::tie(a.y, a.x) < std::tie(b.y, b.x); };
        std::vector<ClipRect> erwartet = f.strips;
        std::sort(strips.begin(), strips.end(), byPlace);
        std::sort(erwartet.begin(), erwartet.end(), byPlace);
        EXPECT_EQ(strips, erwartet) << f.dx << "," << f.dy;
        EXPECT_EQ(plan.copies.size(), 4u);
        for (const DrawCommand& c : plan.strips.commands)
            EXPECT_TRUE(std::any_of(strips.begin(), strips.end(), [&](const ClipRect& s) { return Inside(c.clip, s); }));
        EXPECT_LT(plan.strips.vertices.size() * 5, voll);
    }
}

TEST_F(FramePlans, AScrollWithAnAnimationOrAHighlightIsDrawnWhole) {
    GridAt(-400, -300);
    klasse->Zelle(12, 15).einblenden(0, 0, 200, klasse->Zelle(12, 15).x, klasse->Zelle(12, 15).y);
    backend->SetClock(backend->Milliseconds() + 60);
    User::update();
    GridAt(-403, -300);
    EXPECT_EQ(backend->LastPlan().kind, FramePlan::Full);
    EXPECT_EQ(backend->LastDrawn(), backend->LastFrame());
}

namespace {
// Plain rectangles replayed on the CPU, premultiplied colour blended as the
// renderer blends mode 3: enough to see which pixels a list leaves behind.
using Bild = std::vector<std::array<float, 3>>;
constexpr int kW = 1920, kH = 1080, kSchritt = 3;  // every third pixel in both directions

void Malen(const DrawList& l, Bild& bild) {
    bild.resize(size_t(kW / kSchritt) * (kH / kSchritt));
    auto jedesPixel = [&](float x0, float y0, float x1, float y1, const ClipRect& clip, const auto& tun) {
        for (int y = 0; y < kH / kSchritt; ++y)
            for (int x = 0; x < kW / kSchritt; ++x) {
                const float px = x * kSchritt + 0.5f, py = y * kSchritt + 0.5f;
                if (px >= x0 && px < x1 && py >= y0 && py < y1 && px >= clip.x && px < clip.x + clip.w &&
                    py >= clip.y && py < clip.y + clip.h)
                    tun(bild[size_t(y) * (kW / kSchritt) + x]);
            }
    };
    for (const DrawCommand& c : l.commands) {
        if (c.kind == DrawCommand::Clear) {
            jedesPixel(-1e9f, -1e9f, 1e9f, 1e9f, c.clip, [&](std::array<float, 3>& p) {
                for (int k = 0; k < 3; ++k) p[size_t(k)] = c.clearRGB[k];
            });
            continue;
        }
        for (uint32_t v = c.firstVertex; v < c.firstVertex + c.vertexCount; v += 4) {
            const DrawVertex& a = l.vertices[v];
            const DrawVertex& b = l.vertices[v + 2];
            const float alpha = float(a.rgba >> 24) / 255.0f;
            jedesPixel(a.x, a.y, b.x, b.y, c.clip, [&](std::array<float, 3>& p) {
                for (int k = 0; k < 3; ++k) p[size_t(k)] = float((a.rgba >> (8 * k)) & 255) + p[size_t(k)] * (1 - alpha);
            });
        }
    }
}

// Tiles on a background, the way a plan of desks draws them.
struct Szene {
    int gezogen = -1;            // this tile faint in place, and drawn again at (zugX, zugY)
    float zugX = 0, zugY = 0;
    bool vertauscht = false;     // tiles 3 and 4, which overlap, drawn in the other order
    int fehlt = -1;              // this tile left out
    int grund = 42;              // the background's blue
};

void Zeichnen(const Szene& s) {
    SetClsColor(12, 0, s.grund);
    Cls();
    SetColor(12, 0, s.grund);
    DrawRect(0, 0, kW, kH);
    auto kachel = [](int i, float x, float y, double alpha) {
        SetAlpha(alpha);
        SetColor(40 + i * 9, 200 - i * 7, 90);
        DrawRect(x, y, 150, 150);
        SetColor(255, 255, 255);
        DrawRect(x + 20, y + 120, 60 + i, 20);
        SetAlpha(1);
    };
    std::vector<int> folge;
    for (int i = 0; i < 24; ++i) folge.push_back(i);
    if (s.vertauscht) std::swap(folge[3], folge[4]);
    for (int i : folge) {
        if (i == s.fehlt) continue;
        // Tiles 3 and 4 overlap by half; all others stand apart.
        const float x = i == 4 ? 100 + 3 * 200 + 75 : 100 + (i % 8) * 200, y = i == 4 ? 150 + 75 : 150 + (i / 8) * 200;
        kachel(i, x, y, i == s.gezogen ? 0.3 : 1.0);
    }
    if (s.gezogen >= 0) kachel(s.gezogen, s.zugX, s.zugY, 0.85);
    Flip(0);
}
}  // namespace

TEST_F(FramePlans, AFrameThatChangedInPlacesIsDrawnThereAndLeavesNoTrail) {
    struct Fall {
        const char* was;
        Szene vorher, nachher;
        FramePlan::Kind art;
        std::vector<ClipRect> bedeckt;  // must lie inside the changed areas
    };
    const std::vector<Fall> faelle{
        {"the drag begins", {}, {0, 130, 170}, FramePlan::Patch, {{100, 150, 150, 150}, {130, 170, 150, 150}}},
        {"the dragged tile moves on", {0, 130, 170}, {0, 700, 520}, FramePlan::Patch,
         {{130, 170, 150, 150}, {700, 520, 150, 150}}},
        {"the drag ends", {0, 700, 520}, {}, FramePlan::Patch, {{100, 150, 150, 150}, {700, 520, 150, 150}}},
        {"two overlapping tiles change order", {}, {.vertauscht = true}, FramePlan::Patch, {{775, 225, 75, 75}}},
        {"a tile goes", {}, {.fehlt = 9}, FramePlan::Patch, {{300, 350, 150, 150}}},
        {"the background changes", {}, {.grund = 50}, FramePlan::Full, {}},
    };
    for (const Fall& f : faelle) {
        Zeichnen(f.vorher);
        const DrawList vorher = backend->LastFrame();
        Zeichnen(f.nachher);
        const FramePlan& plan = backend->LastPlan();
        ASSERT_EQ(plan.kind, f.art) << f.was;
        if (f.art != FramePlan::Patch) continue;
        long long flaeche = 0;
        for (const ClipRect& a : plan.exposed) flaeche += static_cast<long long>(a.w) * a.h;
        EXPECT_LT(flaeche * 10, static_cast<long long>(kW) * kH) << f.was;
        for (const ClipRect& r : f.bedeckt)
            EXPECT_TRUE(std::any_of(plan.exposed.begin(), plan.exposed.end(), [&](const ClipRect& a) { return Inside(r, a); }))
                << f.was << ": " << r.x << "," << r.y;
        // The kept picture with the patch drawn over it is the frame drawn whole.
        Bild gepatcht, ganz;
        Malen(vorher, gepatcht);
        Malen(plan.strips, gepatcht);
        Malen(backend->LastFrame(), ganz);
        int anders = 0;
        for (size_t i = 0; i < ganz.size(); ++i) anders += gepatcht[i] != ganz[i];
        EXPECT_EQ(anders, 0) << f.was;
    }
}

TEST_F(FramePlans, APlaceOfTheAtlasGivenBackMeansTheFrameIsDrawnWhole) {
    Zeichnen({});
    {
        TPixmap p = CreatePixmap(40, 40, 3, 4);
        TImage kurz = LoadImageFrom(p);
        ASSERT_TRUE(kurz);
    }  // given back: its texels may be another picture's under the same coordinates
    Zeichnen({.fehlt = 9});
    EXPECT_EQ(backend->LastPlan().kind, FramePlan::Full);
    Zeichnen({});  // compared with a frame recorded while the place went
    EXPECT_EQ(backend->LastPlan().kind, FramePlan::Full);
    Zeichnen({.fehlt = 9});
    EXPECT_EQ(backend->LastPlan().kind, FramePlan::Patch);
}
