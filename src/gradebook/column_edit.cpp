// Column changes on the tiles of the grid: every row, the header row
// included, is changed alike, so a row never holds more or fewer tiles than
// there are columns.
#include "gradebook/column_edit.hpp"

#include "gradebook/grid_tiles.hpp"
#include "gradebook/program_state.hpp"

namespace {
FarbArg Arg(const RGBFarbe& c) { return FarbArg{c[0], c[1], c[2]}; }
}  // namespace

std::vector<Text> Spaltentypen(const TSchulklasse& klasse) {
    std::vector<Text> typen(static_cast<size_t>(std::max(klasse.Notenanzahl, 0)));
    for (int j = 0; j < klasse.Notenanzahl; ++j) {
        const auto& t = klasse.Zelle(0, j).Text;
        if (!t.empty()) typen[static_cast<size_t>(j)] = t[0];
    }
    return typen;
}

void SpalteAnhaengen(TSchulklasse& klasse, const std::vector<Text>& kopfzeilen, const RGBFarbe& kopffarbe) {
    const int n = klasse.Notenanzahl;
    const int x = SpaltenX(n);
    auto kopf = TKombiKachel::bauen(kopfzeilen, {Schrift16}, x, kKopfY, 1, x, 0, 1, 76, 114, Arg(kopffarbe),
                                    {255, 255, 255}, 1, 200);
    klasse.Zensurzeile[0]->Kachel.push_back(kopf);
    klasse.Zensurzeile[0]->Note.push_back(0.0f);
    for (int i = 1; i < klasse.Schueleranzahl; ++i) {
        TZensurzeile& zeile = *klasse.Zensurzeile[static_cast<size_t>(i)];
        zeile.Kachel.push_back(NotenzelleBauen(Text(), i, n, kopffarbe, x, 0));
        zeile.Note.push_back(0.0f);
    }
    klasse.Notenanzahl = n + 1;
}

void SpaltenEntfernen(TSchulklasse& klasse, const Spaltenbereich& bereich) {
    const int d = bereich.letzte - bereich.erste + 1;
    for (int i = 0; i < klasse.Schueleranzahl; ++i) {
        TZensurzeile& zeile = *klasse.Zensurzeile[static_cast<size_t>(i)];
        zeile.Kachel.erase(zeile.Kachel.begin() + bereich.erste, zeile.Kachel.begin() + bereich.letzte + 1);
        if (static_cast<int>(zeile.Note.size()) > bereich.letzte)
            zeile.Note.erase(zeile.Note.begin() + bereich.erste, zeile.Note.begin() + bereich.letzte + 1);
        for (size_t j = static_cast<size_t>(bereich.erste); j < zeile.Kachel.size(); ++j) zeile.Kachel[j]->x -= 80 * d;
    }
    klasse.Notenanzahl -= d;
}

void SpaltenNachLinks(TSchulklasse& klasse, const Linksverschiebung& v) {
    const std::vector<int> folge = SpaltenfolgeNach(klasse.Notenanzahl, v);
    for (int i = 0; i < klasse.Schueleranzahl; ++i) {
        TZensurzeile& zeile = *klasse.Zensurzeile[static_cast<size_t>(i)];
        const auto kacheln = zeile.Kachel;
        const auto noten = zeile.Note;
        for (size_t j = 0; j < folge.size(); ++j) zeile.Kachel[j] = kacheln[static_cast<size_t>(folge[j])];
        if (noten.size() == folge.size())
            for (size_t j = 0; j < folge.size(); ++j) zeile.Note[j] = noten[static_cast<size_t>(folge[j])];
        for (size_t j = static_cast<size_t>(v.uebersprungen.erste); j < folge.size(); ++j)
            zeile.Kachel[j]->x = SpaltenX(static_cast<int>(j));
    }
}

void SpaltentypSetzen(TSchulklasse& klasse, int j, const Text& typ, const Text& symbol, const RGBFarbe& farbe) {
    TKachel& kopf = klasse.Zelle(0, j);
    const Text datum = kopf.Text.size() > 2 ? kopf.Text[2] : Text();
    kopf.change({typ, symbol, datum}, {}, {}, 1);
    kopf.RGB = farbe;
    for (int i = 1; i < klasse.Schueleranzahl; ++i) klasse.Zelle(i, j).RGB = Zellfarbe(farbe);
}

void SpaltendatumSetzen(TSchulklasse& klasse, int j, const Text& datum) {
    TKachel& kopf = klasse.Zelle(0, j);
    const Text typ = kopf.Text.empty() ? Text() : kopf.Text[0];
    const Text symbol = kopf.Text.size() > 1 ? kopf.Text[1] : Text();
    kopf.change({typ, symbol, datum}, {}, {}, 1);
}
