// Pieces of the full-year gradebooks the benchmarks measure on: the columns of
// two half-years, and headings and student rows appended the way the class
// file reader builds them, so each benchmark only says what its rows hold.
#pragma once
#include <functional>
#include <optional>
#include <vector>

#include "gradebook/grade_types.hpp"
#include "gradebook/grid_tiles.hpp"
#include "gradebook/schulklasse.hpp"
#include "platform/text.hpp"

namespace bench {

// 60 column types: two half-years of 27 grade columns (the types in turn, the
// second half-year shifted by one), each closed by its average group.
inline std::vector<Text> JahrgangsSpalten() {
    const std::vector<Text> typen{u"Arbeit", u"Test", u"Mündl.", u"HA.", u"Referat", u"10h-Test", u"Heft"};
    std::vector<Text> spalten;
    for (int h = 0; h < 2; ++h) {
        for (int n = 0; n < 27; ++n) spalten.push_back(typen[(n + h) % typen.size()]);
        for (const char16_t* t : {u"schriftl.", u"sonst.", u"HauptF."}) spalten.push_back(t);
    }
    return spalten;
}

// A column heading of type `typ` appended to the heading row.
inline void SpaltenkopfAnhaengen(TSchulklasse& k, const Text& typ, const Text& datum) {
    const int j = k.Notenanzahl;
    k.Zensurzeile[0]->Kachel.push_back(SpaltenkopfBauen(typ, datum, j, SpaltenX(j), 0));
    k.Zensurzeile[0]->Note.push_back(0);
    ++k.Notenanzahl;
}

struct Schueler {
    Text nachname, vornamen;
    Text telefon = kPlatzhalterTelefon;
    Text notizen = kPlatzhalterNotizen;
    Text vergesseneHA = kPlatzhalterVergesseneHA;
};

// Student row i appended: its name tile and one cell per column, holding
// note(j). Under an average heading the cell is an average cell holding
// `durchschnitt`; without one it is a grade cell like the others.
inline void SchuelerAnhaengen(TSchulklasse& k, int i, const Schueler& s, const std::function<Text(int j)>& note,
                              const std::optional<Text>& durchschnitt = std::nullopt) {
    auto z = TZensurzeile::bauen(k.Notenanzahl);
    z->Kachel[0] = NamenskachelBauen(s.nachname, s.vornamen, i, 0, ZeilenY(i));
    for (int j = 1; j < k.Notenanzahl; ++j) {
        const RGBFarbe kopf = k.Zensurzeile[0]->Kachel[j]->RGB;
        if (durchschnitt && IstDurchschnittstyp(k.Zensurzeile[0]->Kachel[j]->Text[0]))
            z->Kachel[j] = DurchschnittszelleBauen(*durchschnitt, i, j, kopf, 0, ZeilenY(i));
        else
            z->Kachel[j] = NotenzelleBauen(note(j), i, j, kopf, 0, ZeilenY(i));
    }
    k.Zensurzeile.push_back(z);
    k.Telefonnummer.push_back(s.telefon);
    k.Notizen.push_back(s.notizen);
    k.VergesseneHA.push_back(s.vergesseneHA);
    ++k.Schueleranzahl;
}

}  // namespace bench
