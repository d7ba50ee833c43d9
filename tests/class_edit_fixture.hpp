// Fixture for editing a gradebook through its dialogs: the grade menus, the
// class-screen menus and the keyboard built, a class made from column types
// and students, scripted answers, taps on the grid that reach verwalten as in
// the class screen loop, and a check that the grid is still whole afterwards.
#pragma once
#include "dialog_script.hpp"
#include "gradebook/class_menus.hpp"
#include "gradebook/column_edit.hpp"
#include "gradebook_fixture.hpp"

class ClassEditTest : public GradebookTest {
protected:
    void SetUp() override {
        GradebookTest::SetUp();
        static bool menus = false;
        if (!menus) {
            BaueNotenmenues();
            BaueKlassenmenues();
            Texteingabe::initialisieren();
            menus = true;
        }
        Notenskala = 0;
        skript = std::make_unique<Dialogskript>(*backend);
    }
    void TearDown() override {
        skript.reset();
        GradebookTest::TearDown();
    }

    // A class "7a Mathe" with columns of the given types (dated 01.10.15) and
    // the students (surname, cells), tiles at rest.
    std::shared_ptr<TSchulklasse> Klasse(const std::vector<Text>& typen,
                                         const std::vector<std::pair<Text, std::vector<Text>>>& schueler) {
        auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
        for (const Text& t : typen) Spalte(*k, t, u"01.10.15");
        for (const auto& [name, zellen] : schueler) Schueler(*k, name, u"Eva", zellen);
        k->NachNamenSortieren(0);
        for (auto& z : k->Zensurzeile)
            for (auto& t : z->Kachel) t->Animation = 0;
        return k;
    }

    // A fresh script for the next command.
    Dialogskript& Neu() {
        skript = std::make_unique<Dialogskript>(*backend);
        return *skript;
    }

    // Every tile at rest, the view at the top left within fresh limits.
    static void Ruhen(TSchulklasse& k) {
        for (auto& z : k.Zensurzeile)
            for (auto& t : z->Kachel) t->Animation = 0;
        Offset::ScrollX = Offset::ScrollY = 0;
        k.OrganisiereOffsetGrenzen(-1, -1);
    }

    // Taps tile (i, j) at its place on screen and runs the class screen's
    // frames until anzeigen records it; then verwalten acts on it. The frame
    // before the tap lets a tile forget its last tap, as the class screen
    // does when it draws after a command.
    int Antippen(TSchulklasse& k, int i, int j) {
        const TKachel& t = k.Zelle(i, j);
        const float x = t.x + (t.verschiebbar & 1 ? Offset::ScrollX : 0) + t.Breite / 2.0f;
        const float y = t.y + (t.verschiebbar & 2 ? Offset::ScrollY : 0) + t.Tiefe / 2.0f;
        Press(Frame(1), x, y);
        Release(Frame(3), x, y);
        for (int n = 0; n < 8; ++n) {
            User::update();
            k.anzeigen();
            Flip(0);
            if (k.AuftragsZeile >= 0) return k.verwalten();
        }
        ADD_FAILURE() << "the tap on " << i << "," << j << " was not recorded";
        return -99;
    }

    // The first texts of row i.
    static std::vector<Text> Reihe(const TSchulklasse& k, int i) {
        std::vector<Text> out;
        for (int j = 0; j < k.Notenanzahl; ++j) out.push_back(k.Zelle(i, j).Text.empty() ? Text() : k.Zelle(i, j).Text[0]);
        return out;
    }

    // Every array one entry per row, every row one tile per column, each tile
    // at its column's x and its row's y, every cell in half its heading's colour.
    static void Stimmig(const TSchulklasse& k) {
        const auto S = static_cast<size_t>(k.Schueleranzahl);
        ASSERT_EQ(k.Zensurzeile.size(), S);
        ASSERT_EQ(k.Telefonnummer.size(), S);
        ASSERT_EQ(k.Notizen.size(), S);
        ASSERT_EQ(k.VergesseneHA.size(), S);
        for (int i = 0; i < k.Schueleranzahl; ++i) {
            const TZensurzeile& z = *k.Zensurzeile[static_cast<size_t>(i)];
            ASSERT_EQ(z.Kachel.size(), static_cast<size_t>(k.Notenanzahl)) << "row " << i;
            ASSERT_EQ(z.Note.size(), static_cast<size_t>(k.Notenanzahl)) << "row " << i;
            for (int j = 0; j < k.Notenanzahl; ++j) {
                ASSERT_TRUE(z.Kachel[static_cast<size_t>(j)]) << i << "," << j;
                const TKachel& t = k.Zelle(i, j);
                EXPECT_EQ(t.x, j == 0 ? 8 : SpaltenX(j)) << i << "," << j;
                EXPECT_EQ(t.y, i == 0 ? 8 : ZeilenY(i)) << i << "," << j;
                if (i > 0 && j > 0) {
                    EXPECT_EQ(t.RGB, Zellfarbe(k.Zelle(0, j).RGB)) << i << "," << j;
                }
            }
        }
    }

    std::unique_ptr<Dialogskript> skript;
};

inline const std::vector<Text> kLoeschwarnung3{u"Wollen Sie wirklich diese Notenspalte",
                                                u"mit sämtlichen Noten aller 3 Schüler",
                                                u"für immer aus der Liste entfernen?!"};
inline const std::vector<Text> kJaNein{u"Ja, das ist ok", u"NEIN"};
inline const std::vector<Text> kReserviert{u"Diese Notenbezeichnung ist nicht erlaubt,",
                                            u"sondern für die Durchschnittsnoten reserviert.",
                                            u"Bitte wählen Sie eine andere Bezeichnung."};
