// "Klassenliste drucken" and "Leere Liste drucken": the grid of the class
// screen on A4 landscape. The name column and the header row (type and date
// of every column) repeat on every page; a grid too wide or too long for one
// page goes on over further pages, all rows of the first columns first. The
// cells keep the colours of their grades, lightened so that the black text
// stays readable from a black-and-white printer; averages carry the decimal
// comma. The empty list, for notes in class, has the names and as many empty
// columns with empty heads as fit across the page, its rows as high as the
// page allows.
#include <algorithm>

#include "classscreen/reports.hpp"
#include "gradebook/lesson_files.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/report_rules.hpp"
#include "gradebook/student_rows.hpp"
#include "platform/conversions.hpp"

using namespace ausdruck;

namespace {
constexpr double kBreite = kA4Hoehe, kHoehe = kA4Breite;  // landscape
constexpr double kRand = 28;
constexpr double kTabelleOben = 62, kKopfHoehe = 30, kZeile = 13;
constexpr double kNamenBreite = 150, kZelle = 34;
constexpr double kFussRaum = 22;
constexpr int kSpaltenJeSeite = static_cast<int>((kBreite - 2 * kRand - kNamenBreite) / kZelle);
constexpr int kZeilenJeSeite = static_cast<int>((kHoehe - kRand - kFussRaum - kTabelleOben - kKopfHoehe) / kZeile);
static_assert(kSpaltenJeSeite == 18 && kZeilenJeSeite == 34, "the page holds 18 columns and 34 students");

RGBFarbe Hell(const RGBFarbe& f) { return Aufgehellt(f); }
Druckfarbe Druck(const RGBFarbe& f) { return {f[0], f[1], f[2]}; }

void Mittig(PdfDokument& d, const ::Text& text, double x, double breite, double grundlinie, double groesse) {
    const ::Text t = Gekuerzt(d, text, groesse, breite - 3);
    d.Schrift(t, x + (breite - d.Textbreite(t, groesse)) / 2, grundlinie, groesse, kSchwarz);
}

// After the grade columns, when attendance was taken: "Fehlst." (missed
// lessons, excused or not) and "unent." (unexcused) over the school year.
// They count as two more columns of the page layout.
constexpr int kFehlzeitenspalten = 2;
int Fehlzeitenspalten(const TSchulklasse& k) {
    return FehlzeitenFuerBerichte(k).Eintraege.empty() ? 0 : kFehlzeitenspalten;
}
void FehlzeitenKopf(PdfDokument& d, int welche, double x, double y) {
    d.Flaeche(x, y, kZelle, kKopfHoehe, kKopfgrund);
    d.Rahmen(x, y, kZelle, kKopfHoehe, 0.5, kLinie);
    Mittig(d, welche == 0 ? ::Text(u"Fehlst.") : ::Text(u"unent."), x, kZelle, y + 19, 7);
}
void FehlzeitenZelle(PdfDokument& d, const TFehlzeiten& f, const Schuelername& n, int welche, double x, double y) {
    d.Rahmen(x, y, kZelle, kZeile, 0.5, kLinie);
    const Fehlzeitenzahlen z = ZahlenImJahr(f, n);
    Mittig(d, TextFromInt(welche == 0 ? z.fehlstunden : z.unentschuldigt), x, kZelle, y + 9.5, 8);
}

// Rows of the empty list: taller than the filled one's, for handwriting,
// when the class leaves room on the page.
constexpr double kLeereZeileHoechstens = 22;
double LeereZeilenhoehe(int schueler) {
    const double frei = kHoehe - kRand - kFussRaum - kTabelleOben - kKopfHoehe;
    return std::clamp(frei / std::max(1, std::min(schueler, kZeilenJeSeite)), kZeile, kLeereZeileHoechstens);
}

void Kopf(PdfDokument& d, const TSchulklasse& k, bool leer) {
    d.Schrift((leer ? u"Liste " : u"Klassenliste ") + k.Titel[0] + u" " + k.Titel[1], kRand, 46, 16, kSchwarz);
    ::Text schule, zeit;
    for (const auto& [was, wert] : Kopfangaben(k)) {
        if (was == u"Schule" || was == u"Lehrkraft") schule += (schule.empty() ? u"" : u", ") + wert;
        if (was == u"Schuljahr") zeit = u"Schuljahr " + wert;
        if (was == u"Datum") zeit += u", gedruckt am " + wert;
    }
    d.Schrift(schule, kBreite - kRand - d.Textbreite(schule, 9), 34, 9, kGrau);
    d.Schrift(zeit, kBreite - kRand - d.Textbreite(zeit, 9), 46, 9, kGrau);
}

void Seitenzahl(PdfDokument& d, int nummer, int seiten) {
    const ::Text seite = u"Seite " + TextFromInt(nummer) + u" von " + TextFromInt(seiten);
    d.Schrift(seite, kBreite - kRand - d.Textbreite(seite, 9), kHoehe - kRand + 8, 9, kGrau);
}

void Namenszelle(PdfDokument& d, const TSchulklasse& k, int i, double y, double hoehe, bool streifen) {
    const Schuelername n = NameInZeile(k, i);
    d.Flaeche(kRand, y, kNamenBreite, hoehe, streifen ? Druckfarbe{238, 238, 238} : Druckfarbe{248, 248, 248});
    d.Rahmen(kRand, y, kNamenBreite, hoehe, 0.5, kLinie);
    const ::Text name = n.vornamen.empty() ? n.nachname : n.nachname + u", " + n.vornamen;
    d.Schrift(Gekuerzt(d, name, 8.5, kNamenBreite - 8), kRand + 4, y + hoehe / 2 + 3, 8.5, kSchwarz);
}

// A page of the empty list: the rows of `erste`..`letzte`, every column empty.
void LeereSeite(PdfDokument& d, const TSchulklasse& k, int erste, int letzte, int nummer, int seiten) {
    Kopf(d, k, true);
    const double hoehe = LeereZeilenhoehe(k.Schueleranzahl - 1);
    double y = kTabelleOben;
    d.Flaeche(kRand, y, kNamenBreite, kKopfHoehe, kKopfgrund);
    d.Rahmen(kRand, y, kNamenBreite, kKopfHoehe, 0.5, kLinie);
    d.Schrift(u"Name", kRand + 4, y + 19, 9, kSchwarz);
    for (int j = 0; j < kSpaltenJeSeite; ++j) d.Rahmen(kRand + kNamenBreite + j * kZelle, y, kZelle, kKopfHoehe, 0.5, kLinie);
    y += kKopfHoehe;
    for (int i = erste; i <= letzte; ++i, y += hoehe) {
        Namenszelle(d, k, i, y, hoehe, (i - erste) % 2 == 1);
        for (int j = 0; j < kSpaltenJeSeite; ++j) d.Rahmen(kRand + kNamenBreite + j * kZelle, y, kZelle, hoehe, 0.5, kLinie);
    }
    Seitenzahl(d, nummer, seiten);
}

void Seite(PdfDokument& d, const TSchulklasse& k, const Seitenausschnitt& s, int nummer, int seiten) {
    const TFehlzeiten fehlzeiten = FehlzeitenFuerBerichte(k);
    Kopf(d, k, false);

    // Header row: the corner, then type and date of each column.
    double y = kTabelleOben;
    d.Flaeche(kRand, y, kNamenBreite, kKopfHoehe, kKopfgrund);
    d.Rahmen(kRand, y, kNamenBreite, kKopfHoehe, 0.5, kLinie);
    d.Schrift(u"Name", kRand + 4, y + 19, 9, kSchwarz);
    double x = kRand + kNamenBreite;
    for (int j = s.ersteSpalte; j <= s.letzteSpalte; ++j, x += kZelle) {
        if (j >= k.Notenanzahl) {
            FehlzeitenKopf(d, j - k.Notenanzahl, x, y);
            continue;
        }
        const TKachel& kopf = k.Zelle(0, j);
        const ::Text typ = kopf.Text.empty() ? ::Text() : kopf.Text[0];
        const bool schnitt = IstDurchschnittstyp(typ);
        d.Flaeche(x, y, kZelle, kKopfHoehe, Druck(Hell(kopf.RGB)));
        d.Rahmen(x, y, kZelle, kKopfHoehe, 0.5, kLinie);
        Mittig(d, typ, x, kZelle, y + 12, 7);
        Mittig(d, schnitt ? ::Text(u"Ø") : kopf.Text.size() >= 3 ? kopf.Text[2] : ::Text(), x, kZelle, y + 24, 6.5);
    }

    // One row per student: the name, then the cells.
    y += kKopfHoehe;
    for (int i = s.ersteZeile; i <= s.letzteZeile; ++i, y += kZeile) {
        Namenszelle(d, k, i, y, kZeile, (i - s.ersteZeile) % 2 == 1);
        x = kRand + kNamenBreite;
        for (int j = s.ersteSpalte; j <= s.letzteSpalte; ++j, x += kZelle) {
            if (j >= k.Notenanzahl) {
                FehlzeitenZelle(d, fehlzeiten, NameInZeile(k, i), j - k.Notenanzahl, x, y);
                continue;
            }
            const TKachel& zelle = k.Zelle(i, j);
            const ::Text text = zelle.Text.empty() ? ::Text() : MitDezimalkomma(zelle.Text[0]);
            if (!text.empty()) d.Flaeche(x, y, kZelle, kZeile, Druck(Hell(zelle.Text_RGB)));
            d.Rahmen(x, y, kZelle, kZeile, 0.5, kLinie);
            if (!text.empty()) Mittig(d, text, x, kZelle, y + 9.5, 8);
        }
    }
    Seitenzahl(d, nummer, seiten);
}
}  // namespace

std::vector<Seitenausschnitt> KlassenlistenSeiten(const TSchulklasse& klasse) {
    return Seitenaufteilung(klasse.Schueleranzahl - 1, klasse.Notenanzahl - 1 + Fehlzeitenspalten(klasse),
                            kZeilenJeSeite, kSpaltenJeSeite);
}

::Text KlassenlisteSchreiben(const TSchulklasse& klasse, bool leer) {
    PdfDokument d(kBreite, kHoehe);
    if (!d.Ok()) return u"";
    if (leer) {
        const auto seiten = Seitenaufteilung(klasse.Schueleranzahl - 1, 0, kZeilenJeSeite, kSpaltenJeSeite);
        for (size_t n = 0; n < seiten.size(); ++n) {
            if (n > 0) d.NeueSeite(kBreite, kHoehe);
            LeereSeite(d, klasse, seiten[n].ersteZeile, seiten[n].letzteZeile, static_cast<int>(n + 1),
                       static_cast<int>(seiten.size()));
        }
        return Ablegen(d, Dateipfad(klasse, u"Leere Liste"));
    }
    const auto seiten = KlassenlistenSeiten(klasse);
    for (size_t n = 0; n < seiten.size(); ++n) {
        if (n > 0) d.NeueSeite(kBreite, kHoehe);
        Seite(d, klasse, seiten[n], static_cast<int>(n + 1), static_cast<int>(seiten.size()));
    }
    return Ablegen(d, Dateipfad(klasse, leer ? u"Leere Liste" : u"Klassenliste"));
}
