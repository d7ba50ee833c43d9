// Adding a student and adding grade columns and average groups through the
// keyboard and the type menu, with every refusal, and the grid still whole.
#include "class_edit_fixture.hpp"
#include "gradebook/dates.hpp"
#include "gradebook/grade_types.hpp"
#include "platform/datetime.hpp"

namespace {

enum { kArbeit = 0, kFrei = 12, kNebenF = 13, kHauptF = 14, kZeugnis = 15 };

class Adding : public ClassEditTest {
protected:
    std::shared_ptr<TSchulklasse> Zwei(const std::vector<Text>& typen, std::vector<Text> adler = {}) {
        return Klasse(typen, {{u"Adler", adler}, {u"Zander", {}}});
    }
    void Schuelerzeile(TSchulklasse& k) {
        skript->Starten();
        EXPECT_EQ(k.NeueZensurzeileEinfuegen(), 0);
        EXPECT_TRUE(skript->Fertig()) << "not every dialog was answered";
    }
    void Notenspalte(TSchulklasse& k) {
        skript->Starten();
        EXPECT_EQ(k.NeueNotenspalteEinfuegen(), 0);
        EXPECT_TRUE(skript->Fertig()) << "not every dialog was answered";
        EXPECT_EQ(k.AuftragsZeile, -1);
        EXPECT_EQ(k.AuftragsSpalte, -1);
    }
    void Neu() { skript = std::make_unique<Dialogskript>(*backend); }
    static Text Heute() { return DatumVerschieben(CurrentDateText(), 0); }
};

std::vector<Text> Name(const TSchulklasse& k, int i) { return k.Zelle(i, 0).Text; }

}  // namespace

TEST_F(Adding, StudentIsSortedInWithEmptyCellsAndPlaceholders) {
    auto k = Zwei({u"Arbeit", u"schriftl.", u"sonst.", u"HauptF."}, {u"2"});
    k->Durchschnittsnotenberechnung(-1);
    skript->Tippen(u"Anna Lena, Berger");
    Schuelerzeile(*k);
    ASSERT_EQ(k->Schueleranzahl, 4);
    EXPECT_EQ(Name(*k, 2), (std::vector<Text>{u"Berger", u"Anna Lena"}));
    EXPECT_EQ(Reihe(*k, 2), (std::vector<Text>{u"Berger", u"", u"", u"", u""}));
    EXPECT_EQ(Reihe(*k, 1), (std::vector<Text>{u"Adler", u"2", u"2.00", u"", u"2.00"}));
    EXPECT_EQ(k->Telefonnummer[2], kPlatzhalterTelefon);
    EXPECT_EQ(k->Notizen[2], kPlatzhalterNotizen);
    EXPECT_EQ(k->VergesseneHA[2], kPlatzhalterVergesseneHA);
    EXPECT_EQ(k->Zelle(2, 0).RGB, Namensfarbe());
    Stimmig(*k);
}

TEST_F(Adding, TypedNamesSplitAtTheFirstComma) {
    struct Fall {
        const char16_t* getippt;
        std::vector<Text> name;
    };
    const Fall faelle[] = {
        {u"Berger", {u"Berger", u""}},
        {u", Berger", {u"Berger", u""}},
        {u"  Anna ,  Berger  ", {u"Berger", u"Anna"}},
        {u"Anna, von Berg, Jr.", {u"von Berg, Jr.", u"Anna"}},
    };
    for (const Fall& f : faelle) {
        auto k = Zwei({u"Arbeit"});
        Neu();
        skript->Tippen(f.getippt);
        Schuelerzeile(*k);
        ASSERT_EQ(k->Schueleranzahl, 4);
        bool gefunden = false;
        for (int i = 1; i < 4; ++i) gefunden |= Name(*k, i) == f.name;
        EXPECT_TRUE(gefunden) << Utf8FromText(f.getippt);
        Stimmig(*k);
    }
}

TEST_F(Adding, DuplicateStudentIsRefusedAndACancelledEntryAddsNothing) {
    auto k = Zwei({u"Arbeit"}, {u"1"});
    const auto vorher = Inhalt(*k);
    skript->Tippen(u"Eva, Adler")
        .Box(u"Fehler", {255, 255, 0},
             {u"Es gibt bereits einen Schüler", u"mit diesen Namen in der Klasse!", u"Darum wird er nicht hingefügt."},
             {kOkSchalter}, 0);
    Schuelerzeile(*k);
    EXPECT_GT(skript->GelbeBilder(), 0);
    EXPECT_EQ(Inhalt(*k), vorher);

    Neu();
    skript->Abbrechen();
    Schuelerzeile(*k);
    EXPECT_EQ(Inhalt(*k), vorher);

    // Another letter case is another student.
    Neu();
    skript->Tippen(u"eva, Adler");
    Schuelerzeile(*k);
    EXPECT_EQ(k->Schueleranzahl, 4);
    Stimmig(*k);
}

TEST_F(Adding, GradeColumnIsAppendedWithTodaysDate) {
    auto k = Zwei({u"Test"}, {u"3"});
    skript->Kachel(Spaltentypmenue, kArbeit);
    Notenspalte(*k);
    ASSERT_EQ(k->Notenanzahl, 3);
    EXPECT_EQ(k->Zelle(0, 2).Text, (std::vector<Text>{u"Arbeit", u"incbin::media/images/Arbeit.png", Heute()}));
    EXPECT_EQ(k->Zelle(0, 2).RGB, Typfarbe(u"Arbeit"));
    EXPECT_EQ(Reihe(*k, 1), (std::vector<Text>{u"Adler", u"3", u""}));
    Stimmig(*k);
}

TEST_F(Adding, AverageGroupIsAppendedAndComputed) {
    auto k = Zwei({u"Arbeit", u"Mündl."}, {u"2", u"3"});
    skript->Kachel(Spaltentypmenue, kHauptF);
    Notenspalte(*k);
    EXPECT_EQ(Spaltentypen(*k), (std::vector<Text>{u"7a", u"Arbeit", u"Mündl.", u"schriftl.", u"sonst.", u"HauptF."}));
    EXPECT_EQ(k->Zelle(0, 3).Text, (std::vector<Text>{u"schriftl.", kDurchschnittssymbol}));
    EXPECT_EQ(k->Zelle(0, 4).RGB, Typfarbe(u"sonst."));
    EXPECT_EQ(Reihe(*k, 1), (std::vector<Text>{u"Adler", u"2", u"3", u"2.00", u"3.00", u"2.50"}));
    EXPECT_EQ(Reihe(*k, 2), (std::vector<Text>{u"Zander", u"", u"", u"", u"", u""}));
    Stimmig(*k);

    // The second half-year's group of the same weighting is allowed.
    k = Zwei({u"Arbeit", u"schriftl.", u"sonst.", u"NebenF.", u"Mündl."}, {u"3", u"", u"", u"", u"1"});
    Neu();
    skript->Kachel(Spaltentypmenue, kNebenF);
    Notenspalte(*k);
    EXPECT_EQ(k->Notenanzahl, 9);
    EXPECT_EQ(Reihe(*k, 1)[8], u"1.00");
    Stimmig(*k);
}

TEST_F(Adding, ThirdGroupAndMixedWeightingsAreRefused) {
    const std::vector<Text> lines3{u"Mit je einer Durchschnittsberechnung pro Halbjahr",
                                   u"sind bereits zwei solcher Spalten vorhanden",
                                   u"und es werden keine weiteren hinzugefügt."};
    const std::vector<Text> gemischt{u"Die gleichzeitige Definition bzw. Berechnung",
                                     u" eines Fachs als Haupt- UND Nebenfach ist nicht",
                                     u"möglich. Bitte legen Sie sich auf eine Gewichtung",
                                     u"fest, die dann für das gesamte Schuljahr gilt."};
    struct Fall {
        std::vector<Text> typen;
        int kachel;
        const std::vector<Text>& zeilen;
    };
    const Fall faelle[] = {
        {{u"Arbeit", u"schriftl.", u"sonst.", u"HauptF.", u"Test", u"schriftl.", u"sonst.", u"HauptF."}, kHauptF, lines3},
        {{u"Arbeit", u"schriftl.", u"sonst.", u"NebenF.", u"Test", u"schriftl.", u"sonst.", u"NebenF."}, kHauptF, lines3},
        {{u"Arbeit", u"schriftl.", u"sonst.", u"HauptF."}, kNebenF, gemischt},
        {{u"Arbeit", u"schriftl.", u"sonst.", u"NebenF."}, kHauptF, gemischt},
    };
    for (const Fall& f : faelle) {
        auto k = Zwei(f.typen, {u"2"});
        const auto vorher = Inhalt(*k);
        Neu();
        skript->Kachel(Spaltentypmenue, f.kachel).Box(u"Info", {255, 255, 0}, f.zeilen, {kOkSchalter}, 0);
        Notenspalte(*k);
        EXPECT_GT(skript->GelbeBilder(), 0);
        EXPECT_EQ(Inhalt(*k), vorher);
        Stimmig(*k);
    }
}

TEST_F(Adding, ReportColumnFollowsTheLastReport) {
    auto k = Zwei({u"Arbeit", u"Zeugnis", u"Test"});
    SpaltendatumSetzen(*k, 2, u"31.01.16");
    skript->Kachel(Spaltentypmenue, kZeugnis);
    Notenspalte(*k);
    EXPECT_EQ(k->Zelle(0, 4).Text, (std::vector<Text>{u"Zeugnis", u"incbin::media/images/Zeugnis.png", u"15.07.16"}));
    EXPECT_EQ(k->Zelle(0, 4).RGB, Typfarbe(u"Zeugnis"));
    Neu();
    skript->Kachel(Spaltentypmenue, kZeugnis);
    Notenspalte(*k);
    EXPECT_EQ(k->Zelle(0, 5).Text[2], u"31.01.17");
    Stimmig(*k);
}

TEST_F(Adding, FreeColumnNameIsAskedAgainWhileReserved) {
    auto k = Zwei({u"Arbeit"});
    skript->Kachel(Spaltentypmenue, kFrei)
        .Tippen(u"NebenF.")
        .Box(u"Info", {255, 255, 0}, kReserviert, {kOkSchalter}, 0)
        .Tippen(u"Projekt");
    Notenspalte(*k);
    ASSERT_EQ(k->Notenanzahl, 3);
    EXPECT_EQ(k->Zelle(0, 2).Text,
              (std::vector<Text>{u"Projekt", u"incbin::media/images/Fragezeichen.png", Heute()}));
    EXPECT_EQ(k->Zelle(0, 2).RGB, (RGBFarbe{84, 84, 84}));
    Stimmig(*k);

    const auto vorher = Inhalt(*k);
    Neu();
    skript->Kachel(Spaltentypmenue, kFrei).Abbrechen();
    Notenspalte(*k);
    EXPECT_EQ(Inhalt(*k), vorher);
    Neu();
    skript->Daneben(Spaltentypmenue);
    k->AuftragsZeile = k->AuftragsSpalte = 0;
    skript->Starten();
    k->NeueNotenspalteEinfuegen();
    EXPECT_EQ(Inhalt(*k), vorher);
}
