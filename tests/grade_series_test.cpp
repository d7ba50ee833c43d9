// Grades typed on the grade menus and the series down a column: the search
// text and its highlight on both scales, the arrow keys at the menu's edges,
// Enter choosing as a tap would or opening "?" with the typed text; the
// series from the first empty cell with skips, the end after the last
// student and Escape, each cell entered as grade entry enters it.
#include <filesystem>

#include "class_edit_fixture.hpp"
#include "classscreen/class_screen_commands.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/grade_cells.hpp"
#include "gradebook/grade_scale.hpp"
#include "platform/input.hpp"

namespace {
class GradeSeries : public ClassEditTest {
protected:
    // Columns 1 Arbeit, 2 Mündl., 3-5 the average group; five students, the
    // Arbeit of the first and the third already graded.
    std::shared_ptr<TSchulklasse> Fuenf() {
        auto k = Klasse({u"Arbeit", u"Mündl.", u"schriftl.", u"sonst.", u"HauptF."},
                        {{u"Adler", {u"2", u"3", u"", u"", u""}},
                         {u"Berger", {u"", u"1", u"", u"", u""}},
                         {u"Chen", {u"4", u"", u"", u"", u""}},
                         {u"Dorn", {u"", u"", u"", u"", u""}},
                         {u"Ernst", {u"", u"5", u"", u"", u""}}});
        k->Durchschnittsnotenberechnung(-1);
        Ruhen(*k);
        std::filesystem::create_directories("Noten/7a");
        return k;
    }
    void Serie(TSchulklasse& k, int spalte) {
        skript->Starten();
        Notenserie(k, spalte);
        EXPECT_TRUE(skript->Fertig()) << "not every step was taken";
    }
    // The grade as grade entry would have entered it, on a copy.
    static std::vector<Text> WieNoteneingabe(const TSchulklasse& vorher, int zeile, const Text& note) {
        auto kopie = KlasseAusBytes(KlassendateiBytes(vorher));
        GewaehlteNoteEintragen(*kopie, zeile, 1, note);
        return Reihe(*kopie, zeile);
    }
    // Where the marked cell is on the screen now.
    static std::pair<float, float> Mitte(const TSchulklasse& k, int i, int j) {
        const TKachel& z = k.Zelle(i, j);
        return {z.x + Offset::ScrollX + 38.0f, z.y + Offset::ScrollY + 38.0f};
    }
};

struct Suchfall {
    int skala;
    const char16_t* getippt;
    const char16_t* markiert;  // the highlighted tile's text, nullptr for none
    const char16_t* suchtext;
};
}  // namespace

TEST_F(GradeSeries, TypedSearchHighlightsTheEqualOrFirstBeginningTile) {
    const Suchfall faelle[] = {
        {0, u"2-", u"2-", u"2-"},      {0, u"1-2", nullptr, u"1-2"}, {0, u"n", u"n.f.", u"n"},
        {0, u"N.F", u"n.f.", u"N.F"},  {0, u"5-\b", u"5", u"5"},     {0, u"7", nullptr, u"7"},
        {0, u"? ", u"", u"?"},         {1, u"12", u"12", u"12"},     {1, u"1", u"1", u"1"},
        {1, u"1\b", nullptr, u""},     {1, u"n", u"n.f.", u"n"},     {1, u"\b\b0", u"0", u"0"},
        {1, u"2-", nullptr, u"2-"},    {0, u"~4", u"4", u"4"},
    };
    for (const Suchfall& f : faelle) {
        SCOPED_TRACE(testing::Message() << f.skala << " \"" << Utf8FromText(f.getippt) << "\"");
        TTextMenu& m = *Notenmenue[f.skala];
        m.einblenden(500, 300, 500, 300, nullptr, kPositionBehalten, kPositionBehalten);
        for (char16_t c : Text(f.getippt)) EXPECT_EQ(m.Tastendruck(c), TMenu::kOffen);
        EXPECT_EQ(m.Suchtext, f.suchtext);
        if (!f.markiert) {
            EXPECT_EQ(m.Markiert, -1);
        } else {
            ASSERT_GE(m.Markiert, 0);
            const auto& t = m.Kachel[static_cast<size_t>(m.Markiert)]->Text;
            EXPECT_EQ(t[0], f.markiert);
        }
    }
    Notenmenue[0]->Status = Notenmenue[1]->Status = 0;
}

TEST_F(GradeSeries, ArrowKeysMoveTheHighlightAndStopAtTheEdges) {
    // 18 tiles in 3 columns and 6 rows; without a highlight any arrow starts at tile 0.
    struct Fall { int von, dx, dy, nach; };
    const Fall faelle[] = {{-1, 1, 0, 0}, {-1, 0, -1, 0}, {0, -1, 0, 0}, {0, 0, -1, 0}, {0, 1, 0, 1},
                           {2, 1, 0, 2}, {2, 0, 1, 5}, {15, 0, 1, 15}, {17, 1, 0, 17}, {17, 0, 1, 17},
                           {16, -1, 0, 15}, {4, 0, -1, 1}, {4, 3, 2, 11}};
    TTextMenu& m = *Notenmenue[0];
    for (const Fall& f : faelle) {
        SCOPED_TRACE(testing::Message() << f.von << " " << f.dx << "," << f.dy);
        m.Markiert = f.von;
        m.Suchtext = u"3";
        m.Pfeil(f.dx, f.dy);
        EXPECT_EQ(m.Markiert, f.nach);
        EXPECT_EQ(m.Suchtext, u"");  // the highlight no longer follows a search
    }
}

TEST_F(GradeSeries, EnterChoosesAsATapWouldAndWithoutAMatchOpensTheKeyboardWithTheText) {
    auto k = Fuenf();
    // Arrow keys, then Enter: the first arrow highlights "1+", two more go down to "3+", one right to "3".
    Neu().Taste(Notenmenue[0], kKeyDown).Taste(Notenmenue[0], kKeyDown).Taste(Notenmenue[0], kKeyDown)
        .Taste(Notenmenue[0], kKeyRight).Zeichen(Notenmenue[0], u"\r");
    skript->Starten();
    EXPECT_EQ(Antippen(*k, 2, 1), 0);
    EXPECT_EQ(Reihe(*k, 2)[1], u"3");
    // "2-" and Enter: the same as tapping "2-", averages included.
    const auto erwartet = WieNoteneingabe(*k, 4, u"2-");
    Neu().Zeichen(Notenmenue[0], u"2-\r");
    skript->Starten();
    EXPECT_EQ(Antippen(*k, 4, 1), 0);
    EXPECT_EQ(Reihe(*k, 4), erwartet);
    EXPECT_EQ(Reihe(*k, 4)[3], u"2.25");
    EXPECT_EQ(k->Zelle(4, 1).Text_RGB, Notenfarbe(u"2-", 0));
    // "1-2" is no tile: Enter opens the keyboard with it, confirmed as it stands.
    Neu().Zeichen(Notenmenue[0], u"1-2\r").Tippen(u"");
    skript->Starten();
    EXPECT_EQ(Antippen(*k, 5, 1), 0);
    EXPECT_TRUE(skript->Fertig());
    EXPECT_EQ(Reihe(*k, 5)[1], u"1-2");
    // "4" then Backspace and "5": the search starts over and "5" replaces the "3".
    Neu().Zeichen(Notenmenue[0], u"4\b5\r");
    skript->Starten();
    EXPECT_EQ(Antippen(*k, 1, 2), 0);
    EXPECT_EQ(Reihe(*k, 1)[2], u"5");
    // Enter with nothing typed and nothing highlighted chooses nothing; Escape closes.
    Neu().Zeichen(Notenmenue[0], u"\r").Taste(Notenmenue[0], kKeyEscape);
    skript->Starten();
    Antippen(*k, 5, 2);
    EXPECT_EQ(Notenmenue[0]->Auswahl_Kachelindex, -1);
    EXPECT_EQ(Reihe(*k, 5)[2], u"5");
    Stimmig(*k);
}

TEST_F(GradeSeries, StartsAtTheFirstEmptyCellSkipsAndEndsAfterTheLastStudent) {
    auto k = Fuenf();
    EXPECT_EQ(ErsteLeereZeile(*k, 1), 2);
    EXPECT_EQ(ErsteLeereZeile(*k, 2), 3);
    const auto vorher = Inhalt(*k);
    const auto zeile2 = WieNoteneingabe(*k, 2, u"2-");
    const auto zeile4 = WieNoteneingabe(*k, 4, u"n.f.");
    auto& m = Notenmenue[0];
    Neu()
        .Ansehen(m,
                 [&] {
                     // Right of the column, vertically centred on the cell (kept in the window).
                     const TKachel& z = k->Zelle(2, 1);
                     EXPECT_EQ(m->x, z.x + Offset::ScrollX + 76 + 8);
                     EXPECT_EQ(m->y, std::max(0, z.y + Offset::ScrollY + 38 - m->Tiefe / 2));
                 })
        .Zeichen(m, u"2-\r")      // row 2; row 3 keeps its "4" and is passed over
        .Kachel(m, 15)            // row 4: a tap on "n.f."
        .Punkt(m, [&] { return Mitte(*k, 5, 1); });  // row 5: a tap on the marked cell skips, and that was the last
    Serie(*k, 1);
    EXPECT_EQ(m->Status, 0);
    EXPECT_EQ(Reihe(*k, 2), zeile2);
    EXPECT_EQ(Reihe(*k, 4), zeile4);
    EXPECT_EQ(Reihe(*k, 4)[3], u"6.00");
    auto nachher = Inhalt(*k);
    nachher[1 + 2] = vorher[1 + 2];  // after the title line
    nachher[1 + 4] = vorher[1 + 4];
    EXPECT_EQ(nachher, vorher) << "only rows 2 and 4 change";
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk.ungespeichert"), KlassendateiBytes(*k)) << "the recovery file follows";

    // Now row 5 is the first empty one: its grade is the last choice and ends the series.
    EXPECT_EQ(ErsteLeereZeile(*k, 1), 5);
    const auto zeile5 = WieNoteneingabe(*k, 5, u"1");
    Neu().Zeichen(m, u"1\r");
    Serie(*k, 1);
    EXPECT_EQ(Reihe(*k, 5), zeile5);
    EXPECT_EQ(m->Status, 0);
    // A full column has no series: a box says so and nothing changes.
    EXPECT_EQ(ErsteLeereZeile(*k, 1), 0);
    const auto voll = Inhalt(*k);
    Neu().Box(u"Info", {255, 255, 0},
              {u"In dieser Spalte hat schon jeder Schüler eine Note.",
               u"Eine Note ändern Sie, indem Sie ihre Zelle antippen."},
              {kOkSchalter}, 0);
    Serie(*k, 1);
    EXPECT_EQ(m->Status, 0);
    EXPECT_EQ(Inhalt(*k), voll);
    Stimmig(*k);
}

TEST_F(GradeSeries, GradesTypedAheadAllReachTheirStudentsAndEscapeEndsInTheMiddle) {
    auto k = Fuenf();
    Notenskala = 1;
    const auto chen = Reihe(*k, 3);
    const auto ernst = Reihe(*k, 5);
    const auto dorn = Reihe(*k, 4);
    // All keys in one frame, during the menu's fly-in: each waits for its student.
    for (char16_t c : Text(u"12\r ")) backend->At(Frame(3), {ScriptedEvent::Typed, c});
    Neu().Ansehen(Notenmenue[1], [&] { EXPECT_EQ(Notenmenue[1]->Suchtext, u""); })
        .Taste(Notenmenue[1], kKeyEscape);
    Serie(*k, 1);
    EXPECT_EQ(Reihe(*k, 2)[1], u"12");
    EXPECT_EQ(Reihe(*k, 2)[3], u"12.0");
    EXPECT_EQ(Reihe(*k, 3), chen) << "Chen's grade was passed over";
    EXPECT_EQ(Reihe(*k, 4), dorn) << "the space bar skipped Dorn";
    EXPECT_EQ(Reihe(*k, 5), ernst) << "Escape ended the series at Ernst";
    EXPECT_EQ(Notenmenue[1]->Status, 0);
    EXPECT_EQ(BackRequested, 0) << "the Escape stays with the series";
    Stimmig(*k);
}

TEST_F(GradeSeries, MenuLeftOfAColumnAtTheRightEdgeAndTheRowCentredWhenHidden) {
    std::vector<Text> typen(22, u"Test");
    std::vector<std::pair<Text, std::vector<Text>>> schueler;
    for (int i = 0; i < 28; ++i) schueler.push_back({Text(u"S") + static_cast<char16_t>(u'A' + i), {}});
    for (auto& s : schueler) s.second.assign(22, Text());
    auto k = Klasse(typen, schueler);
    Ruhen(*k);
    for (int i = 1; i <= 11; ++i) k->Zelle(i, 21).change({u"3"}, {}, {}, 1);
    // Column 21 lies at x 1840: the menu goes left; row 12 lies below the window: centred.
    auto& m = Notenmenue[0];
    Neu().Ansehen(m, [&] {
        const TKachel& z = k->Zelle(12, 21);
        const int zx = z.x + Offset::ScrollX, zy = z.y + Offset::ScrollY;
        EXPECT_EQ(zx, 1840);
        EXPECT_EQ(m->x, zx - 8 - m->Breite);
        EXPECT_GE(zy, 130);
        EXPECT_LE(zy + 76, 1080);
        EXPECT_EQ(Offset::ScrollY, static_cast<int>(0.5 * (1080 - 76 - 8) - z.y));
    }).Taste(m, kKeyEscape);
    Serie(*k, 21);
    EXPECT_EQ(Reihe(*k, 12)[21], u"");
}

TEST_F(GradeSeries, ColumnMenuTileFiveStartsTheSeriesOrRefusesOnAnAverageColumn) {
    auto k = Fuenf();
    const auto vorher = Inhalt(*k);
    constexpr int kNotenEintragen = 5;
    ASSERT_EQ(Spaltenmenue->Kachel.size(), 6u);
    EXPECT_EQ(Spaltenmenue->Kachel[kNotenEintragen]->Text[1], u"Noten eintragen");
    Neu().Kachel(Spaltenmenue, kNotenEintragen)
        .Box(u"Info", {255, 255, 0},
             {u"Durchschnittsnoten befinden sich in einem", u"Dreier-Spalten-Verbund und lassen sich",
              u"nicht einzeln umdefinieren. Löschen Sie bei", u"Bedarf diesen Dreier-Spalten-Verbund."},
             {kOkSchalter}, 0);
    skript->Starten();
    EXPECT_EQ(Spaltenbefehle(*k, 4), 0);
    EXPECT_TRUE(skript->Fertig());
    EXPECT_GT(skript->GelbeBilder(), 0);
    EXPECT_EQ(Notenmenue[0]->Status, 0) << "no series on an average column";
    EXPECT_EQ(Inhalt(*k), vorher);

    // Mündl.: Adler and Berger have one, so the series begins at Chen.
    Neu().Kachel(Spaltenmenue, kNotenEintragen).Zeichen(Notenmenue[0], u"1\r").Taste(Notenmenue[0], kKeyEscape);
    skript->Starten();
    EXPECT_EQ(Spaltenbefehle(*k, 2), 0);
    EXPECT_TRUE(skript->Fertig());
    EXPECT_EQ(Reihe(*k, 3)[2], u"1");
    EXPECT_EQ(Reihe(*k, 4)[2], u"");
}

TEST_F(GradeSeries, AColumnWithFilledCellsGetsGradesOnlyInItsEmptyOnesAndKeepsTheOthers) {
    // Mündl.: Adler 3, Berger 1 and Ernst 5 are kept; Chen and Dorn get theirs.
    struct Fall {
        const char16_t* getippt;
        int abstand;  // frames between keys; 0: all in the frame the series starts
    };
    for (const Fall f : {Fall{u"2\r4-\r", 0}, Fall{u"2\r4-\r", 1}, Fall{u"2\r4-\r", 4}}) {
        SCOPED_TRACE(f.abstand);
        auto k = Fuenf();
        const auto vorher = Inhalt(*k);
        long long t = Frame(1);
        for (char16_t c : Text(f.getippt)) {
            backend->At(t, {ScriptedEvent::Typed, c});
            t += f.abstand;
        }
        Notenserie(*k, 2);
        EXPECT_EQ(Reihe(*k, 3)[2], u"2");
        EXPECT_EQ(Reihe(*k, 4)[2], u"4-");
        auto nachher = Inhalt(*k);
        nachher[1 + 3] = vorher[1 + 3];
        nachher[1 + 4] = vorher[1 + 4];
        EXPECT_EQ(nachher, vorher) << "the filled cells stay as they were";
        EXPECT_EQ(Notenmenue[0]->Status, 0) << "the series ended after the last empty cell";
        Stimmig(*k);
    }
}
