// The student's attendance list from the row menu: counts per half-year on
// top, the lines newest first; a chosen line can be excused, taken back to
// unexcused or deleted.
#include "classscreen/seating_plan_screen.hpp"
#include "gradebook/dates.hpp"
#include "gradebook/program_state.hpp"
#include "platform/conversions.hpp"
#include "platform/datetime.hpp"
#include "platform/graphics.hpp"
#include "tiles/info_box.hpp"
#include "tiles/menu.hpp"
#include "tiles/user.hpp"

namespace {
constexpr size_t kHoechstensZeilen = 28;  // lines that fit on the screen below the counts

Text Artname(const Fehlzeit& f) {
    switch (f.art) {
        case Anwesenheit::fehlt: return u"fehlt";
        case Anwesenheit::entschuldigt: return u"entschuldigt";
        case Anwesenheit::verspaetet: return u"verspätet " + TextFromInt(f.minuten) + u" Min.";
        default: return u"";
    }
}

std::array<int, 3> Artfarbe(const Fehlzeit& f) {
    switch (f.art) {
        case Anwesenheit::fehlt: return {120, 20, 20};
        case Anwesenheit::entschuldigt: return {30, 70, 120};
        default: return {110, 95, 10};
    }
}
}  // namespace

Text FehlzeitenZeile(const Fehlzeitenzahlen& z, int halbjahr) {
    return TextFromInt(halbjahr + 1) + u". Halbjahr: " + TextFromInt(z.fehlstunden) +
           (z.fehlstunden == 1 ? u" Fehlstunde, " : u" Fehlstunden, ") + TextFromInt(z.unentschuldigt) +
           u" unentschuldigt, " + TextFromInt(z.verspaetungen) +
           (z.verspaetungen == 1 ? u" Verspätung" : u" Verspätungen");
}

void FehlzeitenBearbeiten(TSchulklasse& klasse, int zeile) {
    if (zeile < 1 || zeile >= klasse.Schueleranzahl) return;
    TUnterricht& u = UnterrichtLaden(klasse);
    const Schuelername name = NameInZeile(klasse, zeile);
    for (;;) {
        const std::vector<Fehlzeit> liste = u.Fehlzeiten.DesSchuelers(name);
        const int grenze = Halbjahresgrenze(klasse, DatumVerschieben(CurrentDateText(), 0));
        const auto zahlen = ZahlenProHalbjahr(u.Fehlzeiten, name, grenze);
        std::vector<Text> oben{name.vornamen + u" " + name.nachname, FehlzeitenZeile(zahlen[0], 0)},
            unten{Text(u"Fehlzeiten"), FehlzeitenZeile(zahlen[1], 1)};
        for (size_t i = 0; i < liste.size() && i < kHoechstensZeilen; ++i) {
            oben.push_back(liste[i].datum + u", " + TextFromInt(liste[i].stunde) + u". Stunde");
            unten.push_back(Artname(liste[i]));
        }
        // Two wide tiles of counts, then the lines.
        auto menue = TTextMenu::bauen(2, {oben, unten}, {Schrift16, Schrift16}, 400, 56, 4, {16, 16, 16},
                                      {56, 48, 64}, {255, 255, 255}, 100);
        for (size_t i = 2; i < oben.size(); ++i) {
            const auto c = Artfarbe(liste[i - 2]);
            menue->individualisiere_RGBs(int(i), {c[0], c[1], c[2]}, {});
        }
        menue->einblenden((Bildschirmbreite - menue->Breite) / 2, 40, int(PointerPosX), int(PointerPosY), nullptr,
                          kPositionBehalten, kPositionBehalten);
        if (menue->verwenden() != u"1") break;
        const int wahl = menue->Auswahl_Kachelindex - 2;
        if (wahl < 0) continue;
        const Fehlzeit f = liste[size_t(wahl)];
        const Text frage = f.art == Anwesenheit::entschuldigt ? Text(u"unentschuldigt") : Text(u"entschuldigt");
        auto was = TTextMenu::bauen(3, {{frage, u"löschen", u"nichts ändern"}}, {Schrift16}, 160, 56, 4, {16, 16, 16},
                                    {56, 48, 64}, {255, 255, 255}, 100);
        was->einblenden(int(PointerPosX) - was->Breite / 2, int(PointerPosY), int(PointerPosX), int(PointerPosY),
                        nullptr, kPositionBehalten, kPositionBehalten);
        if (was->verwenden() != u"1") continue;
        bool geaendert = false;
        switch (was->Auswahl_Kachelindex) {
            case 0:
                geaendert = u.Fehlzeiten.Setzen(f.datum, f.stunde, f.name,
                                                f.art == Anwesenheit::entschuldigt ? Anwesenheit::fehlt
                                                                                   : Anwesenheit::entschuldigt);
                break;
            case 1: geaendert = u.Fehlzeiten.Setzen(f.datum, f.stunde, f.name, Anwesenheit::anwesend); break;
            default: break;
        }
        if (geaendert) FehlzeitenSpeichern(klasse);
    }
    User::flush();
}

void EinzelzeileFehlzeitenZeigen(const TSchulklasse& klasse, int zeile) {
    const TFehlzeiten f = FehlzeitenFuerBerichte(klasse);
    if (f.Eintraege.empty() || zeile < 1 || zeile >= klasse.Schueleranzahl) return;
    const auto z = ZahlenProHalbjahr(f, NameInZeile(klasse, zeile),
                                     Halbjahresgrenze(klasse, DatumVerschieben(CurrentDateText(), 0)));
    const TKachel& name = klasse.Zelle(zeile, 0);
    SetDrawFont(Schrift16);
    SetColor(220, 220, 230);
    DrawTextAt(u"Fehlzeiten  " + FehlzeitenZeile(z[0], 0), 248, name.temp_y + name.Tiefe + 10);
    DrawTextAt(u"                 " + FehlzeitenZeile(z[1], 1), 248, name.temp_y + name.Tiefe + 32);
}
