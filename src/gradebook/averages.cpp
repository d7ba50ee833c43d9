// Average cells of the gradebook: per student the written, the other and the
// overall average of each half-year, written into the average groups' tiles.
#include "gradebook/averages.hpp"

#include <cmath>

#include <algorithm>

#include "gradebook/grade_scale.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/schulklasse.hpp"
#include "platform/conversions.hpp"
#include "gradebook/program_state.hpp"

namespace {

bool IstGruppenende(const std::vector<Text>& typen, int j) {
    return j < static_cast<int>(typen.size()) && IstGesamtdurchschnitt(typen[j]);
}

// A group needs two member columns and the name column in front of it.
int GruppeSuchen(const std::vector<Text>& typen, int ab) {
    int g = ab;
    while (g >= 3 && !IstGruppenende(typen, g)) --g;
    return g <= 2 ? 0 : g;
}

std::optional<float> Mittel(float summe, int anzahl) {
    if (anzahl == 0) return std::nullopt;
    return summe / static_cast<float>(anzahl);
}

// The last group's overall grade is built from what the teacher sees, so the
// three cells of a row agree with each other on screen and in the file.
float Angezeigt(float wert) { return static_cast<float>(FloatFromText(Durchschnittsanzeige(wert))); }

bool IstHauptfach(const std::vector<Text>& typen, int g) { return typen[g] == u"HauptF."; }

// Overall grade of a half-year: written and other count 1 : 1 in a main
// subject, 1 : 2 in a minor one.
float Gesamt(bool hauptfach, float schriftlich, float sonstig) {
    return hauptfach ? (schriftlich + sonstig) / 2.0f : (schriftlich + sonstig + sonstig) / 3.0f;
}

// The first row's texts of every tile, "" where a tile has none.
std::vector<Text> ErsteTexte(const TZensurzeile& zeile, int spalten) {
    const int n = std::min<int>(spalten, static_cast<int>(zeile.Kachel.size()));
    std::vector<Text> texte(std::max(n, 0));
    for (int j = 0; j < n; ++j) {
        const auto& k = zeile.Kachel[j];
        if (k && !k->Text.empty()) texte[j] = k->Text[0];
    }
    return texte;
}

void Schreiben(TKachel& zelle, const Durchschnittszelle& d) {
    if (d.wert) {
        const auto farbe = Durchschnittsfarbe(*d.wert);
        zelle.change({Durchschnittsanzeige(*d.wert)}, {}, FarbArg(farbe.begin(), farbe.end()), 1);
    } else if (!zelle.Text.empty() && !zelle.Text[0].empty()) {
        zelle.change({Text()}, {}, {}, 1);
    }
}

}  // namespace

Durchschnittsgruppen GruppenFinden(const std::vector<Text>& typen) {
    Durchschnittsgruppen g;
    g.g2 = GruppeSuchen(typen, static_cast<int>(typen.size()) - 1);
    if (g.g2 != 0) g.g1 = GruppeSuchen(typen, g.g2 - 1);
    return g;
}

Teilschnitte HalbjahrMitteln(const std::vector<Text>& typen, const std::vector<Text>& noten, int von, int bis,
                             int skala) {
    float schriftlich = 0.0f, sonstig = 0.0f;
    int nSchriftlich = 0, nSonstig = 0;
    const int ende = std::min({bis, static_cast<int>(typen.size()) - 1, static_cast<int>(noten.size()) - 1});
    for (int j = ende; j >= std::max(von, 1); --j) {
        const float wert = Notenwert(noten[j], skala);
        if (!(wert > -1.0f)) continue;
        switch (KategorieVonTyp(typen[j])) {
            case Typkategorie::Schriftlich:
                schriftlich += wert;
                ++nSchriftlich;
                break;
            case Typkategorie::Sonstig:
                sonstig += wert;
                ++nSonstig;
                break;
            case Typkategorie::Zeugnis:       // report grades never count
            case Typkategorie::Durchschnitt:  // averages never feed averages
                break;
        }
    }
    return {Mittel(schriftlich, nSchriftlich), Mittel(sonstig, nSonstig)};
}

// Cut, not rounded, to four characters. A 32-bit mean carries noise below the
// fifth decimal (11.5 / 5 is 2.29999995, a true 2.3), which must not turn 2.30
// into 2.29: it is rounded away first. Means of school grades are fractions
// with small denominators, so no true value lies that close below a cut.
Text Durchschnittsanzeige(float wert) {
    return Left(TextFromFloat(std::round(static_cast<double>(wert) * 1e5) / 1e5), 4);
}

std::vector<Durchschnittszelle> Zeilendurchschnitte(const std::vector<Text>& typen, const std::vector<Text>& noten,
                                                    int skala) {
    std::vector<Durchschnittszelle> zellen;
    const Durchschnittsgruppen g = GruppenFinden(typen);
    if (g.g2 == 0) return zellen;

    // Columns belong to a half-year by position: up to the first group, then up to the last.
    const Teilschnitte jetzt = HalbjahrMitteln(typen, noten, g.g1 + 1, g.g2 - 3, skala);
    Teilschnitte vorher;

    if (g.g1 != 0) {
        vorher = HalbjahrMitteln(typen, noten, 1, g.g1 - 3, skala);
        const auto& [w1, o1] = vorher;
        std::optional<float> gesamt;
        if (w1 && o1)
            gesamt = Gesamt(IstHauptfach(typen, g.g1), *w1, *o1);
        else
            gesamt = w1 ? w1 : o1;
        zellen.push_back({g.g1 - 2, w1});
        zellen.push_back({g.g1 - 1, o1});
        zellen.push_back({g.g1, gesamt});
    }

    // The current half-year counts twice, the first once; a kind the current
    // half-year lacks stays empty, whatever the first half-year had.
    std::optional<float> w, o, gesamt;
    if (jetzt.schriftlich)
        w = vorher.schriftlich ? (*jetzt.schriftlich + *jetzt.schriftlich + *vorher.schriftlich) / 3.0f
                               : *jetzt.schriftlich;
    if (jetzt.sonstig)
        o = vorher.sonstig ? (*jetzt.sonstig + *jetzt.sonstig + *vorher.sonstig) / 3.0f : *jetzt.sonstig;
    if (w && o) {
        const float a = Angezeigt(*w), b = Angezeigt(*o);
        gesamt = IstHauptfach(typen, g.g2) ? (a + b) / 2.0f : (a + 2.0f * b) / 3.0f;
    } else {
        gesamt = w ? w : o;
    }
    zellen.push_back({g.g2 - 2, w});
    zellen.push_back({g.g2 - 1, o});
    zellen.push_back({g.g2, gesamt});
    return zellen;
}

int TSchulklasse::Durchschnittsnotenberechnung(int zeile) {
    if (Zensurzeile.empty() || !Zensurzeile[0]) return 0;
    const std::vector<Text> typen = ErsteTexte(*Zensurzeile[0], Notenanzahl);
    const int letzte = std::min<int>(Schueleranzahl, static_cast<int>(Zensurzeile.size())) - 1;
    int von = 1, bis = letzte;
    if (zeile >= 1) {
        if (zeile > letzte) return 0;  // no such student: nothing to recompute
        von = bis = zeile;
    }
    for (int k = von; k <= bis; ++k) {
        TZensurzeile& z = *Zensurzeile[k];
        const std::vector<Text> noten = ErsteTexte(z, Notenanzahl);
        for (const Durchschnittszelle& d : Zeilendurchschnitte(typen, noten, Notenskala))
            if (d.spalte < static_cast<int>(z.Kachel.size()) && z.Kachel[d.spalte]) Schreiben(*z.Kachel[d.spalte], d);
    }
    return 0;
}
