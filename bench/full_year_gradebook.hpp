// A full-year gradebook for the benchmarks: 40 students and 60 columns (two
// half-years of 27 grade columns, each closed by an average group), built
// tile by tile as the program's own operations leave it.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "gradebook/grade_types.hpp"
#include "gradebook/grid_tiles.hpp"
#include "gradebook/schulklasse.hpp"
#include "platform/conversions.hpp"

inline std::shared_ptr<TSchulklasse> Jahrgang() {
    const std::vector<Text> typen{u"Arbeit", u"Test", u"M\u00FCndl.", u"HA.", u"Referat", u"10h-Test", u"Heft"};
    const std::vector<Text> noten{u"1+", u"2-", u"3", u"4+", u"2-3", u"5", u"n.f.", u"1", u""};
    auto k = TSchulklasse::bauen({u"8c", u"Mathematik"}, 0);
    // 60 columns: two half-years of 27 grade columns, each closed by an average group.
    std::vector<Text> spalten;
    for (int h = 0; h < 2; ++h) {
        for (int n = 0; n < 27; ++n) spalten.push_back(typen[(n + h) % typen.size()]);
        for (const char16_t* t : {u"schriftl.", u"sonst.", u"HauptF."}) spalten.push_back(t);
    }
    for (size_t n = 0; n < spalten.size(); ++n) {
        const int j = k->Notenanzahl;
        const Text datum = TextFromUtf8(std::to_string(10 + n % 18) + ".10.15");
        k->Zensurzeile[0]->Kachel.push_back(SpaltenkopfBauen(spalten[n], datum, j, SpaltenX(j), 0));
        k->Zensurzeile[0]->Note.push_back(0);
        ++k->Notenanzahl;
    }
    for (int i = 1; i <= 40; ++i) {
        auto z = TZensurzeile::bauen(k->Notenanzahl);
        z->Kachel[0] = NamenskachelBauen(u"M\u00FCller" + TextFromUtf8(std::to_string(100 + (i * 37) % 40)),
                                         u"J\u00F6rg Maria", i, 0, ZeilenY(i));
        for (int j = 1; j < k->Notenanzahl; ++j) {
            const RGBFarbe kopf = k->Zensurzeile[0]->Kachel[j]->RGB;
            z->Kachel[j] = IstDurchschnittstyp(k->Zensurzeile[0]->Kachel[j]->Text[0])
                               ? DurchschnittszelleBauen(u"2.75", i, j, kopf, 0, ZeilenY(i))
                               : NotenzelleBauen(noten[(i + j) % noten.size()], i, j, kopf, 0, ZeilenY(i));
        }
        k->Zensurzeile.push_back(z);
        k->Telefonnummer.push_back(u"0171 123456" + TextFromUtf8(std::to_string(i)));
        k->Notizen.push_back(u"Sitzt vorne links, braucht Zeit bei Textaufgaben.");
        k->VergesseneHA.push_back(i % 3 ? kPlatzhalterVergesseneHA : Text(u"12.10. 19.11."));
        ++k->Schueleranzahl;
    }
    k->NachNamenSortieren(0);
    return k;
}

