// How frames reach the kept picture: a dialog draws only itself over it, a
// scroll of the class grid draws only the strips that came into view, and a
// frame in which anything else changed is drawn whole.
#include <algorithm>
#include <tuple>

#include "gradebook/grid_tiles.hpp"
#include "gradebook/program_state.hpp"
#include "gradebook/schulklasse.hpp"
#include "headless_fixture.hpp"

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
