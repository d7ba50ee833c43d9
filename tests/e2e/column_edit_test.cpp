// Editing the columns of a gradebook in the real program: the column menu
// over the grid, a type change through the type menu, a column moved past an
// average group and one deleted after the warning; the file saved on Escape
// is checked byte for byte, averages included.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gradebook/grade_types.hpp"
#include "gradebook_files.hpp"
#include "harness.hpp"

namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;

uint32_t Rgb(const std::array<int, 3>& c) { return (uint32_t(c[0]) << 16) | (uint32_t(c[1]) << 8) | uint32_t(c[2]); }

class Spalten : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.Ok());
        setenv("HOME", "/tmp/rk-e2e-home", 1);
        unsetenv("USERPROFILE");
    }
    // Starts the program on the catalogue and opens its only class.
    void KlasseOeffnen() {
        ASSERT_TRUE(p.Start());
        ASSERT_NE(p.WaitForWindow(), 0u);
        ASSERT_TRUE(p.WaitForPixel(960, 1070, kHintergrund));
        SleepMs(700);
        p.Click(846 + 114, 663 + 57);
        SleepMs(1200);
    }
    // Column menu of column k (no horizontal scroll): panel at (x - 122, 122),
    // two columns of 152 x 101 tiles with a gap of 4.
    void Spaltenbefehl(int k, int befehl, const std::string& bild = "") {
        const int x = 160 + 80 * k;
        p.Click(x + 38, 60);
        SleepMs(600);
        if (!bild.empty()) p.Save(p.Shoot(), bild);
        const int mx = std::max(0, x - 122);
        p.Click(mx + 4 + (befehl % 2) * 156 + 76, 122 + 4 + (befehl / 2) * 105 + 50);
        SleepMs(600);
    }
    // Start of the first run of pixels of the colour inside a region.
    static bool Finde(const Screenshot& s, uint32_t farbe, int x0, int y0, int x1, int y1, int& x, int& y) {
        for (y = y0; y < y1; ++y) {
            int n = 0;
            for (x = x0; x < x1; ++x) {
                n = s.At(x, y) == farbe ? n + 1 : 0;
                if (n == 30) {
                    x -= 29;
                    return true;
                }
            }
        }
        return false;
    }
    // The left button of an information box (face 56, 56, 56).
    void LinkenSchalterDruecken(const std::string& bild) {
        SleepMs(500);
        const Screenshot s = p.Shoot();
        p.Save(s, bild);
        int x, y;
        ASSERT_TRUE(Finde(s, Rgb({56, 56, 56}), 300, 300, 1620, 900, x, y)) << "no button";
        p.Click(x + 15, y + 15);
        SleepMs(600);
    }
    int Beenden() {
        p.Key("Escape");
        int status = -1;
        EXPECT_TRUE(p.WaitForExit(8000, status));
        return status;
    }

    VirtualDisplay display{1920, 1080};
    ProgramUnderTest p{display};
};

}  // namespace

TEST_F(Spalten, TypeChangedColumnMovedAndDeletedAreSavedWithTheirAverages) {
    TestGradebook g{"7a", "Mathe",
                    {{"Arbeit", "01.10.26"}, {"Mündl.", "02.10.26"}, {"Test", "03.10.26"}, {"schriftl.", "Ø"},
                     {"sonst.", "Ø"}, {"HauptF.", "Ø"}, {"Referat", "05.10.26"}},
                    {}};
    g.schueler.push_back({"Adler", "Eva", {"2", "3", "1", "2.00", "2.00", "2.00", "4"}, "0171 1", "", ""});
    g.schueler.push_back({"Berger", "Tom", {"4", "", "2", "4.00", "2.00", "3.00", ""}, "", "Sitzt vorne", "2"});
    const std::string pfad = WriteClassFile(p.Folder(), g);
    KlasseOeffnen();

    // "Test" becomes "Mündl." through the type menu (tile 4 of 7 per row,
    // panel at (x - 236, 0), tiles 76 x 95 with a gap of 4).
    Spaltenbefehl(3, 0, "spaltenmenue-ueber-klasse");
    const Screenshot typmenue = p.Shoot();
    p.Save(typmenue, "typmenue-ueber-klasse");
    const int tx = 400 - 236;
    EXPECT_EQ(typmenue.At(tx + 4 + 4 * 80 + 2, 4 + 90), Rgb(Typfarbe(u"Mündl.")));
    p.Click(tx + 4 + 4 * 80 + 38, 4 + 47);
    SleepMs(700);
    const Screenshot neu = p.Shoot();
    p.Save(neu, "spaltentyp-geaendert");
    EXPECT_EQ(neu.At(400 + 2, 8 + 111), Rgb(Typfarbe(u"Mündl.")));
    const auto halb = Typfarbe(u"Mündl.");
    EXPECT_EQ(neu.At(400 + 2, 130 + 73), Rgb({halb[0] / 2, halb[1] / 2, halb[2] / 2}));

    // "Referat" right of the group moves past the whole group.
    Spaltenbefehl(7, 2);
    // The first "Mündl." is deleted after the warning.
    Spaltenbefehl(2, 1);
    LinkenSchalterDruecken("spalte-loeschen-warnung");
    p.Save(p.Shoot(), "spalten-bearbeitet");

    EXPECT_EQ(Beenden(), 0);
    TestGradebook soll{"7a", "Mathe",
                       {{"Arbeit", "01.10.26"}, {"Mündl.", "03.10.26"}, {"Referat", "05.10.26"}, {"schriftl.", "Ø"},
                        {"sonst.", "Ø"}, {"HauptF.", "Ø"}},
                       {}};
    soll.schueler.push_back({"Adler", "Eva", {"2", "1", "4", "2.00", "2.50", "2.25"}, "0171 1", "", ""});
    soll.schueler.push_back({"Berger", "Tom", {"4", "2", "", "4.00", "2.00", "3.00"}, "", "Sitzt vorne", "2"});
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(soll));
}

TEST_F(Spalten, StudentColumnAndAverageGroupAddedThroughTheClassMenu) {
    TestGradebook g{"7a", "Mathe", {{"Arbeit", "01.10.26"}, {"Mündl.", "02.10.26"}}, {}};
    g.schueler.push_back({"Adler", "Eva", {"2", "3"}, "", "", ""});
    g.schueler.push_back({"Zander", "Max", {"4", ""}, "0171 2", "", "1"});
    const std::string pfad = WriteClassFile(p.Folder(), g);
    KlasseOeffnen();
    // The class menu opens at (0, 0): two columns of 200 x 90 tiles, 412 wide;
    // the type menu beside it: four columns of 90 x 90 tiles.
    const auto klassenbefehl = [&](int kachel) {
        p.Click(100, 60);
        SleepMs(600);
        p.Click(4 + (kachel % 2) * 204 + 100, 4 + (kachel / 2) * 94 + 45);
        SleepMs(700);
    };
    const auto typkachel = [&](int kachel) { p.Click(416 + (kachel % 4) * 94 + 45, 4 + (kachel / 4) * 94 + 45); };

    // A student typed on the physical keyboard, first names before the comma.
    klassenbefehl(2);
    p.Type("Lena, Berger");
    p.Key("Return");
    SleepMs(700);
    const Screenshot schueler = p.Shoot();
    p.Save(schueler, "schueler-hinzugefuegt");
    EXPECT_EQ(schueler.At(10, 46 + 2 * 84 + 60), Rgb({84, 72, 96}));  // a third name tile

    // A "Test" column through the type menu, moved left past "Mündl." and deleted.
    klassenbefehl(3);
    p.Save(p.Shoot(), "spaltentypmenue-ueber-klasse");
    typkachel(3);
    SleepMs(700);
    const Screenshot test = p.Shoot();
    EXPECT_EQ(test.At(160 + 3 * 80 + 2, 8 + 111), Rgb(Typfarbe(u"Test")));
    Spaltenbefehl(3, 2);
    EXPECT_EQ(p.Shoot().At(160 + 2 * 80 + 2, 8 + 111), Rgb(Typfarbe(u"Test")));
    Spaltenbefehl(2, 1);
    LinkenSchalterDruecken("neue-spalte-loeschen");

    // The average group of a main subject, computed at once.
    klassenbefehl(3);
    typkachel(14);
    SleepMs(700);
    p.Save(p.Shoot(), "durchschnittsgruppe-hinzugefuegt");

    EXPECT_EQ(Beenden(), 0);
    TestGradebook soll{"7a", "Mathe",
                       {{"Arbeit", "01.10.26"}, {"Mündl.", "02.10.26"}, {"schriftl.", "Ø"}, {"sonst.", "Ø"},
                        {"HauptF.", "Ø"}},
                       {}};
    soll.schueler.push_back({"Adler", "Eva", {"2", "3", "2.00", "3.00", "2.50"}, "", "", ""});
    soll.schueler.push_back({"Berger", "Lena", {"", "", "", "", ""}, "", "", ""});
    soll.schueler.push_back({"Zander", "Max", {"4", "", "4.00", "", "4.00"}, "0171 2", "", "1"});
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(soll));
}
