// Grade entry on the class screen: a tap on a cell opens the grade menu of the
// active scale centred on the pointer; a grade tile enters that grade in its
// colour and recomputes the row; report columns drop the tendency and leave
// the averages alone; "?" takes any text, trimmed; average cells refuse.
#include "class_edit_fixture.hpp"
#include "classscreen/class_screen_commands.hpp"
#include "gradebook/grade_cells.hpp"
#include "gradebook/grade_scale.hpp"

namespace {
class GradeEntry : public ClassEditTest {
protected:
    // Columns 1 Arbeit, 2 Mündl., 3 Zeugnis, 4-6 the average group; three
    // students whose averages hold a stale mark, so a recomputation shows.
    std::shared_ptr<TSchulklasse> Klasse() {
        auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
        for (const char16_t* typ : {u"Arbeit", u"Mündl.", u"Zeugnis", u"schriftl.", u"sonst.", u"HauptF."})
            Spalte(*k, typ, u"01.10.26");
        Schueler(*k, u"Adler", u"Anna", {u"", u"3", u"", u"alt", u"alt", u"alt"});
        Schueler(*k, u"Berger", u"Ben", {u"1", u"", u"", u"alt", u"alt", u"alt"});
        Schueler(*k, u"Chen", u"Clara", {u"", u"", u"", u"alt", u"alt", u"alt"});
        Notenskala = 0;
        Ruhen(*k);
        return k;
    }
    static Text Zelle(const TSchulklasse& k, int i, int j) { return k.Zelle(i, j).Text.at(0); }
    static std::vector<Text> Zeile(const TSchulklasse& k, int i) {
        std::vector<Text> z;
        for (int j = 1; j < k.Notenanzahl; ++j) z.push_back(Zelle(k, i, j));
        return z;
    }
    static RGBFarbe Farbe(const TSchulklasse& k, int i, int j) { return k.Zelle(i, j).Text_RGB; }
    // Taps cell (i, j) and answers its dialogs with the script.
    int Eintragen(TSchulklasse& k, int i, int j) {
        skript->Starten();
        const int code = Antippen(k, i, j);
        EXPECT_TRUE(skript->Fertig()) << "not every dialog was answered";
        return code;
    }
    // Calls the grade entry directly, the pointer where the tap was.
    int Direkt(TSchulklasse& k, int i, int j, float px, float py) {
        PointerPosX = px;
        PointerPosY = py;
        skript->Starten();
        const int code = Noteneingabe(k, i, j);
        EXPECT_TRUE(skript->Fertig()) << "not every dialog was answered";
        return code;
    }
};

const std::vector<Text> kDurchschnittHinweis{u"Die Einträge der Durchschnittsnoten", u"werden automatisch berechnet und",
                                             u"können nicht geändert werden."};
}  // namespace

TEST_F(GradeEntry, GradeTileEntersTheGradeInItsColourAndRecomputesThatRowOnly) {
    auto k = Klasse();
    Neu().Kachel(Notenmenue[0], 4);  // "2"
    EXPECT_EQ(Eintragen(*k, 1, 1), 0);
    // Centred on the tapped point (278, 168), pushed down into the window.
    EXPECT_EQ(Notenmenue[0]->x, 278 - 98);
    EXPECT_EQ(Notenmenue[0]->y, 0);
    EXPECT_EQ(Zeile(*k, 1), (std::vector<Text>{u"2", u"3", u"", u"2.00", u"3.00", u"2.50"}));
    EXPECT_EQ(Farbe(*k, 1, 1), Notenfarbe(u"2", 0));
    EXPECT_EQ(Zeile(*k, 2), (std::vector<Text>{u"1", u"", u"", u"alt", u"alt", u"alt"}));
    EXPECT_EQ(k->AuftragsZeile, -1);
    Stimmig(*k);

    // "n.f." counts as 6 and is drawn in its own colour.
    Neu().Kachel(Notenmenue[0], 15);
    Eintragen(*k, 2, 2);
    EXPECT_EQ(Zeile(*k, 2), (std::vector<Text>{u"1", u"n.f.", u"", u"1.00", u"6.00", u"3.50"}));
    EXPECT_EQ(Farbe(*k, 2, 2), (RGBFarbe{255, 0, 128}));
}

TEST_F(GradeEntry, MenuOfTheActiveScaleCentredOnThePointerAndKeptInTheWindow) {
    auto k = Klasse();
    struct Fall { int skala; float px, py; int x, y; };
    // The grade menus are 196 x 388.
    const Fall faelle[] = {{0, 960, 540, 862, 346}, {0, 10, 10, 0, 0}, {0, 1915, 1075, 1920 - 196, 1080 - 388},
                           {1, 961.7f, 541.9f, 863, 347}, {1, 100, 1000, 2, 1080 - 388}};
    for (const Fall& f : faelle) {
        SCOPED_TRACE(testing::Message() << f.px << "," << f.py);
        Notenskala = f.skala;
        const auto& menue = Notenmenue[f.skala];
        Neu().Daneben(menue);
        EXPECT_EQ(Direkt(*k, 3, 1, f.px, f.py), kOhneAuswahl);  // closed: nothing chosen
        EXPECT_EQ(menue->x, f.x);
        EXPECT_EQ(menue->y, f.y);
        EXPECT_EQ(menue->x2, int(f.px));  // grows from the pointer
        EXPECT_EQ(menue->y2, int(f.py));
        EXPECT_EQ(Zelle(*k, 3, 1), u"");
    }
}

TEST_F(GradeEntry, PointsScaleEntersPoints) {
    auto k = Klasse();
    Notenskala = 1;
    Neu().Kachel(Notenmenue[1], 2);  // "13"
    Eintragen(*k, 3, 1);
    EXPECT_EQ(Zeile(*k, 3), (std::vector<Text>{u"13", u"", u"", u"13.0", u"", u"13.0"}));
    EXPECT_EQ(Farbe(*k, 3, 1), Notenfarbe(u"13", 1));
}

TEST_F(GradeEntry, ReportGradesDropTheTendencyOnTheGradesScaleOnly) {
    struct Fall { const char16_t* gewaehlt; int skala; const char16_t* gespeichert; };
    const Fall faelle[] = {{u"3-", 0, u"3"}, {u"1+", 0, u"1"}, {u"6", 0, u"6"}, {u"n.f.", 0, u"n.f."},
                           {u"13", 1, u"13"}, {u"0", 1, u"0"}, {u"n.f.", 1, u"n.f."}};
    for (const Fall& f : faelle) EXPECT_EQ(Zeugnisnote(f.gewaehlt, f.skala), f.gespeichert) << f.skala;

    auto k = Klasse();
    // Through the menu: "4-" is stored as "4" but keeps the orange of "4-";
    // the averages are not recomputed.
    Neu().Kachel(Notenmenue[0], 11);
    Eintragen(*k, 1, 3);
    EXPECT_EQ(Zeile(*k, 1), (std::vector<Text>{u"", u"3", u"4", u"alt", u"alt", u"alt"}));
    EXPECT_EQ(Farbe(*k, 1, 3), (RGBFarbe{255, 128, 0}));
    Notenskala = 1;
    Neu().Kachel(Notenmenue[1], 15);  // "n.f."
    Eintragen(*k, 2, 3);
    EXPECT_EQ(Zelle(*k, 2, 3), u"n.f.");
    EXPECT_EQ(Zelle(*k, 2, 4), u"alt");
}

TEST_F(GradeEntry, QuestionTileKeepsTheTypedTextTrimmedAndRecomputes) {
    auto k = Klasse();
    // The cell's "3" is selected and replaced by what is typed.
    Neu().Kachel(Notenmenue[0], 17).Tippen(u"  2- ");
    Eintragen(*k, 1, 2);
    EXPECT_EQ(Zeile(*k, 1), (std::vector<Text>{u"", u"2-", u"", u"", u"2.25", u"2.25"}));
    EXPECT_EQ(Farbe(*k, 1, 2), Notenfarbe(u"2-", 0));
    // Any text is kept, even one that is no grade: it counts for nothing.
    Neu().Kachel(Notenmenue[0], 17).Tippen(u"fehlt (krank)");
    Eintragen(*k, 1, 2);
    EXPECT_EQ(Zeile(*k, 1), (std::vector<Text>{u"", u"fehlt (krank)", u"", u"", u"", u""}));
    EXPECT_EQ(Farbe(*k, 1, 2), (RGBFarbe{255, 255, 255}));
    // A cancelled entry changes nothing.
    Neu().Kachel(Notenmenue[0], 17).Abbrechen();
    Eintragen(*k, 1, 2);
    EXPECT_EQ(Zelle(*k, 1, 2), u"fehlt (krank)");
    // Characters the keyboard cannot deliver are trimmed all the same.
    FreieNoteEintragen(*k, 2, 2, u"\t 3 \r\n");
    EXPECT_EQ(Zeile(*k, 2), (std::vector<Text>{u"1", u"3", u"", u"1.00", u"3.00", u"2.00"}));
    Stimmig(*k);
}

TEST_F(GradeEntry, AverageCellsRefuseWithANoteAndNoMenu) {
    auto k = Klasse();
    const auto vorher = Inhalt(*k);
    for (int j : {4, 5, 6}) {
        SCOPED_TRACE(j);
        Notenmenue[0]->x = -1;
        Neu().Box(u"Info", {255, 255, 0}, kDurchschnittHinweis, {kOkSchalter}, 0);
        EXPECT_EQ(Eintragen(*k, 2, j), 0);
        EXPECT_GT(skript->GelbeBilder(), 0) << "no yellow box";
        EXPECT_EQ(Notenmenue[0]->x, -1) << "the grade menu opened";
    }
    EXPECT_EQ(Inhalt(*k), vorher);
}

TEST_F(GradeEntry, ClosedMenuChangesNothingAndLeavesTheTapToTheScreen) {
    auto k = Klasse();
    const auto vorher = Inhalt(*k);
    Neu().Daneben(Notenmenue[0]);
    EXPECT_EQ(Direkt(*k, 1, 1, 500, 500), kOhneAuswahl);
    EXPECT_EQ(Inhalt(*k), vorher);
}
