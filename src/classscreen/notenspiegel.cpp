// The Notenspiegel box: the texts of the grade distribution of one column,
// laid out as the information box's lines, with a button that prints it.
#include "classscreen/notenspiegel.hpp"

#include "classscreen/reports.hpp"
#include "gradebook/grade_distribution.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/program_state.hpp"
#include "platform/conversions.hpp"
#include "tiles/info_box.hpp"
#include "tiles/user.hpp"

namespace {
const RGBFarbe kWeiss{255, 255, 255};
const RGBFarbe kRot{255, 0, 0};
const Text kAbstand = u"   ";

Text Zahl(long long n) { return TextFromInt(n); }

// Hundredths with a decimal comma: 247 gives "2,47".
Text Dezimalkomma(int hundertstel) {
    const Text rest = Zahl(hundertstel % 100);
    return Zahl(hundertstel / 100) + u"," + (rest.size() < 2 ? u"0" + rest : rest);
}

}  // namespace

Text NotenspiegelKopf(const TKachel& kopf) {
    Text typ = kopf.Text.empty() || kopf.Text[0].empty() ? Text(u"Spalte ohne Namen") : kopf.Text[0];
    if (kopf.Text.size() >= 3 && !kopf.Text[2].empty()) typ += u" vom " + kopf.Text[2];
    return typ;
}

namespace {
// "1: a   2: b   3: c   4: d   5: e   6: f"
Text Notenzeile(const Notenverteilung& v) {
    Text z;
    for (int note = 1; note <= 6; ++note) {
        if (note > 1) z += kAbstand;
        z += Zahl(note) + u": " + Zahl(v.Noten[static_cast<size_t>(note - 1)]);
    }
    return z;
}

// "15: a   14: b   ...   0: p"
Text Punktezeile(const Notenverteilung& v) {
    Text z;
    for (int p = 15; p >= 0; --p) {
        if (p < 15) z += kAbstand;
        z += Zahl(p) + u": " + Zahl(v.Punkte[static_cast<size_t>(p)]);
    }
    return z;
}

Text NichtMitgezaehlt(const Notenverteilung& v) {
    return u"Nicht mitgezählt: n.f. " + Zahl(v.NichtGefertigt) + kAbstand + u"andere Einträge " +
           Zahl(v.AndererText);
}
}  // namespace

Notenverteilung SpaltenVerteilung(const TSchulklasse& klasse, int spalte, int skala) {
    std::vector<Text> zellen;
    for (int i = 1; i < klasse.Schueleranzahl; ++i) {
        const TKachel& z = klasse.Zelle(i, spalte);
        zellen.push_back(z.Text.empty() ? Text() : z.Text[0]);
    }
    return NotenverteilungBerechnen(zellen, skala);
}

bool NotenspiegelMoeglich(const TSchulklasse& klasse, int spalte, const Notenverteilung& v) {
    const TKachel& kopf = klasse.Zelle(0, spalte);
    return !IstDurchschnittstyp(kopf.Text.empty() ? Text() : kopf.Text[0]) && v.Benotet > 0;
}

std::vector<NotenspiegelZeile> NotenspiegelAuswertung(const Notenverteilung& v) {
    std::vector<NotenspiegelZeile> zeilen;
    zeilen.push_back({u"Benotet: " + Zahl(v.Benotet) + u" Schüler", kWeiss});
    zeilen.push_back({NichtMitgezaehlt(v), kWeiss});
    zeilen.push_back({u"Durchschnitt: " + Dezimalkomma(DurchschnittHundertstel(v)), kWeiss});
    zeilen.push_back({u"5 und 6: " + Zahl(v.FuenfUndSechs) + u" von " + Zahl(v.Benotet) + u" (" +
                          Zahl(FuenfUndSechsProzent(v)) + u" %)",
                      kWeiss});
    if (MehrAlsEinDrittel(v)) zeilen.push_back({u"mehr als ein Drittel", kRot});
    return zeilen;
}

std::vector<NotenspiegelZeile> NotenspiegelZeilen(const TSchulklasse& klasse, int spalte, int skala) {
    const TKachel& kopf = klasse.Zelle(0, spalte);
    std::vector<NotenspiegelZeile> zeilen{{NotenspiegelKopf(kopf), kWeiss}, {Text(), kWeiss}};
    const Text typ = kopf.Text.empty() ? Text() : kopf.Text[0];
    if (IstDurchschnittstyp(typ)) {
        zeilen.push_back({u"Diese Spalte enthält berechnete Durchschnittsnoten.", kWeiss});
        zeilen.push_back({u"Der Notenspiegel ist für Noten- und Zeugnisspalten gedacht.", kWeiss});
        return zeilen;
    }

    const Notenverteilung v = SpaltenVerteilung(klasse, spalte, skala);
    if (v.Benotet == 0) {
        zeilen.push_back({u"In dieser Spalte steht noch keine Note.", kWeiss});
        if (v.NichtGefertigt + v.AndererText > 0) zeilen.push_back({NichtMitgezaehlt(v), kWeiss});
        return zeilen;
    }

    zeilen.push_back({Notenzeile(v), kWeiss});
    if (skala == 1) zeilen.push_back({Punktezeile(v), kWeiss});
    zeilen.push_back({Text(), kWeiss});
    for (auto& z : NotenspiegelAuswertung(v)) zeilen.push_back(z);
    return zeilen;
}

void NotenspiegelZeigen(const TSchulklasse& klasse, int spalte) {
    if (spalte < 1 || spalte >= klasse.Notenanzahl) return;
    const auto zeilen = NotenspiegelZeilen(klasse, spalte, Notenskala);
    std::vector<Text> texte;
    std::vector<RGBFarbe> farben;
    for (const auto& z : zeilen) {
        texte.push_back(z.text);
        farben.push_back(z.farbe);
    }
    auto box = TInfoBox::bauen(u"Notenspiegel", {255, 255, 0}, texte, {kOkSchalter, kDruckenSchalter});
    box->infoRGB = farben;
    const Text antwort = box->verwenden();
    User::flush();
    if (antwort == kDruckenSchalter) NotenspiegelDrucken(klasse, spalte, Notenskala);
}
