// Class grid display: scroll limits and centring, a click recorded for the
// command handler, the header band's 121.6 rule, and the single-row view.
#include "gradebook/grid_tiles.hpp"
#include "gradebook/schulklasse.hpp"
#include "headless_fixture.hpp"
#include "gradebook/program_state.hpp"
#include "tiles/frame_loop.hpp"

namespace {
class GridDisplay : public HeadlessTest {
protected:
    void SetUp() override {
        HeadlessTest::SetUp();
        GridFontsLoaded();
        Taktgeber = CreateFrameTimer(50);
    }
    // A class of `schueler` students and `spalten` "Arbeit" columns, tiles at rest.
    std::shared_ptr<TSchulklasse> Klasse(int schueler, int spalten) {
        auto k = TSchulklasse::bauen({u"7a", u"Physik"}, 0);
        k->Notenanzahl = spalten + 1;
        k->Schueleranzahl = schueler + 1;
        for (int j = 1; j <= spalten; ++j) k->Zensurzeile[0]->Kachel.push_back(NotenkopfBauen(u"Arbeit", u"", j, 0, 0));
        for (int i = 1; i <= schueler; ++i) {
            auto zeile = TZensurzeile::bauen(spalten + 1);
            zeile->Kachel[0] = NamenskachelBauen(u"Name", TextFromUtf8(std::to_string(i)), i, 0, 0);
            for (int j = 1; j <= spalten; ++j)
                zeile->Kachel[j] = NotenzelleBauen(u"2", i, j, k->Zelle(0, j).RGB, 0, 0);
            k->Zensurzeile.push_back(zeile);
            k->Telefonnummer.push_back(kPlatzhalterTelefon);
            k->Notizen.push_back(kPlatzhalterNotizen);
            k->VergesseneHA.push_back(kPlatzhalterVergesseneHA);
        }
        for (auto& z : k->Zensurzeile)
            for (auto& t : z->Kachel) t->Animation = 0;
        return k;
    }
    // Taps (x, y) and runs the class screen's drawing until the release frame.
    std::pair<int, int> Tippen(TSchulklasse& k, float x, float y) {
        Press(Frame(0), x, y);
        Release(Frame(2), x, y);
        std::pair<int, int> auftrag{-1, -1};
        for (int n = 0; n < 4; ++n) {
            User::update();
            k.anzeigen();
            Flip(0);
            if (k.AuftragsZeile >= 0) auftrag = {k.AuftragsZeile, k.AuftragsSpalte};
        }
        return auftrag;
    }
};
}  // namespace

TEST_F(GridDisplay, LimitsAndCentringOnARowAndAColumn) {
    auto k = Klasse(40, 60);
    Offset::ScrollX = Offset::ScrollY = 0;
    k->OrganisiereOffsetGrenzen(-1, -1);  // only the limits change
    EXPECT_EQ(Offset::ScrollMinX, 1920 - (160 + 80 * 60 + 84));
    EXPECT_EQ(Offset::ScrollMinY, 1080 - (46 + 84 * 40 + 84));
    EXPECT_EQ(Offset::ScrollMaxX, 0);
    EXPECT_EQ(Offset::ScrollX, 0);
    k->OrganisiereOffsetGrenzen(20, 30);
    EXPECT_EQ(Offset::ScrollY, (1080 - 84) / 2 - (46 + 84 * 20));
    EXPECT_EQ(Offset::ScrollX, (1920 - 84) / 2 - (160 + 80 * 30));
    k->OrganisiereOffsetGrenzen(1, 60);  // clamped to the limits
    EXPECT_EQ(Offset::ScrollY, 0);
    EXPECT_EQ(Offset::ScrollX, Offset::ScrollMinX);
    EXPECT_EQ(Offset::ScrollSpeedX, 0);
}

TEST_F(GridDisplay, ClassWithoutStudentsTakesItsLimitsFromTheLastHeader) {
    auto k = Klasse(0, 30);
    k->OrganisiereOffsetGrenzen(-1, -1);
    EXPECT_EQ(Offset::ScrollMinX, 1920 - (160 + 80 * 30 + 84));
    EXPECT_EQ(Offset::ScrollMinY, 0);  // the header fits
    auto leer = TSchulklasse::bauen({u"5a", u"Kunst"}, 0);
    leer->OrganisiereOffsetGrenzen(-1, -1);
    EXPECT_EQ(Offset::ScrollMinX, 0);
    EXPECT_EQ(Offset::ScrollMinY, 0);
}

TEST_F(GridDisplay, TapOnACellANameAHeaderAndTheCorner) {
    auto k = Klasse(5, 5);
    k->OrganisiereOffsetGrenzen(-1, -1);
    EXPECT_EQ(Tippen(*k, 240 + 38, 130 + 84 + 38), (std::pair{2, 1}));
    EXPECT_EQ(Tippen(*k, 100, 130 + 38), (std::pair{1, 0}));
    EXPECT_EQ(Tippen(*k, 240 + 80 + 38, 60), (std::pair{0, 2}));
    EXPECT_EQ(Tippen(*k, 100, 60), (std::pair{0, 0}));
}

TEST_F(GridDisplay, CellScrolledUnderTheHeaderBandIsNotHit) {
    auto k = Klasse(20, 5);
    k->OrganisiereOffsetGrenzen(-1, -1);
    Offset::ScrollY = -40;  // row 1's cells now reach up to y 90, under the band
    // At y 100 the only tiles are the header (which ends at 122) and row 1.
    EXPECT_EQ(Tippen(*k, 240 + 38, 100), (std::pair{0, 1}));
    // At y 121.6 or above a cell that scrolled there is ignored: nothing but the band.
    Offset::ScrollY = -70;
    EXPECT_EQ(Tippen(*k, 240 + 38, 125), (std::pair{1, 1}));
}

TEST_F(GridDisplay, SingleRowViewShowsOneRowAndSwitchesByItsDimmedNames) {
    auto k = Klasse(5, 3);
    k->OrganisiereOffsetGrenzen(-1, -1);
    k->ZeileEinzelnAnzeigen = 3;
    // Another student's cells are neither drawn nor clickable.
    EXPECT_EQ(Tippen(*k, 240 + 38, 130 + 38), (std::pair{-1, -1}));
    EXPECT_EQ(Tippen(*k, 240 + 38, 130 + 2 * 84 + 38), (std::pair{3, 1}));
    // A dimmed name switches the shown row and records nothing.
    EXPECT_EQ(Tippen(*k, 100, 130 + 84 + 38), (std::pair{-1, -1}));
    EXPECT_EQ(k->ZeileEinzelnAnzeigen, 2);
    // The shown row's own name is recorded for its menu.
    EXPECT_EQ(Tippen(*k, 100, 130 + 84 + 38), (std::pair{2, 0}));
}
