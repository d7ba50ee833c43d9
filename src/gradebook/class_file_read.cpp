// Reading a class file into a record. Damaged or hostile files fail cleanly
// and fast: line lengths and counts are checked against the limits and the
// lines the file holds before anything is allocated for them.
#include <vector>

#include "gradebook/class_file.hpp"
#include "gradebook/class_file_format.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/grid_tiles.hpp"
#include "gradebook/scale_of_class.hpp"
#include "platform/conversions.hpp"
#include "platform/sealed_files.hpp"
#include "platform/wipe_on_exit.hpp"

namespace {

// The count of a count line: its value without the trailing word.
long long Anzahl(const ::Text& wert, int wortlaenge) {
    return GanzzahlAusText(Left(wert, static_cast<int>(wert.size()) - wortlaenge));
}

::Text OderPlatzhalter(const ::Text& text, const ::Text& platzhalter) { return text.empty() ? platzhalter : text; }

// A record line holds a value with its semicolons doubled, its cell address
// and the quotes; a longer line holds a value beyond the limit for sure.
constexpr size_t kZeilenHoechstlaenge = 2 * kWertHoechstlaenge + 32;

// Values of the file in order; remembers whether one was beyond the limit.
struct Werteleser {
    Zeilenleser zeilen;
    bool zuLang = false;
    ::Text Wert() { return Pruefen(TSchulklasse::Extract_SYLK(zeilen.Naechste())); }
    ::Text Zeile() { return Pruefen(zeilen.Naechste()); }
    ::Text Pruefen(::Text t) {
        if (t.size() > kWertHoechstlaenge) zuLang = true;
        return t;
    }
};

}  // namespace

std::array<::Text, 2> TitelDerBytes(std::string_view bytes) {
    Zeilenleser leser(bytes);
    leser.Naechste();
    const ::Text klasse = TSchulklasse::Extract_SYLK(leser.Naechste());
    return {klasse, TSchulklasse::Extract_SYLK(leser.Naechste())};
}

std::shared_ptr<TSchulklasse> KlasseAusBytes(std::string_view bytes, const std::array<::Text, 2>* titel) {
    const size_t anzahl = Zeilenleser::Zeilenanzahl(bytes, kZeilenHoechstlaenge);
    if (anzahl == Zeilenleser::kZuLang) return nullptr;
    const long long zeilen = static_cast<long long>(anzahl);
    if (zeilen < 5) return nullptr;
    Werteleser leser{Zeilenleser(bytes)};
    leser.zeilen.Naechste();  // identification record, not examined
    ::Text klasse = leser.Wert();
    ::Text fach = leser.Wert();
    const long long spalten = Anzahl(leser.Wert(), 6);
    const long long schueler = Anzahl(leser.Wert(), 8);
    if (spalten < 0 || schueler < 0 || leser.zuLang) return nullptr;
    if (spalten > kHoechstanzahlSpalten || schueler > kHoechstanzahlSchueler) return nullptr;
    if (titel) {
        klasse = (*titel)[0];
        fach = (*titel)[1];
    }
    // Header, two heading lines per column, per student two names and a
    // cell per column, then "E".
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
    for (int j = 1; j < N; ++j) typ[j] = leser.Wert();
    for (int j = 1; j < N; ++j) {
        const ::Text datum = leser.Wert();
        durchschnitt[j] = IstDurchschnittstyp(typ[j]);
        kopf->Kachel[j] = SpaltenkopfBauen(typ[j], datum, j, SpaltenX(j), 0);
    }
    k->Zensurzeile.push_back(kopf);

    for (int i = 1; i < S; ++i) {
        auto zeile = TZensurzeile::bauen(N);
        const ::Text nachname = leser.Wert();
        const ::Text vornamen = leser.Wert();
        zeile->Kachel[0] = NamenskachelBauen(nachname, vornamen, i, 0, ZeilenY(i));
        for (int j = 1; j < N; ++j) {
            const ::Text t = leser.Wert();
            const RGBFarbe kopffarbe = kopf->Kachel[j]->RGB;
            zeile->Kachel[j] = durchschnitt[j] ? DurchschnittszelleBauen(t, i, j, kopffarbe, 0, ZeilenY(i))
                                               : NotenzelleBauen(t, i, j, kopffarbe, 0, ZeilenY(i));
        }
        k->Zensurzeile.push_back(zeile);
    }

    if (leser.zeilen.Naechste() != u"E" || leser.zuLang) {
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
        k->Telefonnummer.push_back(OderPlatzhalter(leser.Zeile(), kPlatzhalterTelefon));
        k->Notizen.push_back(OderPlatzhalter(leser.Zeile(), kPlatzhalterNotizen));
        k->VergesseneHA.push_back(OderPlatzhalter(leser.Zeile(), kPlatzhalterVergesseneHA));
    }
    if (leser.zuLang) {
        Notenskala = alteSkala;
        return nullptr;
    }
    k->NachNamenSortieren(0);
    k->OrganisiereOffsetGrenzen(1, N - 1);
    k->AuftragsZeile = -1;
    k->AuftragsSpalte = -1;
    return k;
}

std::shared_ptr<TSchulklasse> TSchulklasse::laden(const ::Text& pfad) {
    std::string bytes;
    const WipeOnExit weg(bytes);
    if (ReadDataFile(pfad, bytes, kKlassendateiHoechstgroesse) != DataReadResult::Ok) return nullptr;
    return KlasseAusBytes(bytes);
}
