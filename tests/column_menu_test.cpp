// The column menu of a heading, answered through its menus, boxes and the
// keyboard: delete and move with their group rules, type and date changes,
// and the grid still whole after each.
#include "class_edit_fixture.hpp"
#include "classscreen/class_screen_commands.hpp"
#include "gradebook/grade_types.hpp"

namespace {

enum { kTyp, kLoeschen, kLinks, kDatum };

class ColumnMenu : public ClassEditTest {
protected:
    // Three students; Adler has grades in the first two columns.
    std::shared_ptr<TSchulklasse> Dreier(const std::vector<Text>& typen, std::vector<Text> adler = {}) {
        return Klasse(typen, {{u"Adler", adler}, {u"Berger", {}}, {u"Zander", {}}});
    }
    int Befehl(TSchulklasse& k, int spalte) {
        skript->Starten();
        const int code = Spaltenbefehle(k, spalte);
        EXPECT_TRUE(skript->Fertig()) << "not every dialog was answered";
        return code;
    }
    void LoeschenMitJa() {
        skript = std::make_unique<Dialogskript>(*backend);
        skript->Kachel(Spaltenmenue, kLoeschen).Box(u"Warnung", {255, 0, 0}, kLoeschwarnung3, kJaNein, 0);
    }
};

const std::vector<Text> kGruppeInDerMitte{u"Arbeit", u"Mündl.", u"schriftl.", u"sonst.", u"HauptF.", u"Mündl."};
const std::vector<Text> kGruppeVorn{u"schriftl.", u"sonst.", u"NebenF.", u"Arbeit"};

std::vector<Text> OhneName(std::vector<Text> t) {
    t.erase(t.begin());
    return t;
}

}  // namespace

TEST_F(ColumnMenu, DeletingAGroupMemberDeletesTheGroupAndTheOnlyColumnLeavesNone) {
    auto klasse = Dreier(kGruppeInDerMitte, {u"2", u"3", u"", u"", u"", u"5"});
    LoeschenMitJa();
    EXPECT_EQ(Befehl(*klasse, 4), 0);
    EXPECT_EQ(OhneName(Spaltentypen(*klasse)), (std::vector<Text>{u"Arbeit", u"Mündl.", u"Mündl."}));
    EXPECT_EQ(Reihe(*klasse, 1), (std::vector<Text>{u"Adler", u"2", u"3", u"5"}));
    Stimmig(*klasse);

    klasse = Dreier({u"Arbeit"}, {u"1"});
    LoeschenMitJa();
    Befehl(*klasse, 1);
    EXPECT_EQ(klasse->Notenanzahl, 1);
    Stimmig(*klasse);
    // Only the name column is left: the view cannot scroll sideways.
    EXPECT_EQ(Offset::ScrollMinX, 0);
    EXPECT_EQ(Offset::ScrollX, 0);
}

TEST_F(ColumnMenu, DeletingAColumnBesideAGroupDeletesOnlyItAndTheAveragesFollow) {
    auto klasse = Dreier({u"Arbeit", u"Mündl.", u"schriftl.", u"sonst.", u"HauptF."}, {u"2", u"3"});
    klasse->Durchschnittsnotenberechnung(-1);
    ASSERT_EQ(Reihe(*klasse, 1), (std::vector<Text>{u"Adler", u"2", u"3", u"2.00", u"3.00", u"2.50"}));
    LoeschenMitJa();
    Befehl(*klasse, 2);
    EXPECT_EQ(Reihe(*klasse, 1), (std::vector<Text>{u"Adler", u"2", u"2.00", u"", u"2.00"}));
    Stimmig(*klasse);
}

TEST_F(ColumnMenu, NeinKeepsTheColumnAndAClassWithoutStudentsIsNotAsked) {
    auto klasse = Dreier(kGruppeInDerMitte, {u"2", u"3"});
    const auto vorher = Inhalt(*klasse);
    skript->Kachel(Spaltenmenue, kLoeschen).Box(u"Warnung", {255, 0, 0}, kLoeschwarnung3, kJaNein, 1);
    Befehl(*klasse, 4);
    EXPECT_EQ(Inhalt(*klasse), vorher);

    auto leer = Klasse({u"Arbeit", u"Test"}, {});
    skript = std::make_unique<Dialogskript>(*backend);
    skript->Kachel(Spaltenmenue, kLoeschen);
    Befehl(*leer, 1);
    EXPECT_EQ(OhneName(Spaltentypen(*leer)), (std::vector<Text>{u"Test"}));
    Stimmig(*leer);
}

TEST_F(ColumnMenu, MovedColumnsTakeTheirGradesAndTheAveragesFollow) {
    auto klasse = Dreier(kGruppeInDerMitte, {u"1", u"2", u"", u"", u"", u"4"});
    skript->Kachel(Spaltenmenue, kLinks);
    Befehl(*klasse, 6);  // the Mündl. after the group moves into the half-year
    EXPECT_EQ(Reihe(*klasse, 1), (std::vector<Text>{u"Adler", u"1", u"2", u"4", u"1.00", u"3.00", u"2.00"}));
    skript = std::make_unique<Dialogskript>(*backend);
    skript->Kachel(Spaltenmenue, kLinks);
    Befehl(*klasse, 5);  // now the group passes the Mündl. columns one at a time
    EXPECT_EQ(Reihe(*klasse, 1), (std::vector<Text>{u"Adler", u"1", u"2", u"1.00", u"2.00", u"1.50", u"4"}));
    Stimmig(*klasse);

    // A group standing first stays where it is.
    klasse = Dreier(kGruppeVorn, {u"", u"", u"", u"4"});
    const auto vorher = Inhalt(*klasse);
    skript = std::make_unique<Dialogskript>(*backend);
    skript->Kachel(Spaltenmenue, kLinks);
    Befehl(*klasse, 3);
    EXPECT_EQ(Inhalt(*klasse), vorher);
}

TEST_F(ColumnMenu, TypeChangeRecoloursAndRecomputesAverages) {
    auto klasse = Dreier({u"Arbeit", u"Mündl.", u"schriftl.", u"sonst.", u"HauptF."}, {u"2", u"3"});
    klasse->Durchschnittsnotenberechnung(-1);
    skript->Kachel(Spaltenmenue, kTyp).Kachel(Typwechselmenue, 4);  // "Mündl."
    Befehl(*klasse, 1);
    EXPECT_EQ(klasse->Zelle(0, 1).Text,
              (std::vector<Text>{u"Mündl.", u"incbin::media/images/Muendl.png", u"01.10.15"}));
    EXPECT_EQ(klasse->Zelle(0, 1).RGB, Typfarbe(u"Mündl."));
    EXPECT_EQ(Reihe(*klasse, 1), (std::vector<Text>{u"Adler", u"2", u"3", u"", u"2.50", u"2.50"}));
    Stimmig(*klasse);
}

TEST_F(ColumnMenu, FreeTypeNameIsAskedAgainWhileReservedAndTrimmed) {
    auto klasse = Dreier({u"Arbeit"}, {u"2"});
    skript->Kachel(Spaltenmenue, kTyp)
        .Kachel(Typwechselmenue, 12)
        .Tippen(u"HauptF.")
        .Box(u"Info", {255, 255, 0}, kReserviert, {kOkSchalter}, 0)
        .Tippen(u" sonst. ")  // blanks would fall away when the file is read
        .Box(u"Info", {255, 255, 0}, kReserviert, {kOkSchalter}, 0)
        .Tippen(u"  Portfolio ");
    Befehl(*klasse, 1);
    EXPECT_EQ(klasse->Zelle(0, 1).Text,
              (std::vector<Text>{u"Portfolio", u"incbin::media/images/Fragezeichen.png", u"01.10.15"}));
    EXPECT_EQ(klasse->Zelle(0, 1).RGB, (RGBFarbe{84, 84, 84}));
    EXPECT_EQ(Reihe(*klasse, 1), (std::vector<Text>{u"Adler", u"2"}));
    Stimmig(*klasse);

    const auto vorher = Inhalt(*klasse);
    skript = std::make_unique<Dialogskript>(*backend);
    skript->Kachel(Spaltenmenue, kTyp).Kachel(Typwechselmenue, 12).Abbrechen();
    Befehl(*klasse, 1);
    EXPECT_EQ(Inhalt(*klasse), vorher);
}

TEST_F(ColumnMenu, AverageColumnsRefuseTypeAndDateChanges) {
    auto klasse = Dreier({u"Arbeit", u"schriftl.", u"sonst.", u"HauptF."}, {u"2"});
    klasse->Durchschnittsnotenberechnung(-1);
    const auto vorher = Inhalt(*klasse);
    skript->Kachel(Spaltenmenue, kTyp)
        .Box(u"Info", {255, 255, 0},
             {u"Durchschnittsnoten befinden sich in einem", u"Dreier-Spalten-Verbund und lassen sich",
              u"nicht einzeln umdefinieren. Löschen Sie bei", u"Bedarf diesen Dreier-Spalten-Verbund."},
             {kOkSchalter}, 0);
    Befehl(*klasse, 3);
    EXPECT_GT(skript->GelbeBilder(), 0);
    EXPECT_EQ(Inhalt(*klasse), vorher);

    skript = std::make_unique<Dialogskript>(*backend);
    skript->Kachel(Spaltenmenue, kDatum)
        .Box(u"Info", {255, 255, 0},
             {u"Durchschnittsnoten befinden sich in einem", u"Dreier-Spalten-Verbund ohne Datum.",
              u"Sie werden bei jeder neuen oder geänderten", u"Einzelnote links davon automatisch aktualisiert."},
             {kOkSchalter}, 0);
    Befehl(*klasse, 4);
    EXPECT_GT(skript->GelbeBilder(), 0);
    EXPECT_EQ(Inhalt(*klasse), vorher);
}

TEST_F(ColumnMenu, DateIsTypedOverTheOldOne) {
    auto klasse = Dreier({u"Arbeit", u"Test"});
    skript->Kachel(Spaltenmenue, kDatum).Tippen(u"15.11.15");
    Befehl(*klasse, 2);
    EXPECT_EQ(klasse->Zelle(0, 2).Text, (std::vector<Text>{u"Test", u"incbin::media/images/Test.png", u"15.11.15"}));
    EXPECT_EQ(klasse->Zelle(0, 1).Text[2], u"01.10.15");
    const auto vorher = Inhalt(*klasse);
    skript = std::make_unique<Dialogskript>(*backend);
    skript->Kachel(Spaltenmenue, kDatum).Abbrechen();
    Befehl(*klasse, 2);
    EXPECT_EQ(Inhalt(*klasse), vorher);
}

TEST_F(ColumnMenu, ClosedMenuChangesNothingAndLeavesTheTapUnconsumed) {
    auto klasse = Dreier({u"Arbeit", u"Test"}, {u"1", u"2"});
    const auto vorher = Inhalt(*klasse);
    skript->Daneben(Spaltenmenue);
    EXPECT_EQ(Befehl(*klasse, 2), kOhneAuswahl);
    EXPECT_EQ(Inhalt(*klasse), vorher);
}
