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
    if (menue.verwenden() != u"1") return kOhneAuswahl;
    const int gewaehlt = menue.Auswahl_Kachelindex;
    const TKachel& kachel = *menue.Kachel[gewaehlt];
    if (kachel.Text.empty() || kachel.Text[0].empty()) {
        // The "?" tile: any text, starting from the cell's, all of it selected.
        const auto& zelle = klasse.Zelle(zeile, spalte).Text;
        Texteingabe::starten(1, zelle.empty() ? Text() : zelle[0], 1, 0, -1, 0);
        if (Texteingabe::verwenden(0) != 1) return 0;
        FreieNoteEintragen(klasse, zeile, spalte, Texteingabe::Eingabetext);
    } else {
        GewaehlteNoteEintragen(klasse, zeile, spalte, kachel.Text[0]);
    }
    klasse.AenderungVermerken();
    return 0;
}
