// "Schülerbogen": one student's sheet for parents' evenings and report
// conferences, A4 portrait. Head with portrait, name, school, teacher, class,
// subject, school year and date; one table per half-year with every grade
// column's type, date and this student's entry, the half-year's averages
// (decimal comma) and report grades; then forgotten homework, and only on the
// complete sheet telephone and notes; at the bottom the line to sign. Only
// this one row of the gradebook is read, so nothing of another student can
// reach the paper.
#include <algorithm>

#include "classscreen/reports.hpp"
#include "classscreen/seating_plan_screen.hpp"
#include "gradebook/dates.hpp"
#include "platform/datetime.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook/portrait_files.hpp"
#include "gradebook/report_rules.hpp"
#include "gradebook/student_rows.hpp"
#include "platform/conversions.hpp"
#include "platform/files.hpp"

using namespace ausdruck;

namespace {
constexpr double kRand = 50, kBreite = kA4Breite, kHoehe = kA4Hoehe;
constexpr double kUnten = kHoehe - 50;
constexpr double kZeile = 16, kSchrift = 10;
// Table columns: type, date, entry.
constexpr double kArtBreite = 190, kDatumBreite = 110, kNoteBreite = 80;
const ::Text kLeer = u"–";

::Text Zelltext(const TSchulklasse& k, int i, int j) {
    const TKachel& t = k.Zelle(i, j);
    return t.Text.empty() ? ::Text() : t.Text[0];
}
::Text Typ(const TSchulklasse& k, int j) { return Zelltext(k, 0, j); }
::Text Datum(const TSchulklasse& k, int j) {
    const TKachel& t = k.Zelle(0, j);
    return t.Text.size() >= 3 ? t.Text[2] : ::Text();
}

class Bogen {
public:
    Bogen(const TSchulklasse& k, int zeile) : k_(k), zeile_(zeile), d_(kBreite, kHoehe) {
        const Schuelername n = NameInZeile(k, zeile);
        name_ = n.vornamen.empty() ? n.nachname : n.vornamen + u" " + n.nachname;
    }

    PdfDokument& Dokument() { return d_; }

    void Kopf() {
        d_.Schrift(u"Schülerbogen", kRand, 70, 20, kSchwarz);
        d_.Schrift(name_, kRand, 98, 16, kSchwarz);
        double y = 120;
        for (const auto& z : Kopfangaben(k_)) {
            d_.Schrift(z[0] + u":", kRand, y, kSchrift, kGrau);
            // Left of the portrait's box.
            d_.Schrift(Gekuerzt(d_, z[1], kSchrift, kBreite - 2 * kRand - 75 - 110), kRand + 75, y, kSchrift, kSchwarz);
            y += 14;
        }
        Portrait();
        y_ = std::max(190.0, y + 6);
    }

    void Halbjahr(const ::Text& titel, const Halbjahresabschnitt& h) {
        Platz(kZeile * 3 + 22);
        d_.Schrift(titel, kRand, y_ + 14, 13, kSchwarz);
        y_ += 22;
        titel_ = titel;
        Tabellenkopf();
        std::vector<int> zeugnisse;
        bool noten = false;
        for (int j = h.erste; j <= h.letzte; ++j) {
            const ::Text typ = Typ(k_, j);
            if (KategorieVonTyp(typ) == Typkategorie::Zeugnis) {
                zeugnisse.push_back(j);
                continue;
            }
            if (KategorieVonTyp(typ) == Typkategorie::Durchschnitt) continue;
            Zeile(typ.empty() ? ::Text(u"(ohne Namen)") : typ, Datum(k_, j), j);
            noten = true;
        }
        if (!noten) Zeile(u"Keine Noten", u"", 0);
        if (h.gruppe >= 3) {
            const bool haupt = Typ(k_, h.gruppe) == u"HauptF.";
            Zeile(u"Durchschnitt schriftlich", u"", h.gruppe - 2);
            Zeile(u"Durchschnitt sonstige", u"", h.gruppe - 1);
            Zeile(haupt ? u"Gesamt (Hauptfach)" : u"Gesamt (Nebenfach)", u"", h.gruppe);
        }
        for (int j : zeugnisse) Zeile(u"Zeugnisnote", Datum(k_, j), j);
        titel_.clear();
        y_ += 14;
    }

    // Missed lessons, the unexcused ones and late arrivals, per half-year.
    void Fehlzeitenblock() {
        const TFehlzeiten f = FehlzeitenFuerBerichte(k_);
        const Schuelername n = NameInZeile(k_, zeile_);
        const auto z = ZahlenProHalbjahr(f, n, Halbjahresgrenze(k_, DatumVerschieben(CurrentDateText(), 0)));
        Platz(22 + 2 * kZeile);
        d_.Schrift(u"Fehlzeiten", kRand, y_ + 14, 13, kSchwarz);
        y_ += 22;
        for (int h = 0; h < 2; ++h) {
            d_.Schrift(FehlzeitenZeile(z[size_t(h)], h), kRand, y_ + 11, kSchrift, kSchwarz);
            y_ += 14;
        }
        y_ += 8;
    }

    // Forgotten homework on every sheet; telephone and notes, the teacher's
    // own, only on the complete one.
    void Angaben(Bogenumfang umfang) {
        const bool alles = umfang == Bogenumfang::Vollstaendig;
        const ::Text ha = k_.VergesseneHA[zeile_] == kPlatzhalterVergesseneHA
                              ? ::Text()
                              : HausaufgabenOhneWiederholung(k_.VergesseneHA[zeile_]);
        const ::Text eintraege[][3] = {{u"Vergessene Hausaufgaben", ha, u""},
                                       {u"Telefon", alles ? k_.Telefonnummer[zeile_] : u"", kPlatzhalterTelefon},
                                       {u"Notizen", alles ? k_.Notizen[zeile_] : u"", kPlatzhalterNotizen}};
        bool titel = false;
        for (const auto& e : eintraege) {
            if (e[1] == e[2] || e[1].empty()) continue;
            if (!titel) {
                Platz(22 + kZeile);
                d_.Schrift(u"Weitere Angaben", kRand, y_ + 14, 13, kSchwarz);
                y_ += 22;
                titel = true;
            }
            const double einzug = 140;
            const auto zeilen = Umbrochen(d_, e[1], kSchrift, kBreite - 2 * kRand - einzug);
            Platz(kZeile);
            d_.Schrift(e[0] + u":", kRand, y_ + 11, kSchrift, kGrau);
            for (const ::Text& z : zeilen) {
                Platz(kZeile);
                d_.Schrift(z, kRand + einzug, y_ + 11, kSchrift, kSchwarz);
                y_ += 14;
            }
            y_ += 4;
        }
    }

    // The teacher signs at the bottom of the last page.
    void Unterschrift() {
        Platz(60);
        y_ = std::max(y_ + 40, kUnten - 20);
        Unterschriftszeile(d_, kRand, y_, 230, kUnterschriftLehrkraft);
    }

private:
    void Portrait() {
        const ::Text pfad = PortraitDerZeile(k_, zeile_);
        if (pfad.empty() || PathKind(pfad) != 1) return;
        const TPixmap bild = LoadPixmapFrom(pfad, 300);
        if (!bild || bild->width <= 0 || bild->height <= 0) return;
        // Into a box of 100 x 125 at the top right, keeping the aspect.
        const double s = std::min(100.0 / bild->width, 125.0 / bild->height);
        const double w = bild->width * s, h = bild->height * s;
        d_.Bild(bild, kBreite - kRand - w, 50, w, h);
    }

    // A new page when `hoehe` does not fit below; it repeats who the sheet
    // is for, and the table head when a table goes on.
    void Platz(double hoehe) {
        if (y_ + hoehe <= kUnten) return;
        d_.NeueSeite(kBreite, kHoehe);
        d_.Schrift(name_ + u", " + k_.Titel[0] + u" " + k_.Titel[1] + u" (Fortsetzung)", kRand, 60, kSchrift, kGrau);
        y_ = 76;
        if (!titel_.empty()) {
            d_.Schrift(titel_, kRand, y_ + 14, 13, kSchwarz);
            y_ += 22;
            Tabellenkopf();
        }
    }

    void Zellen(double y, const ::Text& a, const ::Text& b, const ::Text& c, const Druckfarbe& grund,
                const Druckfarbe& notengrund) {
        double x = kRand;
        const double breiten[] = {kArtBreite, kDatumBreite, kNoteBreite};
        const ::Text* texte[] = {&a, &b, &c};
        for (int i = 0; i < 3; ++i) {
            d_.Flaeche(x, y, breiten[i], kZeile, i == 2 ? notengrund : grund);
            d_.Rahmen(x, y, breiten[i], kZeile, 0.5, kLinie);
            const ::Text t = Gekuerzt(d_, *texte[i], kSchrift, breiten[i] - 8);
            const double tx = i == 2 ? x + (breiten[i] - d_.Textbreite(t, kSchrift)) / 2 : x + 4;
            d_.Schrift(t, tx, y + 11.5, kSchrift, kSchwarz);
            x += breiten[i];
        }
    }

    void Tabellenkopf() {
        Zellen(y_, u"Art", u"Datum", u"Note", kKopfgrund, kKopfgrund);
        y_ += kZeile;
    }

    // A table row; `j` > 0 names the student's cell, whose colour on the
    // class screen tints the entry, lightened for the printer.
    void Zeile(const ::Text& art, const ::Text& datum, int j) {
        Platz(kZeile);
        const ::Text eintrag = j > 0 ? MitDezimalkomma(Zelltext(k_, zeile_, j)) : ::Text();
        const RGBFarbe hell = Aufgehellt(j > 0 && !eintrag.empty() ? k_.Zelle(zeile_, j).Text_RGB : RGBFarbe{255, 255, 255});
        Zellen(y_, art, datum, j > 0 && eintrag.empty() ? kLeer : eintrag, {255, 255, 255}, {hell[0], hell[1], hell[2]});
        y_ += kZeile;
    }

private:
    const TSchulklasse& k_;
    const int zeile_;
    PdfDokument d_;
    ::Text name_, titel_;
    double y_ = 0;
};
}  // namespace

::Text SchuelerbogenSchreiben(const TSchulklasse& klasse, int zeile, Bogenumfang umfang) {
    if (zeile < 1 || zeile >= klasse.Schueleranzahl) return u"";
    Bogen b(klasse, zeile);
    if (!b.Dokument().Ok()) return u"";
    b.Kopf();
    std::vector<::Text> typen;
    for (int j = 0; j < klasse.Notenanzahl; ++j) typen.push_back(j == 0 ? ::Text() : Typ(klasse, j));
    const auto teile = Halbjahresabschnitte(typen);
    int halbjahr = 0;
    const bool gruppen = std::any_of(teile.begin(), teile.end(), [](const auto& h) { return h.gruppe > 0; });
    for (const auto& h : teile) {
        ++halbjahr;
        ::Text titel = !gruppen ? ::Text(u"Noten") : halbjahr <= 2 ? TextFromInt(halbjahr) + u". Halbjahr"
                                                                    : ::Text(u"Weitere Noten");
        b.Halbjahr(titel, h);
    }
    b.Fehlzeitenblock();
    b.Angaben(umfang);
    b.Unterschrift();
    const Schuelername n = NameInZeile(klasse, zeile);
    return Ablegen(b.Dokument(), Dateipfad(klasse, u"Schülerbogen " + n.nachname + (n.vornamen.empty() ? u"" : u" ") +
                                                       n.vornamen));
}
