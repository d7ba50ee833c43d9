// Class grid display: cells scroll beneath the frozen name column and header
// band; a click is recorded for the command handler; the single-row view; the
// scroll limits and centring on a row or column.
#include <algorithm>

#include "classscreen/seating_plan_screen.hpp"
#include "gradebook/schulklasse.hpp"
#include "platform/input.hpp"
#include "tiles/offset.hpp"
#include "tiles/user.hpp"

namespace {
// Clicks at or above this height belong to the header band, not to a cell or
// name that scrolled beneath it.
constexpr float kKopfbandGrenze = 1.6f * TSchulklasse::Kachelsize;  // 121.6
constexpr int kNamensspalteBreite = 240;
constexpr int kKopfbandHoehe = 130;

void Hintergrund(float w, float h) {
    SetColor(12, 0, 42);
    DrawRect(0, 0, w, h);
}
}  // namespace

int TSchulklasse::anzeigen() {
    const int W = GraphicsWidth(), H = GraphicsHeight();
    AuftragsZeile = -1;
    auto merke = [this](int i, int j) {
        AuftragsZeile = i;
        AuftragsSpalte = j;
    };
    const bool einzeln = ZeileEinzelnAnzeigen > 0 && ZeileEinzelnAnzeigen < Schueleranzahl;
    // The corner stands, the header band scrolls sideways, the name column up
    // and down, the cells both ways: a scroll can then move pixels.
    const int sx = Offset::ScrollX, sy = Offset::ScrollY;
    AddScrollRegion(0, 0, kNamensspalteBreite, kKopfbandHoehe, 0, 0);
    AddScrollRegion(kNamensspalteBreite, 0, W - kNamensspalteBreite, kKopfbandHoehe, sx, 0);
    AddScrollRegion(0, kKopfbandHoehe, kNamensspalteBreite, H - kKopfbandHoehe, 0, sy);
    AddScrollRegion(kNamensspalteBreite, kKopfbandHoehe, W - kNamensspalteBreite, H - kKopfbandHoehe, sx, sy);
    if (!einzeln) {
        for (int i = 1; i < Schueleranzahl; ++i)
            for (int j = 1; j < Notenanzahl; ++j)
                if (Zelle(i, j).nutzen(1.0f, 1) == 3 && PointerPosY > kKopfbandGrenze) merke(i, j);
        Hintergrund(kNamensspalteBreite, H);
        for (int i = 1; i < Schueleranzahl; ++i)
            if (Zelle(i, 0).nutzen(1.0f, 1) == 3 && PointerPosY > kKopfbandGrenze) merke(i, 0);
    } else {
        const int r = ZeileEinzelnAnzeigen;
        for (int j = 1; j < Notenanzahl; ++j)
            if (Zelle(r, j).nutzen(1.0f, 1) == 3 && PointerPosY > kKopfbandGrenze) merke(r, j);
        Hintergrund(kNamensspalteBreite, H);
        if (Zelle(r, 0).nutzen(1.0f, 1) == 3 && PointerPosY > kKopfbandGrenze) merke(r, 0);
        // The other names are shown dimmed. A tile sets its own alpha when it
        // draws, so the dimming is a veil of the column's background at 2/3
        // over each of them: the same pixels as the tile at alpha 1/3.
        int neueZeile = r;
        for (int i = 1; i < Schueleranzahl; ++i) {
            if (i == r) continue;
            TKachel& k = Zelle(i, 0);
            if (k.nutzen(1.0f, 1) == 3 && PointerPosY > kKopfbandGrenze) neueZeile = i;
            SetAlpha(1.0 - 0.333333);
            SetColor(12, 0, 42);
            DrawRect(k.temp_x, k.temp_y, k.Breite, k.Tiefe);
        }
        SetAlpha(1);
        EinzelzeileFehlzeitenZeigen(*this, r);
        ZeileEinzelnAnzeigen = neueZeile;
    }
    Hintergrund(W, kKopfbandHoehe);
    for (int j = 1; j < Notenanzahl; ++j)
        if (Zelle(0, j).nutzen(1.0f, 1) == 3) merke(0, j);
    Hintergrund(kNamensspalteBreite, kKopfbandHoehe);
    if (Schueleranzahl > 0 && Notenanzahl > 0 && Zelle(0, 0).nutzen(1.0f, 1) == 3) merke(0, 0);
    SetColor(255, 255, 255);
    return 0;
}

int TSchulklasse::OrganisiereOffsetGrenzen(int zeile, int spalte) {
    OffsetGrenzenSetzen(zeile, spalte);
    ClearKeys();
    ClearMouse();
    WheelDelta();
    return 0;
}

void TSchulklasse::OffsetGrenzenSetzen(int zeile, int spalte) {
    const int W = GraphicsWidth(), H = GraphicsHeight();
    if (zeile > 0 && zeile < Schueleranzahl)
        Offset::ScrollY = static_cast<int>(0.5 * (H - Kachelsize - Zwischenraum) - Zelle(zeile, 0).y);
    if (spalte > 0 && spalte < Notenanzahl)
        Offset::ScrollX = static_cast<int>(0.5 * (W - Kachelsize - Zwischenraum) - Zelle(0, spalte).x);
    if (Schueleranzahl > 0 && Notenanzahl > 0) {
        const TKachel& letzte = Zelle(Schueleranzahl - 1, Notenanzahl - 1);
        Offset::setLimits(std::min(0, W - (letzte.x + Kachelsize + Zwischenraum)), 0,
                          std::min(0, H - (letzte.y + Kachelsize + Zwischenraum)), 0);
    }
}
