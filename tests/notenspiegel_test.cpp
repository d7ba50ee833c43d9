// The Notenspiegel box of a column: its lines on both scales, for empty and
// average columns, the red one-third line, and that closing it by button or
// Escape changes nothing in the gradebook.
#include "classscreen/notenspiegel.hpp"
#include "gradebook_fixture.hpp"
#include "platform/platform_context.hpp"

namespace {
class Notenspiegel : public GradebookTest {
protected:
    // 7a: grade scale. Columns: 1 Arbeit (dated), 2 Zeugnis, 3 Mündl. (empty but for n.f.), 4 schriftl.
    std::shared_ptr<TSchulklasse> Unterstufe() {
        auto k = TSchulklasse::bauen({u"7a", u"Mathematik"}, 0);
        Spalte(*k, u"Arbeit", u"14.03.25");
        Spalte(*k, u"Zeugnis", u"");
        Spalte(*k, u"Mündl.", u"02.04.25");
        Spalte(*k, u"schriftl.");
        Schueler(*k, u"Adler", u"Anna", {u"1-", u"2", u"n.f."});
        Schueler(*k, u"Becker", u"Ben", {u"2-3", u"3", u""});
        Schueler(*k, u"Cem", u"Can", {u"5+", u"5", u"?"});
        Schueler(*k, u"Dorn", u"Dana", {u"6", u"6", u""});
        Schueler(*k, u"Engel", u"Emil", {u"n.f.", u"", u""});
        Schueler(*k, u"Fuchs", u"Fritz", {u"krank", u"2", u""});
        return k;
    }
    // The number of vertices drawn in the last frame in opaque red.
    int RoteEcken() const {
        int n = 0;
        for (const DrawVertex& v : backend->LastFrame().vertices) n += v.rgba == 0xFF0000FFu;
        return n;
    }
    static std::vector<Text> Texte(const std::vector<NotenspiegelZeile>& zeilen) {
        std::vector<Text> t;
        for (const auto& z : zeilen) t.push_back(z.text);
        return t;
    }
};

const RGBFarbe kRot{255, 0, 0};
const RGBFarbe kWeiss{255, 255, 255};

TEST_F(Notenspiegel, GradeAndReportColumnsOnTheGradeScale) {
    auto k = Unterstufe();
    const auto arbeit = NotenspiegelZeilen(*k, 1, 0);
    // Counted: 1-, 2-3, 5+, 6 = (1.25 + 2.5 + 4.75 + 6) / 4 = 3.625; n.f. and "krank" apart.
    EXPECT_EQ(Texte(arbeit), (std::vector<Text>{u"Arbeit vom 14.03.25", u"",
                                                u"1: 1   2: 1   3: 0   4: 0   5: 1   6: 1", u"",
                                                u"Benotet: 4 Schüler", u"Nicht mitgezählt: n.f. 1   andere Einträge 1",
                                                u"Durchschnitt: 3,63", u"5 und 6: 2 von 4 (50 %)",
                                                u"mehr als ein Drittel"}));
    EXPECT_EQ(arbeit.back().farbe, kRot);
    for (size_t i = 0; i + 1 < arbeit.size(); ++i) EXPECT_EQ(arbeit[i].farbe, kWeiss);

    // Report grades 2, 3, 5, 6, 2: 18 / 5; an undated column shows its type alone.
    EXPECT_EQ(Texte(NotenspiegelZeilen(*k, 2, 0)),
              (std::vector<Text>{u"Zeugnis", u"", u"1: 0   2: 2   3: 1   4: 0   5: 1   6: 1", u"",
                                 u"Benotet: 5 Schüler", u"Nicht mitgezählt: n.f. 0   andere Einträge 0",
                                 u"Durchschnitt: 3,60", u"5 und 6: 2 von 5 (40 %)", u"mehr als ein Drittel"}));
}

TEST_F(Notenspiegel, PointsColumnWithEveryPointValueAndExactlyAThird) {
    auto k = TSchulklasse::bauen({u"12", u"Physik"}, 0);
    Spalte(*k, u"Arbeit", u"");
    const Text punkte[] = {u"15", u"11", u"8", u"5", u"3", u"0", u"n.f.", u"1+"};
    for (const Text& p : punkte) Schueler(*k, u"Name" + p, u"Vorname", {p});
    const auto zeilen = NotenspiegelZeilen(*k, 1, 1);
    // 2 of 6 in 5 and 6 is exactly a third: no warning line.
    EXPECT_EQ(Texte(zeilen),
              (std::vector<Text>{u"Arbeit", u"", u"1: 1   2: 1   3: 1   4: 1   5: 1   6: 1",
                                 u"15: 1   14: 0   13: 0   12: 0   11: 1   10: 0   9: 0   8: 1   7: 0   6: 0   5: 1   "
                                 u"4: 0   3: 1   2: 0   1: 0   0: 1",
                                 u"", u"Benotet: 6 Schüler", u"Nicht mitgezählt: n.f. 1   andere Einträge 1",
                                 u"Durchschnitt: 7,00", u"5 und 6: 2 von 6 (33 %)"}));
    for (const auto& z : zeilen) EXPECT_EQ(z.farbe, kWeiss);
}

TEST_F(Notenspiegel, ColumnWithoutGradesAndAverageColumn) {
    auto k = Unterstufe();
    EXPECT_EQ(Texte(NotenspiegelZeilen(*k, 3, 0)),
              (std::vector<Text>{u"Mündl. vom 02.04.25", u"", u"In dieser Spalte steht noch keine Note.",
                                 u"Nicht mitgezählt: n.f. 1   andere Einträge 1"}));
    EXPECT_EQ(Texte(NotenspiegelZeilen(*k, 4, 0)),
              (std::vector<Text>{u"schriftl.", u"", u"Diese Spalte enthält berechnete Durchschnittsnoten.",
                                 u"Der Notenspiegel ist für Noten- und Zeugnisspalten gedacht."}));
}

TEST_F(Notenspiegel, BoxClosesByEscapeOrOkAndChangesNothing) {
    auto k = Unterstufe();
    Notenskala = 0;
    const auto vorher = Inhalt(*k);

    KeyTap(Frame(20), 27);
    NotenspiegelZeigen(*k, 1);
    EXPECT_GT(RoteEcken(), 0);  // the box was up, with its red one-third line

    // The same box as the one shown, to find its button.
    std::vector<Text> texte = Texte(NotenspiegelZeilen(*k, 3, 0));
    auto gleich = TInfoBox::bauen(u"Notenspiegel", {255, 255, 0}, texte, {kOkSchalter, kDruckenSchalter});
    const TKachel& ok = *gleich->Schalter[0];
    Press(Frame(20), ok.x + ok.Breite / 2.0f, ok.y + ok.Tiefe / 2.0f);
    Release(Frame(22), ok.x + ok.Breite / 2.0f, ok.y + ok.Tiefe / 2.0f);
    const long long start = backend->Flips();
    NotenspiegelZeigen(*k, 3);
    EXPECT_GE(backend->Flips(), start + 22);  // closed by the button, not before
    EXPECT_LT(backend->Flips(), start + 200);
    EXPECT_EQ(RoteEcken(), 0);  // no grades, no warning

    const long long vorUngueltig = backend->Flips();
    NotenspiegelZeigen(*k, 0);
    NotenspiegelZeigen(*k, k->Notenanzahl);
    EXPECT_EQ(backend->Flips(), vorUngueltig);  // no column there: no box
    EXPECT_EQ(Inhalt(*k), vorher);
}
}  // namespace
