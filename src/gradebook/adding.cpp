// Adding a student row or a grade column. Both ask the teacher first
// (keyboard or type menu); refusals are shown in a box and change nothing.
// New tiles fly in; every row keeps one tile per column.
#include <optional>
#include <utility>

#include "gradebook/class_menus.hpp"
#include "gradebook/column_edit.hpp"
#include "gradebook/column_groups.hpp"
#include "gradebook/dates.hpp"
#include "gradebook/free_type_name.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/grid_tiles.hpp"
#include "gradebook/report_dates.hpp"
#include "gradebook/schulklasse.hpp"
#include "gradebook/student_rows.hpp"
#include "platform/conversions.hpp"
#include "platform/datetime.hpp"
#include "platform/graphics.hpp"
#include "platform/input.hpp"
#include "platform/system_services.hpp"
#include "tiles/info_box.hpp"
#include "tiles/texteingabe.hpp"

namespace {

void Hinweis(const Text& titel, const std::vector<Text>& zeilen) {
    TInfoBox::bauen(titel, {255, 255, 0}, zeilen, {kOkSchalter})->verwenden();
}

// Date of the rightmost "Zeugnis" column, if the class has one.
std::optional<Text> LetztesZeugnisdatum(const TSchulklasse& klasse) {
    for (int j = klasse.Notenanzahl - 1; j >= 1; --j) {
        const auto& t = klasse.Zelle(0, j).Text;
        if (!t.empty() && t[0] == u"Zeugnis") return t.size() > 2 ? t[2] : Text();
    }
    return std::nullopt;
}

// Adds "schriftl.", "sonst." and the overall column unless the class
// already has its two groups or one of the other weighting.
void DurchschnittsgruppeAnhaengen(TSchulklasse& klasse, const Text& gesamttyp) {
    switch (NeueGruppePruefen(Spaltentypen(klasse), gesamttyp)) {
        case Gruppenzulassung::ZweiVorhanden:
            Hinweis(u"Info", {u"Mit je einer Durchschnittsberechnung pro Halbjahr",
                              u"sind bereits zwei solcher Spalten vorhanden",
                              u"und es werden keine weiteren hinzugefügt."});
            return;
        case Gruppenzulassung::Gemischt:
            Hinweis(u"Info", {u"Die gleichzeitige Definition bzw. Berechnung",
                              u" eines Fachs als Haupt- UND Nebenfach ist nicht",
                              u"möglich. Bitte legen Sie sich auf eine Gewichtung",
                              u"fest, die dann für das gesamte Schuljahr gilt."});
            return;
        case Gruppenzulassung::Erlaubt:
            break;
    }
    for (const Text& typ : {Text(u"schriftl."), Text(u"sonst."), gesamttyp})
        SpalteAnhaengen(klasse, {typ, kDurchschnittssymbol}, Typfarbe(typ));
    klasse.Durchschnittsnotenberechnung(-1);
    klasse.AenderungVermerken();
}

}  // namespace

int TSchulklasse::NeueZensurzeileEinfuegen() {
    Texteingabe::starten(1, u"Vorname(n), Nachname", 1, 0, -1, 0);
    if (Texteingabe::verwenden(0) != 1) return 0;
    const Schuelername name = NamenAusEingabe(Texteingabe::Eingabetext);
    const auto& [nachname, vornamen] = name;
    if (ZeileMitNamen(*this, name) != 0) {
        NamensdoppelungMelden();
        return 0;
    }

    const int s = Schueleranzahl;
    auto zeile = TZensurzeile::bauen(Notenanzahl);
    zeile->Kachel[0] = NamenskachelBauen(nachname, vornamen, s, 0, ZeilenY(s));
    for (int j = 1; j < Notenanzahl; ++j)
        zeile->Kachel[j] = NotenzelleBauen(Text(), s, j, Zelle(0, j).RGB, 0, ZeilenY(s));
    Zensurzeile.push_back(zeile);
    Telefonnummer.push_back(kPlatzhalterTelefon);
    Notizen.push_back(kPlatzhalterNotizen);
    VergesseneHA.push_back(kPlatzhalterVergesseneHA);
    Schueleranzahl = s + 1;
    NachNamenSortieren(0);
    AenderungVermerken();

    if (const int i = ZeileMitNamen(*this, name)) {
        OrganisiereOffsetGrenzen(i, -1);
        return 0;
    }
    RaiseError(u"Fehler in der Namensänderung!");
}

int TSchulklasse::NeueNotenspalteEinfuegen() {
    Spaltentypmenue->einblenden(Klassenmenue->Breite, 0, Klassenmenue->Breite, 0, nullptr, kPositionBehalten,
                                kPositionBehalten);
    if (Spaltentypmenue->verwenden().empty()) return 0;
    const TKachel& kachel = *Spaltentypmenue->Kachel[static_cast<size_t>(Spaltentypmenue->Auswahl_Kachelindex)];
    const Text gewaehlt = kachel.Text.empty() ? Text() : kachel.Text[0];
    const Text symbol = kachel.Text.size() > 1 ? kachel.Text[1] : Typsymbol(gewaehlt);
    Text datum = DatumVerschieben(CurrentDateText(), 0);

    if (IstGesamtdurchschnitt(gewaehlt)) {
        DurchschnittsgruppeAnhaengen(*this, gewaehlt);
    } else {
        if (gewaehlt == u"Zeugnis") datum = NaechstesZeugnisdatum(LetztesZeugnisdatum(*this), datum);
        std::optional<Text> typ = gewaehlt;
        if (gewaehlt.empty()) typ = FreienTypnamenErfragen();
        if (typ) {
            SpalteAnhaengen(*this, {*typ, symbol, datum}, kachel.RGB);
            AenderungVermerken();
        }
    }

    OrganisiereOffsetGrenzen(-1, Notenanzahl - 1);
    AuftragsZeile = -1;
    AuftragsSpalte = -1;
    ClearKeys();
    ClearMouse();
    return 0;
}
