// Editing a gradebook on the class screen with the real program under Xvfb:
// grades tapped from the grade menu, a free text through "?", a report grade,
// an average cell that refuses, a student renamed on the physical keyboard;
// the saved class file checked byte for byte, averages included.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "gradebook/grade_scale.hpp"
#include "gradebook_files.hpp"
#include "harness.hpp"

namespace {

uint32_t Rgb(const std::array<int, 3>& c) { return (uint32_t(c[0]) << 16) | (uint32_t(c[1]) << 8) | uint32_t(c[2]); }

// Pixels of exactly this colour in the rectangle.
int Anzahl(const Screenshot& s, uint32_t farbe, int x0, int y0, int w, int h) {
    int n = 0;
    for (int y = y0; y < y0 + h; ++y)
        for (int x = x0; x < x0 + w; ++x) n += s.At(x, y) == farbe;
    return n;
}

// Columns 1 Arbeit, 2 Mündl., 3 Zeugnis, 4-6 the average group (whose date
// cells hold "Ø" in the file).
TestGradebook Klasse() {
    TestGradebook g{"7a", "Mathe",
                    {{"Arbeit", "14.10.26"}, {"Mündl.", "20.10.26"}, {"Zeugnis", "31.01.27"},
                     {"schriftl.", "Ø"}, {"sonst.", "Ø"}, {"HauptF.", "Ø"}},
                    {}};
    g.schueler.push_back({"Berger", "Lena", {"", "1", "", "", "1.00", "1.00"}, "", "", ""});
    g.schueler.push_back({"Özdemir", "Can", {"4+", "", "", "3.75", "", "3.75"}, "0151 2345", "Sitzt vorne", ""});
    return g;
}

class Bearbeiten : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.Ok());
        setenv("HOME", "/tmp/rk-e2e-home", 1);
        unsetenv("USERPROFILE");
    }
    void Oeffnen() {
        ASSERT_TRUE(p.Start());
        ASSERT_TRUE(p.OpenTheOnlyClass());
    }
    // Cell (i, j) of a grid that fits the window: column j at 160 + 80 j, row i at 46 + 84 i.
    static int ZelleX(int j) { return 160 + 80 * j + 38; }
    static int ZelleY(int i) { return 46 + 84 * i + 38; }
    VirtualDisplay display{1920, 1080};
    ProgramUnderTest p{display};
};
}  // namespace

TEST_F(Bearbeiten, GradesFreeTextReportGradeRefusalAndRenameAreSaved) {
    const std::string pfad = WriteClassFile(p.Folder(), Klasse());
    Oeffnen();

    // Berger, Arbeit: the grade menu opens centred on the tap at (278, 168),
    // pushed down to the top edge: x 180, y 0; "2" is tile 4.
    p.Click(ZelleX(1), ZelleY(1));
    SleepMs(500);
    const Screenshot menue = p.Shoot();
    p.Save(menue, "notenmenue-ueber-klasse");
    EXPECT_EQ(menue.At(181, 1), Rgb({24, 24, 24}));      // panel
    EXPECT_EQ(menue.At(180 + 196 - 2, 300), Rgb({24, 24, 24}));
    EXPECT_NE(menue.At(180 + 196 + 2, 300), Rgb({24, 24, 24}));
    p.Click(180 + 4 + 64 + 30, 4 + 64 + 30);
    SleepMs(600);
    Screenshot s = p.Shoot();
    p.Save(s, "note-eingetragen");
    EXPECT_GT(Anzahl(s, Rgb(Notenfarbe(u"2", 0)), 240, 130, 76, 76), 10) << "the grade is not drawn in its colour";

    // Berger, Zeugnis: "2-" (tile 5) is stored as "2", in the colour of "2-".
    p.Click(ZelleX(3), ZelleY(1));
    SleepMs(500);
    p.Click(340 + 4 + 128 + 30, 4 + 64 + 30);
    SleepMs(600);

    // Özdemir, Mündl.: "?" (tile 17) and a typed grade with blanks around it.
    // The menu stands at (358 - 98, 252 - 194) = (260, 58).
    p.Click(ZelleX(2), ZelleY(2));
    SleepMs(500);
    p.Click(260 + 4 + 128 + 30, 58 + 4 + 5 * 64 + 30);
    SleepMs(700);
    p.Type("  3- ");
    p.Key("Return");
    SleepMs(600);
    s = p.Shoot();
    p.Save(s, "freitext-eingetragen");
    EXPECT_GT(Anzahl(s, Rgb(Notenfarbe(u"3-", 0)), 320, 214, 76, 76), 10);

    // An average cell refuses with a yellow "Info" box.
    p.Click(ZelleX(4), ZelleY(1));
    SleepMs(600);
    s = p.Shoot();
    p.Save(s, "durchschnitt-verweigert");
    EXPECT_GT(Anzahl(s, 0xFFFF00u, 500, 300, 920, 480), 50) << "no yellow Info box";
    p.Key("Return");
    SleepMs(500);

    // Berger becomes Zeller: the row menu beside the default head (160 wide),
    // at y 130 - 50.75; "Name ändern" is its first tile.
    p.Click(122, ZelleY(1));
    SleepMs(600);
    s = p.Shoot();
    p.Save(s, "zeilenmenue-ueber-klasse");
    EXPECT_EQ(s.At(161, 80), Rgb({24, 24, 24}));  // the panel's corner
    EXPECT_EQ(s.At(160 + 4 + 15, 79 + 4 + 40), Rgb({48, 48, 48}));  // face of "Name ändern"
    p.Click(160 + 4 + 114, 79 + 4 + 42);
    SleepMs(700);
    p.Focus();
    p.Xdo({"key", "--delay", "60", "--repeat", "16", "BackSpace"});
    p.Type("Lena Marie, Zeller");
    p.Key("Return");
    SleepMs(700);
    p.Save(p.Shoot(), "umbenannt");

    p.Key("Escape");
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(8000, status));
    EXPECT_EQ(status, 0);
    TestGradebook soll = Klasse();
    soll.schueler[0] = {"Özdemir", "Can", {"4+", "3-", "", "3.75", "3.25", "3.50"}, "0151 2345", "Sitzt vorne", ""};
    soll.schueler[1] = {"Zeller", "Lena Marie", {"2", "1", "2", "2.00", "1.00", "1.50"}, "", "", ""};
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(soll));
}
