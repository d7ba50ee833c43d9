// Reading a class file into a record. Damaged or hostile files fail cleanly:
// the counts are checked against the lines the file holds before anything is
// allocated for them.
#include <vector>

#include "gradebook/class_file.hpp"
#include "gradebook/class_file_format.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/grid_tiles.hpp"
#include "gradebook/scale_of_class.hpp"
#include "platform/conversions.hpp"
#include "platform/sealed_files.hpp"

namespace {

// The count of a count line: its value without the trailing word.
long long Anzahl(const ::Text& wert, int wortlaenge) {
    return GanzzahlAusText(Left(wert, static_cast<int>(wert.size()) - wortlaenge));
}

::Text OderPlatzhalter(const ::Text& text, const ::Text& platzhalter) { return text.empty() ? platzhalter : text; }

}  // namespace

std::shared_ptr<TSchulklasse> KlasseAusBytes(std::string_view bytes) {
    const long long zeilen = static_cast<long long>(Zeilenleser::Zeilenanzahl(bytes));
    if (zeilen < 5) return nullptr;
    Zeilenleser leser(bytes);
    leser.Naechste();  // identification record, not examined
    const ::Text klasse = TSchulklasse::Extract_SYLK(leser.Naechste());
    const ::Text fach = TSchulklasse::Extract_SYLK(leser.Naechste());
    const long long spalten = Anzahl(TSchulklasse::Extract_SYLK(leser.Naechste()), 6);
    const long long schueler = Anzahl(TSchulklasse::Extract_SYLK(leser.Naechste()), 8);
    if (spalten < 0 || schueler < 0) return nullptr;
    // Header, two heading lines per column, per student two names and a
    // cell per column, then "E". Both counts are at most 2^31: no overflow.
    const long long benoetigt = 5 + 2 * spalten + schueler * (2 + spalten) + 1;
    if (benoetigt > zeilen) return nullptr;

    // Cell colours follow the class's scale; a failed load leaves the old one.
    const int alteSkala = Notenskala;
    SkalaFuerKlasseSetzen(klasse);

    auto k = std::make_shared<TSchulklasse>();
    k->Titel = {klasse, fach};
    const int N = static_cast<int>(spalten) + 1;
    const int S = static_cast<int>(schueler) + 1;
    k->Notenanzahl = N;
    k->Schueleranzahl = S;
    k->Zensurzeile.reserve(static_cast<size_t>(S));
    auto kopf = TZensurzeile::bauen(N);
    kopf->Kachel[0] = TitelkachelBauen(klasse, fach);

    std::vector<::Text> typ(static_cast<size_t>(N));
    std::vector<bool> durchschnitt(static_cast<size_t>(N), false);
    for (int j = 1; j < N; ++j) typ[j] = TSchulklasse::Extract_SYLK(leser.Naechste());
    for (int j = 1; j < N; ++j) {
        const ::Text datum = TSchulklasse::Extract_SYLK(leser.Naechste());
        durchschnitt[j] = IstDurchschnittstyp(typ[j]);
        kopf->Kachel[j] = SpaltenkopfBauen(typ[j], datum, j, SpaltenX(j), 0);
    }
    k->Zensurzeile.push_back(kopf);

    for (int i = 1; i < S; ++i) {
        auto zeile = TZensurzeile::bauen(N);
        const ::Text nachname = TSchulklasse::Extract_SYLK(leser.Naechste());
        const ::Text vornamen = TSchulklasse::Extract_SYLK(leser.Naechste());
        zeile->Kachel[0] = NamenskachelBauen(nachname, vornamen, i, 0, ZeilenY(i));
        for (int j = 1; j < N; ++j) {
            const ::Text t = TSchulklasse::Extract_SYLK(leser.Naechste());
            const RGBFarbe kopffarbe = kopf->Kachel[j]->RGB;
            zeile->Kachel[j] = durchschnitt[j] ? DurchschnittszelleBauen(t, i, j, kopffarbe, 0, ZeilenY(i))
                                               : NotenzelleBauen(t, i, j, kopffarbe, 0, ZeilenY(i));
        }
        k->Zensurzeile.push_back(zeile);
    }

    if (leser.Naechste() != u"E") {
        Notenskala = alteSkala;
        return nullptr;
    }

    // The per-student lines are read in the file's row order and sorted
    // together with their rows, so each student keeps their own; missing
    // lines at the end give the placeholders.
    k->Telefonnummer = {::Text()};
    k->Notizen = {::Text()};
    k->VergesseneHA = {::Text()};
    for (int i = 1; i < S; ++i) {
        k->Telefonnummer.push_back(OderPlatzhalter(leser.Naechste(), kPlatzhalterTelefon));
        k->Notizen.push_back(OderPlatzhalter(leser.Naechste(), kPlatzhalterNotizen));
        k->VergesseneHA.push_back(OderPlatzhalter(leser.Naechste(), kPlatzhalterVergesseneHA));
    }
    k->NachNamenSortieren(0);
    k->OrganisiereOffsetGrenzen(1, N - 1);
    k->AuftragsZeile = -1;
    k->AuftragsSpalte = -1;
    return k;
}

std::shared_ptr<TSchulklasse> TSchulklasse::laden(const ::Text& pfad) {
    std::string bytes;
    if (ReadDataFile(pfad, bytes, kKlassendateiHoechstgroesse) != DataReadResult::Ok) return nullptr;
    return KlasseAusBytes(bytes);
}
