// Grade entry on a grade cell: the grade menu of the active scale opens
// centred on the pointer; a grade tile enters that grade, the "?" tile lets
// the teacher type any text. Cells of computed averages refuse with a note.
#include "classscreen/class_screen_commands.hpp"
#include "gradebook/class_menus.hpp"
#include "gradebook/grade_cells.hpp"
#include "gradebook/program_state.hpp"
#include "tiles/info_box.hpp"
#include "tiles/texteingabe.hpp"
#include "tiles/user.hpp"

namespace {
void DurchschnittHinweis() {
    TInfoBox::bauen(u"Info", {255, 255, 0},
                    {u"Die Einträge der Durchschnittsnoten", u"werden automatisch berechnet und",
                     u"können nicht geändert werden."},
                    {kOkSchalter})
        ->verwenden();
}
}  // namespace

int Noteneingabe(TSchulklasse& klasse, int zeile, int spalte) {
    if (zeile < 1 || zeile >= klasse.Schueleranzahl || spalte < 1 || spalte >= klasse.Notenanzahl) return 0;
    if (IstDurchschnittsspalte(klasse, spalte)) {
        DurchschnittHinweis();
        return 0;
    }
    TTextMenu& menue = *Notenmenue[Notenskala == 1 ? 1 : 0];
    // Centred on the pointer; einblenden keeps the panel inside the window.
    const int px = static_cast<int>(PointerPosX), py = static_cast<int>(PointerPosY);
    menue.einblenden(static_cast<int>(PointerPosX - menue.Breite / 2.0), static_cast<int>(PointerPosY - menue.Tiefe / 2.0),
                     px, py, nullptr, kPositionBehalten, kPositionBehalten);
    // Keys typed right after the tap are the grade: they wait for the menu to stand.
    if (menue.verwenden(true) != u"1") return kOhneAuswahl;
    if (MenuewahlEintragen(klasse, zeile, spalte, menue)) klasse.AenderungVermerken();
    return 0;
}

bool MenuewahlEintragen(TSchulklasse& klasse, int zeile, int spalte, const TMenu& menue) {
    const TKachel& kachel = *menue.Kachel[static_cast<size_t>(menue.Auswahl_Kachelindex)];
    if (kachel.Text.empty() || kachel.Text[0].empty()) {
        // The "?" tile: any text. Typed on the menu, that text with the cursor
        // at its end; otherwise the cell's, all of it selected.
        if (!menue.Freitext.empty()) {
            Texteingabe::starten(1, menue.Freitext, 1, -1, -1, 0);
        } else {
            const auto& zelle = klasse.Zelle(zeile, spalte).Text;
            Texteingabe::starten(1, zelle.empty() ? Text() : zelle[0], 1, 0, -1, 0);
        }
        if (Texteingabe::verwenden(0) != 1) return false;
        FreieNoteEintragen(klasse, zeile, spalte, Texteingabe::Eingabetext);
    } else {
        GewaehlteNoteEintragen(klasse, zeile, spalte, kachel.Text[0]);
    }
    return true;
}
