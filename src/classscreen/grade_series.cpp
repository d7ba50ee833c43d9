// Grades for a whole column in one go: the series marks a student's cell,
// opens the grade menu of the active scale beside it and, once a grade is
// entered, slides the menu to the next student down whose cell is empty. Keys typed ahead are
// kept from one student to the next, so a run of grades and Enters can be
// typed without waiting for the menu.
#include <algorithm>

#include "classscreen/class_screen_commands.hpp"
#include "gradebook/class_menus.hpp"
#include "gradebook/grade_cells.hpp"
#include "gradebook/program_state.hpp"
#include "platform/conversions.hpp"
#include "platform/end_signals.hpp"
#include "platform/input.hpp"
#include "tiles/frame_loop.hpp"
#include "tiles/info_box.hpp"
#include "tiles/offset.hpp"
#include "tiles/user.hpp"

namespace {
constexpr int kRahmen = 4;            // width of the marking around the cell
constexpr int kMenueAbstand = 8;      // between cell and menu: the marking and a gap
constexpr int kKopfbandHoehe = 130;   // cells above it lie beneath the header band
constexpr int kNamensspalteBreite = 240;
constexpr int kZelle = TSchulklasse::Kachelsize;

bool ZelleLeer(const TSchulklasse& k, int i, int j) {
    const auto& t = k.Zelle(i, j).Text;
    return t.empty() || Trim(t[0]).empty();
}

class Serie {
public:
    Serie(TSchulklasse& klasse, int spalte)
        : klasse_(klasse), spalte_(spalte), menue_(*Notenmenue[Notenskala == 1 ? 1 : 0]),
          einzeln_(klasse.ZeileEinzelnAnzeigen) {}

    void laufen(int zeile) {
        zeile_ = zeile;
        const Text endezeichen = menue_.Endezeichen;
        menue_.Endezeichen = u" ";  // the space bar skips a student
        Offset::ScrollSpeedX = Offset::ScrollSpeedY = 0;
        User::flush();
        Zeigen();
        const auto [mx, my] = Menueplatz();
        const auto [zx, zy] = Zellplatz();
        menue_.einblenden(mx, my, zx + kZelle / 2, zy + kZelle / 2, nullptr, kPositionBehalten, kPositionBehalten);
        bool gewaehlt = false;
        for (;;) {
            Cls();
            User::update();
            // Ending the program: the series stops, the class screen saves.
            if (EndSignalled()) break;
            klasse_.anzeigen();
            Markieren();
            const int ergebnis = menue_.Bildschritt();
            FrameEnd();
            if (ergebnis == TMenu::kOffen) continue;
            if (ergebnis == TMenu::kZurueck) break;
            if (ergebnis == TMenu::kDaneben) {
                // Taps act once they have ended; only the marked cell skips.
                const bool aufZelle = AufMarkierterZelle(PointerPosX, PointerPosY);
                while (TouchState != 0 && !EndSignalled()) {
                    User::update();
                    WaitTimer(Taktgeber);
                }
                if (!aufZelle) break;
            } else if (ergebnis == TMenu::kGewaehlt) {
                if (!MenuewahlEintragen(klasse_, zeile_, spalte_, menue_)) {
                    menue_.versetzen(menue_.x, menue_.y);  // keyboard cancelled: the same student again
                    continue;
                }
                klasse_.AenderungVermerken();
                gewaehlt = true;
            }
            // Filled cells are passed over: a series never writes over a grade.
            const int naechste = NaechsteLeereZeile(klasse_, spalte_, zeile_ + 1);
            if (naechste < 1) break;
            zeile_ = naechste;
            gewaehlt = false;
            Zeigen();
            const auto [nx, ny] = Menueplatz();
            menue_.versetzen(nx, ny);
        }
        menue_.Endezeichen = endezeichen;
        klasse_.ZeileEinzelnAnzeigen = einzeln_;
        klasse_.AuftragsZeile = klasse_.AuftragsSpalte = -1;
        menue_.Beenden(gewaehlt);
    }

private:
    // The cell's place on the screen.
    std::pair<int, int> Zellplatz() const {
        const TKachel& z = klasse_.Zelle(zeile_, spalte_);
        return {z.x + Offset::ScrollX, z.y + Offset::ScrollY};
    }

    // Right of the column when the menu fits there, else left of it;
    // vertically centred on the cell (the menu keeps itself inside the window).
    std::pair<int, int> Menueplatz() const {
        const auto [zx, zy] = Zellplatz();
        int mx = zx + kZelle + kMenueAbstand;
        if (mx + menue_.Breite > GraphicsWidth()) mx = zx - kMenueAbstand - menue_.Breite;
        return {mx, zy + kZelle / 2 - menue_.Tiefe / 2};
    }

    // The current student's row on the screen: centred when it is not fully
    // visible (the column too, should it be cut off).
    void Zeigen() {
        if (einzeln_ > 0 && einzeln_ < klasse_.Schueleranzahl) klasse_.ZeileEinzelnAnzeigen = zeile_;
        const auto [zx, zy] = Zellplatz();
        const int H = GraphicsHeight(), W = GraphicsWidth();
        const bool zeileSichtbar = zy >= kKopfbandHoehe && zy + kZelle <= H;
        const bool spalteSichtbar = zx >= kNamensspalteBreite && zx + kZelle <= W;
        if (!zeileSichtbar || !spalteSichtbar)
            klasse_.OffsetGrenzenSetzen(zeileSichtbar ? -1 : zeile_, spalteSichtbar ? -1 : spalte_);
    }

    bool AufMarkierterZelle(float px, float py) const {
        const auto [zx, zy] = Zellplatz();
        return px > zx && px < zx + kZelle && py > zy && py < zy + kZelle;
    }

    // A white frame around the current cell.
    void Markieren() const {
        const auto [zx, zy] = Zellplatz();
        const float x = static_cast<float>(zx - kRahmen), y = static_cast<float>(zy - kRahmen);
        const float aussen = kZelle + 2 * kRahmen;
        SetAlpha(1);
        SetDrawScale(1, 1);
        SetColor(255, 255, 255);
        DrawRect(x, y, aussen, kRahmen);
        DrawRect(x, y + kRahmen + kZelle, aussen, kRahmen);
        DrawRect(x, y + kRahmen, kRahmen, kZelle);
        DrawRect(x + kRahmen + kZelle, y + kRahmen, kRahmen, kZelle);
    }

    TSchulklasse& klasse_;
    const int spalte_;
    TTextMenu& menue_;
    const int32_t einzeln_;
    int zeile_ = 1;
};
}  // namespace

int NaechsteLeereZeile(const TSchulklasse& klasse, int spalte, int ab) {
    if (spalte < 1 || spalte >= klasse.Notenanzahl) return 0;
    for (int i = std::max(ab, 1); i < klasse.Schueleranzahl; ++i)
        if (ZelleLeer(klasse, i, spalte)) return i;
    return 0;
}

int ErsteLeereZeile(const TSchulklasse& klasse, int spalte) { return NaechsteLeereZeile(klasse, spalte, 1); }

void Notenserie(TSchulklasse& klasse, int spalte) {
    if (klasse.Schueleranzahl <= 1 || spalte < 1 || spalte >= klasse.Notenanzahl || IstDurchschnittsspalte(klasse, spalte))
        return;
    const int zeile = ErsteLeereZeile(klasse, spalte);
    if (zeile < 1) {
        TInfoBox::bauen(u"Info", {255, 255, 0},
                        {u"In dieser Spalte hat schon jeder Schüler eine Note.",
                         u"Eine Note ändern Sie, indem Sie ihre Zelle antippen."},
                        {kOkSchalter})
            ->verwenden();
        User::flush();
        return;
    }
    Serie(klasse, spalte).laufen(zeile);
}
