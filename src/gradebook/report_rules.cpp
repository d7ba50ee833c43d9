// File names, dates, colours and page cuts of the printed reports.
#include "gradebook/report_rules.hpp"

#include <algorithm>

#include "gradebook/grade_types.hpp"
#include "gradebook/schulklasse.hpp"
#include "platform/conversions.hpp"

namespace {
Text Zweistellig(int n) {
    const Text t = TextFromInt(n);
    return t.size() < 2 ? u"0" + t : t;
}

Text Dateitauglich(Text t) {
    for (char16_t& c : t)
        if (c == u'/' || c == u'\\' || c < 32) c = u'-';
    return t;
}
}  // namespace

Text Ausdruckdateiname(const Text& klasse, const Text& fach, const Text& was, int jahr, int monat, int tag) {
    return Dateitauglich(klasse + u" " + fach + u" " + was) + u" " + TextFromInt(jahr) + u"-" + Zweistellig(monat) +
           u"-" + Zweistellig(tag) + u".pdf";
}

Text Druckdatum(int jahr, int monat, int tag) {
    return Zweistellig(tag) + u"." + Zweistellig(monat) + u"." + TextFromInt(jahr);
}

Text Schuljahr(int jahr, int monat) {
    const int beginn = monat >= 8 ? jahr : jahr - 1;
    return TextFromInt(beginn) + u"/" + Zweistellig((beginn + 1) % 100);
}

Text AusdruckNummeriert(const Text& pfad, int n) {
    if (n <= 1) return pfad;
    const Text endung = u".pdf";
    const bool mitEndung = pfad.size() >= endung.size() && pfad.compare(pfad.size() - endung.size(), endung.size(), endung) == 0;
    const Text stamm = mitEndung ? pfad.substr(0, pfad.size() - endung.size()) : pfad;
    return stamm + u" (" + TextFromInt(n) + u")" + (mitEndung ? endung : Text());
}

Text MitDezimalkomma(const Text& eintrag) {
    const size_t punkt = eintrag.find(u'.');
    if (punkt == Text::npos || punkt == 0 || punkt + 1 == eintrag.size()) return eintrag;
    for (size_t i = 0; i < eintrag.size(); ++i)
        if (i != punkt && (eintrag[i] < u'0' || eintrag[i] > u'9')) return eintrag;
    Text t = eintrag;
    t[punkt] = u',';
    return t;
}

Text HausaufgabenOhneWiederholung(const Text& eintrag) {
    const Text kachelwort = kPlatzhalterVergesseneHA.substr(1);  // " vergessene Hausaufg."
    if (eintrag.size() > kachelwort.size() &&
        eintrag.compare(eintrag.size() - kachelwort.size(), kachelwort.size(), kachelwort) == 0)
        return eintrag.substr(0, eintrag.size() - kachelwort.size());
    return eintrag;
}

RGBFarbe Aufgehellt(const RGBFarbe& farbe) {
    RGBFarbe out{};
    for (int i = 0; i < 3; ++i) out[i] = 255 - (255 - std::clamp(farbe[i], 0, 255)) * 28 / 100;
    return out;
}

std::vector<Seitenausschnitt> Seitenaufteilung(int schueler, int spalten, int zeilenJeSeite, int spaltenJeSeite) {
    zeilenJeSeite = std::max(1, zeilenJeSeite);
    spaltenJeSeite = std::max(1, spaltenJeSeite);
    std::vector<Seitenausschnitt> seiten;
    int s = 1;
    do {
        const int sBis = std::min(spalten, s + spaltenJeSeite - 1);
        int z = 1;
        do {
            seiten.push_back({z, std::min(schueler, z + zeilenJeSeite - 1), s, sBis});
            z += zeilenJeSeite;
        } while (z <= schueler);
        s += spaltenJeSeite;
    } while (s <= spalten);
    return seiten;
}

std::vector<Halbjahresabschnitt> Halbjahresabschnitte(const std::vector<Text>& typen) {
    std::vector<Halbjahresabschnitt> teile;
    int beginn = 1;
    const int n = static_cast<int>(typen.size());
    for (int j = 1; j < n; ++j) {
        // A group is three columns ending in "HauptF."/"NebenF."; the three
        // belong to the half-year they close.
        if (!IstGesamtdurchschnitt(typen[static_cast<size_t>(j)])) continue;
        teile.push_back({beginn, j - 3, j});
        beginn = j + 1;
    }
    if (beginn < n) teile.push_back({beginn, n - 1, 0});
    return teile;
}
