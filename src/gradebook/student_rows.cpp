// Renaming and removing a student row, with the re-sorting that follows.
#include "gradebook/student_rows.hpp"

#include "platform/conversions.hpp"
#include "platform/graphics.hpp"
#include "platform/system_services.hpp"
#include "tiles/info_box.hpp"

Schuelername NamenAusEingabe(const Text& eingabe) {
    const size_t komma = eingabe.find(u',');
    if (komma == Text::npos) return {Trim(eingabe), Text()};
    return {Trim(eingabe.substr(komma + 1)), Trim(eingabe.substr(0, komma))};
}

Schuelername NameInZeile(const TSchulklasse& klasse, int zeile) {
    const auto& t = klasse.Zelle(zeile, 0).Text;
    return {t.size() > 0 ? t[0] : Text(), t.size() > 1 ? t[1] : Text()};
}

int ZeileMitNamen(const TSchulklasse& klasse, const Schuelername& name) {
    for (int i = 1; i < klasse.Schueleranzahl; ++i)
        if (NameInZeile(klasse, i) == name) return i;
    return 0;
}

void NamensdoppelungMelden() {
    Cls();
    TInfoBox::bauen(u"Fehler", {255, 255, 0},
                    {u"Es gibt bereits einen Schüler", u"mit diesen Namen in der Klasse!",
                     u"Darum wird er nicht hingefügt."},
                    {kOkSchalter})
        ->verwenden();
}

Umbenennungsergebnis SchuelerUmbenennen(TSchulklasse& klasse, int zeile, const Schuelername& neu) {
    if (NameInZeile(klasse, zeile) == neu) return {Umbenennung::unveraendert, zeile};
    // Two rows of one name could not be told apart, and would share one photo file.
    if (ZeileMitNamen(klasse, neu) != 0) return {Umbenennung::vergeben, zeile};
    const auto zensurzeile = klasse.Zensurzeile[zeile];
    klasse.Zelle(zeile, 0).change({neu.nachname, neu.vornamen}, {}, {}, 1);
    klasse.NachNamenSortieren(0);
    for (int i = 1; i < klasse.Schueleranzahl; ++i)
        if (klasse.Zensurzeile[i] == zensurzeile) return {Umbenennung::umbenannt, i};
    RaiseError(u"Fehler in der Namensänderung!");
}

void SchuelerEntfernen(TSchulklasse& klasse, int zeile) {
    klasse.Zensurzeile[zeile].reset();
    --klasse.Schueleranzahl;
    klasse.NachNamenSortieren(0);
}
