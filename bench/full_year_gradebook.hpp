// The full-year gradebook of the benchmarks: 40 students and 60 columns (two
// half-years of 27 grade columns, each closed by an average group), built
// tile by tile as the program's own operations leave it.
#pragma once
#include <memory>
#include <string>
#include <vector>

#include "platform/conversions.hpp"
#include "year_gradebook.hpp"

namespace bench {

inline std::shared_ptr<TSchulklasse> Jahrgang() {
    const std::vector<Text> noten{u"1+", u"2-", u"3", u"4+", u"2-3", u"5", u"n.f.", u"1", u""};
    auto k = TSchulklasse::bauen({u"8c", u"Mathematik"}, 0);
    const std::vector<Text> spalten = JahrgangsSpalten();
    for (size_t n = 0; n < spalten.size(); ++n)
        SpaltenkopfAnhaengen(*k, spalten[n], TextFromUtf8(std::to_string(10 + n % 18) + ".10.15"));
    for (int i = 1; i <= 40; ++i) {
        const Schueler s{u"M\u00FCller" + TextFromUtf8(std::to_string(100 + (i * 37) % 40)), u"J\u00F6rg Maria",
                         u"0171 123456" + TextFromUtf8(std::to_string(i)),
                         u"Sitzt vorne links, braucht Zeit bei Textaufgaben.",
                         i % 3 ? kPlatzhalterVergesseneHA : Text(u"12.10. 19.11.")};
        SchuelerAnhaengen(*k, i, s, [&](int j) { return noten[(i + j) % noten.size()]; }, Text(u"2.75"));
    }
    k->NachNamenSortieren(0);
    return k;
}

}  // namespace bench
