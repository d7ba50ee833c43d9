// Writing a grade into a cell: the grade's text colour, the report-grade rule
// and the recomputation of the row's averages.
#include "gradebook/grade_cells.hpp"

#include "gradebook/grade_scale.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/program_state.hpp"
#include "platform/conversions.hpp"

namespace {
const Text& Kopftext(const TSchulklasse& klasse, int spalte) {
    static const Text leer;
    if (spalte < 1 || spalte >= klasse.Notenanzahl) return leer;
    const auto& t = klasse.Zelle(0, spalte).Text;
    return t.empty() ? leer : t[0];
}

void ZelleSetzen(TSchulklasse& klasse, int zeile, int spalte, const Text& text, const std::array<int, 3>& farbe) {
    const auto& zelle = klasse.Zensurzeile[static_cast<size_t>(zeile)]->Kachel[static_cast<size_t>(spalte)];
    klasse.Eintragsverlauf.push_back({zelle, zelle->Text, zelle->Text_RGB});
    zelle->change({text}, {}, {farbe[0], farbe[1], farbe[2]}, 1);
}
}  // namespace

bool IstDurchschnittsspalte(const TSchulklasse& klasse, int spalte) {
    return IstDurchschnittstyp(Kopftext(klasse, spalte));
}

bool IstZeugnisspalte(const TSchulklasse& klasse, int spalte) {
    return Kopftext(klasse, spalte) == u"Zeugnis";
}

Text Zeugnisnote(const Text& gewaehlt, int skala) {
    if (skala == 0 && !gewaehlt.empty() && gewaehlt[0] >= u'1' && gewaehlt[0] <= u'6') return gewaehlt.substr(0, 1);
    return gewaehlt;
}

void GewaehlteNoteEintragen(TSchulklasse& klasse, int zeile, int spalte, const Text& gewaehlt) {
    const auto farbe = Notenfarbe(gewaehlt);
    if (IstZeugnisspalte(klasse, spalte)) {
        // The colour stays that of the picked grade ("4-" keeps its orange).
        ZelleSetzen(klasse, zeile, spalte, Zeugnisnote(gewaehlt, Notenskala), farbe);
        return;
    }
    ZelleSetzen(klasse, zeile, spalte, gewaehlt, farbe);
    klasse.Durchschnittsnotenberechnung(zeile);
}

void FreieNoteEintragen(TSchulklasse& klasse, int zeile, int spalte, const Text& eingabe) {
    const Text note = Trim(eingabe);
    ZelleSetzen(klasse, zeile, spalte, note, Notenfarbe(note));
    klasse.Durchschnittsnotenberechnung(zeile);
}

int LetztenEintragZuruecknehmen(TSchulklasse& klasse) {
    while (!klasse.Eintragsverlauf.empty()) {
        const TNoteneintrag e = klasse.Eintragsverlauf.back();
        klasse.Eintragsverlauf.pop_back();
        // The student or the column may have been deleted since: that entry is gone with it.
        for (int i = 1; i < klasse.Schueleranzahl; ++i) {
            const auto& reihe = klasse.Zensurzeile[static_cast<size_t>(i)]->Kachel;
            for (int j = 1; j < klasse.Notenanzahl && j < static_cast<int>(reihe.size()); ++j) {
                if (reihe[static_cast<size_t>(j)] != e.zelle) continue;
                e.zelle->change(e.text, {}, {e.farbe[0], e.farbe[1], e.farbe[2]}, 1);
                klasse.Durchschnittsnotenberechnung(i);
                return i;
            }
        }
    }
    return 0;
}
