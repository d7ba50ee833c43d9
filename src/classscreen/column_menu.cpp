// The column menu of a grade column heading: change the type, delete the
// column, move it left, change its date, show its Notenspiegel, enter its
// grades student after student. An average group is deleted and moved only as
// a whole.
#include <string>

#include "classscreen/class_screen_commands.hpp"
#include "classscreen/notenspiegel.hpp"
#include "gradebook/class_menus.hpp"
#include "gradebook/column_edit.hpp"
#include "gradebook/column_groups.hpp"
#include "gradebook/free_type_name.hpp"
#include "gradebook/grade_types.hpp"
#include "platform/conversions.hpp"
#include "tiles/info_box.hpp"
#include "tiles/offset.hpp"
#include "tiles/texteingabe.hpp"

namespace {

enum Spaltenbefehl { kTypAendern, kLoeschen, kNachLinks, kDatumAendern, kNotenspiegel, kNotenEintragen };

void Hinweis(const std::vector<Text>& zeilen) {
    TInfoBox::bauen(u"Info", {255, 255, 0}, zeilen, {kOkSchalter})->verwenden();
}

// An average column refuses to be edited on its own: true after the note.
bool Verbundhinweis(const TSchulklasse& klasse, int spalte) {
    if (!IstDurchschnittstyp(Spaltentypen(klasse)[static_cast<size_t>(spalte)])) return false;
    Hinweis({u"Durchschnittsnoten befinden sich in einem", u"Dreier-Spalten-Verbund und lassen sich",
             u"nicht einzeln umdefinieren. Löschen Sie bei", u"Bedarf diesen Dreier-Spalten-Verbund."});
    return true;
}

void TypAendern(TSchulklasse& klasse, int spalte, int x) {
    if (Verbundhinweis(klasse, spalte)) return;
    Typwechselmenue->einblenden(x - 236, 0, x + 42, 65, nullptr, kPositionBehalten, kPositionBehalten);
    if (Typwechselmenue->verwenden().empty()) return;
    const TKachel& kachel = *Typwechselmenue->Kachel[static_cast<size_t>(Typwechselmenue->Auswahl_Kachelindex)];
    std::optional<Text> typ = kachel.Text[0];
    if (typ->empty()) typ = FreienTypnamenErfragen();
    if (!typ) return;
    SpaltentypSetzen(klasse, spalte, *typ, kachel.Text.size() > 1 ? kachel.Text[1] : Typsymbol(*typ), kachel.RGB);
    klasse.Durchschnittsnotenberechnung(-1);
    klasse.AenderungVermerken();
}

void Loeschen(TSchulklasse& klasse, int spalte) {
    // Without students nothing can be lost: no question then.
    if (klasse.Schueleranzahl > 1) {
        const Text antwort =
            TInfoBox::bauen(u"Warnung", {255, 0, 0},
                            {u"Wollen Sie wirklich diese Notenspalte",
                             u"mit sämtlichen Noten aller " + TextFromInt(klasse.Schueleranzahl - 1) + u" Schüler",
                             u"für immer aus der Liste entfernen?!"},
                            {u"Ja, das ist ok", u"NEIN"})
                ->verwenden();
        if (antwort != u"Ja, das ist ok") return;
    }
    const Spaltenbereich bereich = LoeschBereich(Spaltentypen(klasse), spalte);
    SpaltenEntfernen(klasse, bereich);
    klasse.OrganisiereOffsetGrenzen(-1, bereich.erste - 1);
    klasse.Durchschnittsnotenberechnung(-1);
    klasse.AenderungVermerken();
}

void NachLinks(TSchulklasse& klasse, int spalte) {
    const auto v = LinksBereich(Spaltentypen(klasse), spalte);
    if (!v) return;
    SpaltenNachLinks(klasse, *v);
    klasse.Durchschnittsnotenberechnung(-1);
    klasse.AenderungVermerken();
}

void DatumAendern(TSchulklasse& klasse, int spalte) {
    const auto& kopf = klasse.Zelle(0, spalte).Text;
    if (kopf.size() < 3) {
        Hinweis({u"Durchschnittsnoten befinden sich in einem", u"Dreier-Spalten-Verbund ohne Datum.",
                 u"Sie werden bei jeder neuen oder geänderten", u"Einzelnote links davon automatisch aktualisiert."});
        return;
    }
    Texteingabe::starten(1, kopf[2], 1, -1, 0, 1);
    if (Texteingabe::verwenden(0) != 1) return;
    SpaltendatumSetzen(klasse, spalte, Texteingabe::Eingabetext);
    klasse.AenderungVermerken();
}

}  // namespace

int Spaltenbefehle(TSchulklasse& klasse, int spalte) {
    if (spalte < 1 || spalte >= klasse.Notenanzahl) return 0;
    const int x = klasse.Zelle(0, spalte).x + Offset::ScrollX;
    Spaltenmenue->einblenden(x - 122, 122, x + 42, 122, nullptr, kPositionBehalten, kPositionBehalten);
    if (Spaltenmenue->verwenden().empty()) return kOhneAuswahl;
    switch (Spaltenmenue->Auswahl_Kachelindex) {
        case kTypAendern: TypAendern(klasse, spalte, x); break;
        case kLoeschen: Loeschen(klasse, spalte); break;
        case kNachLinks: NachLinks(klasse, spalte); break;
        case kDatumAendern: DatumAendern(klasse, spalte); break;
        case kNotenspiegel: NotenspiegelZeigen(klasse, spalte); break;
        case kNotenEintragen:
            if (!Verbundhinweis(klasse, spalte)) Notenserie(klasse, spalte);
            break;
        default: break;
    }
    return 0;
}
