// The Notenspiegel of one column on A5 portrait, for the class and for the
// head of school: the head (school, teacher, class, subject, school year,
// date), the column's type and date, the count per grade as a table and as
// bars (on the points scale also per point value), then the lines of the box
// with "Benotet: x von y", the average with a decimal comma, "5 und 6: k von n
// (p %)" and the one-third line when it applies; who has no grade, and the
// lines to sign: the teacher's always, the head of school's when more than a
// third are 5 and 6.
#include <algorithm>

#include "classscreen/notenspiegel.hpp"
#include "classscreen/reports.hpp"
#include "gradebook/grade_scale.hpp"
#include "gradebook/report_rules.hpp"
#include "gradebook/student_rows.hpp"
#include "platform/conversions.hpp"

using namespace ausdruck;

namespace {
constexpr double kBreite = kA5Breite, kHoehe = kA5Hoehe, kRand = 36;
constexpr double kInnen = kBreite - 2 * kRand;

Druckfarbe Druck(const RGBFarbe& f) { return {f[0], f[1], f[2]}; }

// A table of two rows: the heads (grades or points) over their counts.
double Zaehltabelle(PdfDokument& d, double y, const ::Text& kopf, const std::vector<::Text>& werte,
                    const std::vector<int>& anzahl) {
    constexpr double kErste = 56, kHoch = 18;
    const double breite = (kInnen - kErste) / static_cast<double>(werte.size());
    const double groesse = werte.size() > 8 ? 8 : 10;
    d.Flaeche(kRand, y, kErste, kHoch, kKopfgrund);
    d.Rahmen(kRand, y, kErste, kHoch, 0.5, kLinie);
    d.Rahmen(kRand, y + kHoch, kErste, kHoch, 0.5, kLinie);
    // Row by row, so that the page reads (and copies) as a table.
    for (int reihe = 0; reihe < 2; ++reihe)
        for (size_t i = 0; i < werte.size(); ++i) {
            const double x = kRand + kErste + breite * static_cast<double>(i), oben = y + reihe * kHoch;
            if (reihe == 0) d.Flaeche(x, oben, breite, kHoch, kKopfgrund);
            d.Rahmen(x, oben, breite, kHoch, 0.5, kLinie);
            if (i == 0) d.Schrift(reihe == 0 ? kopf : ::Text(u"Anzahl"), kRand + 4, oben + 12.5, 9, kSchwarz);
            const ::Text t = reihe == 0 ? werte[i] : TextFromInt(anzahl[i]);
            d.Schrift(t, x + (breite - d.Textbreite(t, groesse)) / 2, oben + 12.5, groesse, kSchwarz);
        }
    return y + 2 * kHoch + 16;
}

// Bars of the six grades, the highest count reaching the full height; each
// in its grade's colour, lightened, with a black outline.
double Balken(PdfDokument& d, double y, const Notenverteilung& v) {
    constexpr double kHoch = 130;
    const int hoechste = std::max(1, *std::max_element(v.Noten.begin(), v.Noten.end()));
    const double feld = kInnen / 6, breite = feld * 0.55;
    const double grund = y + kHoch + 14;
    for (int note = 1; note <= 6; ++note) {
        const int n = v.Noten[static_cast<size_t>(note - 1)];
        const double x = kRand + feld * (note - 1) + (feld - breite) / 2;
        const double h = kHoch * n / hoechste;
        if (n > 0) {
            d.Flaeche(x, grund - h, breite, h, Druck(Aufgehellt(Notenfarbe(TextFromInt(note), 0))));
            d.Rahmen(x, grund - h, breite, h, 0.6, kSchwarz);
        }
        const ::Text zahl = TextFromInt(n), name = TextFromInt(note);
        d.Schrift(zahl, x + (breite - d.Textbreite(zahl, 9)) / 2, grund - h - 4, 9, kGrau);
        d.Schrift(name, x + (breite - d.Textbreite(name, 11)) / 2, grund + 14, 11, kSchwarz);
    }
    d.Flaeche(kRand, grund, kInnen, 0.8, kSchwarz);
    return grund + 32;
}

// "Müller, Anna (krank)" for every student whose entry in the column is no
// counted grade; an empty cell names the student alone.
std::vector<::Text> OhneNote(const TSchulklasse& klasse, int spalte, int skala) {
    std::vector<::Text> namen;
    for (int i = 1; i < klasse.Schueleranzahl; ++i) {
        const TKachel& z = klasse.Zelle(i, spalte);
        const ::Text eintrag = z.Text.empty() ? ::Text() : z.Text[0];
        if (NotenverteilungBerechnen({eintrag}, skala).Benotet == 1) continue;
        const Schuelername n = NameInZeile(klasse, i);
        ::Text name = n.vornamen.empty() ? n.nachname : n.nachname + u", " + n.vornamen;
        namen.push_back(eintrag.empty() ? name : name + u" (" + eintrag + u")");
    }
    return namen;
}

constexpr double kUnterschriftOben = kHoehe - kRand - 24;
}  // namespace

::Text NotenspiegelSchreiben(const TSchulklasse& klasse, int spalte, int skala) {
    if (spalte < 1 || spalte >= klasse.Notenanzahl) return u"";
    PdfDokument d(kBreite, kHoehe);
    if (!d.Ok()) return u"";
    const ::Text kopf = NotenspiegelKopf(klasse.Zelle(0, spalte));
    d.Schrift(u"Notenspiegel", kRand, 62, 20, kSchwarz);
    ::Text schule, klassenzeile;
    for (const auto& [was, wert] : Kopfangaben(klasse)) {
        if (was == u"Schule" || was == u"Lehrkraft") schule += (schule.empty() ? u"" : u", ") + wert;
        else if (was == u"Schuljahr") klassenzeile += u", Schuljahr " + wert;
        else if (was == u"Datum") klassenzeile += u", " + wert;
        else klassenzeile += (klassenzeile.empty() ? u"" : u" ") + wert;
    }
    d.Schrift(Gekuerzt(d, schule, 9, kInnen), kRand, 80, 9, kGrau);
    d.Schrift(Gekuerzt(d, klassenzeile, 10, kInnen), kRand, 94, 10, kGrau);
    d.Schrift(Gekuerzt(d, kopf, 14, kInnen), kRand, 116, 14, kSchwarz);
    double y = 130;
    // A new page when the next `hoehe` would run into the signatures.
    auto platz = [&](double hoehe) {
        if (y + hoehe <= kUnterschriftOben - 12) return;
        d.NeueSeite(kBreite, kHoehe);
        d.Schrift(u"Notenspiegel " + klasse.Titel[0] + u" " + klasse.Titel[1] + u", " + kopf + u" (Fortsetzung)",
                  kRand, 50, 9, kGrau);
        y = 62;
    };

    const Notenverteilung v = SpaltenVerteilung(klasse, spalte, skala);
    std::vector<NotenspiegelZeile> zeilen;
    if (NotenspiegelMoeglich(klasse, spalte, v)) {
        std::vector<::Text> noten;
        std::vector<int> anzahl;
        for (int n = 1; n <= 6; ++n) {
            noten.push_back(TextFromInt(n));
            anzahl.push_back(v.Noten[static_cast<size_t>(n - 1)]);
        }
        y = Zaehltabelle(d, y, u"Note", noten, anzahl);
        if (skala == 1) {
            std::vector<::Text> punkte;
            std::vector<int> je;
            for (int p = 15; p >= 0; --p) {
                punkte.push_back(TextFromInt(p));
                je.push_back(v.Punkte[static_cast<size_t>(p)]);
            }
            y = Zaehltabelle(d, y, u"Punkte", punkte, je);
        }
        y = Balken(d, y, v);
        zeilen = NotenspiegelAuswertung(v);
        // On paper with the whole class: "Benotet: 25 von 27".
        zeilen.front().text = u"Benotet: " + TextFromInt(v.Benotet) + u" von " + TextFromInt(klasse.Schueleranzahl - 1);
    } else {
        // The box's own explanation why there is nothing to count.
        const auto alle = NotenspiegelZeilen(klasse, spalte, skala);
        zeilen.assign(alle.begin() + 2, alle.end());
    }
    for (const NotenspiegelZeile& z : zeilen) {
        // White on the screen is black on paper; the red line stays red.
        const Druckfarbe farbe = z.farbe == RGBFarbe{255, 255, 255} ? kSchwarz : Druckfarbe{200, 0, 0};
        for (const ::Text& t : Umbrochen(d, z.text, 11, kInnen)) {
            platz(17);
            d.Schrift(t, kRand, y + 12, 11, farbe);
            y += 17;
        }
    }
    const bool gezaehlt = NotenspiegelMoeglich(klasse, spalte, v);
    const auto ohne = gezaehlt ? OhneNote(klasse, spalte, skala) : std::vector<::Text>{};
    if (!ohne.empty()) {
        ::Text liste;
        for (const ::Text& n : ohne) liste += (liste.empty() ? u"" : u"; ") + n;
        y += 4;
        for (const ::Text& t : Umbrochen(d, u"Ohne Note: " + liste, 9, kInnen)) {
            platz(13);
            d.Schrift(t, kRand, y + 10, 9, kSchwarz);
            y += 13;
        }
    }
    // The head of school takes note of a test where more than a third are 5 and 6.
    const bool schulleitung = gezaehlt && MehrAlsEinDrittel(v);
    const double breite = schulleitung ? (kInnen - 20) / 2 : kInnen / 2;
    Unterschriftszeile(d, kRand, kUnterschriftOben, breite, kUnterschriftLehrkraft);
    if (schulleitung) Unterschriftszeile(d, kRand + breite + 20, kUnterschriftOben, breite, kKenntnisnahmeSchulleitung);
    return Ablegen(d, Dateipfad(klasse, u"Notenspiegel " + kopf));
}
