// A class test's grades typed in one go with the real program under Xvfb: the
// series started from the column menu of a 28-student class, every grade and
// Enter in a single xdotool run (the two students who already have one are
// passed over, their grades kept), then Escape; the saved class file holds exactly those
// grades with their averages. Before that a series on the last column, at the
// window's right edge, is skipped down to its lower edge; the pictures are kept.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gradebook_files.hpp"
#include "harness.hpp"

namespace {
constexpr uint32_t kWeiss = 0xFFFFFFu;
constexpr uint32_t kPanel = (24u << 16) | (24u << 8) | 24u;
constexpr int kStudenten = 28;
constexpr int kMuendl = 17;
constexpr int kArbeit = 18;  // the series' column
constexpr int kLetzte = 22;  // "HÜ", after the average group
// The class opens scrolled to its last column: 84 pixels left.
constexpr int SpalteX(int j) { return 160 + 80 * j - 84; }

struct Eintrag {
    const char* getippt;  // nullptr: the space bar (the student keeps the grade he has)
    const char* note;
    const char* schriftl;
    const char* gesamt;   // HauptF. with a "2" in Mündl.: (written + 2.00) / 2, cut to four characters
};
const Eintrag kNoten[] = {{"1", "1", "1.00", "1.50"},   {"2-", "2-", "2.25", "2.12"}, {"3", "3", "3.00", "2.50"},
                          {"4", "4", "4.00", "3.00"},   {"5", "5", "5.00", "3.50"},   {"6", "6", "6.00", "4.00"},
                          {"2", "2", "2.00", "2.00"},   {"n", "n.f.", "6.00", "4.00"}};

// Columns 1-16 "Test" (empty), 17 Mündl. ("2" for everybody), 18 Arbeit, 19-21 the
// average group, 22 "HÜ" (empty). Students 5 and 17 wrote the test earlier and
// have their "3".
TestGradebook Klasse(bool nachher) {
    TestGradebook g{"8b", "Mathe", {}, {}};
    for (int j = 1; j < kMuendl; ++j) g.spalten.push_back({"Test", "01.10.26"});
    g.spalten.push_back({"Mündl.", "02.10.26"});
    g.spalten.push_back({"Arbeit", "14.10.26"});
    for (const char* t : {"schriftl.", "sonst.", "HauptF."}) g.spalten.push_back({t, "Ø"});
    g.spalten.push_back({"HÜ", "20.10.26"});
    int n = 0;
    for (int i = 1; i <= kStudenten; ++i) {
        TestStudent s{std::string("Schüler") + char('A' + i / 26) + char('a' + i % 26), "Kim", {}, "", "", ""};
        s.noten.assign(g.spalten.size(), "");
        s.noten[kMuendl - 1] = "2";
        const bool frueher = i == 5 || i == 17;
        const Eintrag* e = nachher && !frueher ? &kNoten[n++ % 8] : nullptr;
        s.noten[kArbeit - 1] = frueher ? "3" : e ? e->note : "";
        s.noten[kArbeit] = frueher ? "3.00" : e ? e->schriftl : "";
        s.noten[kArbeit + 1] = "2.00";
        s.noten[kArbeit + 2] = frueher ? "2.50" : e ? e->gesamt : "2.00";
        g.schueler.push_back(s);
    }
    return g;
}

// Where the shown grade menu's panel starts in row y: the first run of its colour.
int PanelX(const Screenshot& s, int y) {
    for (int x = 0; x + 20 < s.width; ++x) {
        int n = 0;
        while (n < 20 && s.At(x + n, y) == kPanel) ++n;
        if (n == 20) return x;
    }
    return -1;
}

// The white frame around the cell at (x, y): its four sides, 4 pixels wide.
bool Markiert(const Screenshot& s, int x, int y) {
    for (int d = 1; d <= 4; ++d)
        if (s.At(x + 38, y - d) != kWeiss || s.At(x + 38, y + 75 + d) != kWeiss || s.At(x - d, y + 38) != kWeiss ||
            s.At(x + 75 + d, y + 38) != kWeiss)
            return false;
    return true;
}
}  // namespace

TEST(Notenserie, TwentyEightGradesTypedInOneRunAreSavedWithTheirAverages) {
    VirtualDisplay display{1920, 1080};
    ASSERT_TRUE(display.Ok());
    setenv("HOME", "/tmp/rk-e2e-home", 1);
    unsetenv("USERPROFILE");
    ProgramUnderTest p(display);
    const std::string pfad = WriteClassFile(p.Folder(), Klasse(false));
    ASSERT_TRUE(p.Start());
    ASSERT_TRUE(p.OpenTheOnlyClass());

    // The column menu (two tiles of 152 x 101 a row, kept inside the window)
    // and its sixth tile, "Noten eintragen".
    auto serieStarten = [&](int spalte) {
        const int x = SpalteX(spalte);
        p.Click(x + 38, 60);
        SleepMs(600);
        const int mx = std::min(x - 122, 1920 - 308) + 4, my = 122 + 4;
        p.Click(mx + 156 + 76, my + 2 * 105 + 50);
        SleepMs(600);
    };

    // "HÜ", at the right edge: the space bar down to student 11, the last
    // row fully in the window; the menu stands left of the column and keeps
    // inside the window's lower edge.
    serieStarten(kLetzte);
    for (int i = 1; i < 11; ++i) p.Key("space");
    SleepMs(2000);  // keys wait for each slide to end
    const Screenshot unten = p.Shoot();
    p.Save(unten, "notenserie-unterer-rand");
    const int zx = SpalteX(kLetzte), zy = 46 + 84 * 11;
    EXPECT_TRUE(Markiert(unten, zx, zy)) << "student 11 is not marked";
    // Its bottom gap is the window's last rows, its top 388 rows above.
    EXPECT_EQ(PanelX(unten, 1078), zx - 8 - 196) << "menu not left of the column at the bottom";
    EXPECT_EQ(PanelX(unten, 1080 - 388 + 1), zx - 8 - 196);
    EXPECT_NE(unten.At(zx - 8 - 100, 1080 - 388 - 2), kPanel) << "menu not pushed up to the lower edge";
    p.Key("Escape");
    SleepMs(500);
    ASSERT_TRUE(p.Running()) << "Escape ended more than the series";

    // Arbeit: the series starts at student 1, its menu right of the column
    // and pushed down to the window's top.
    serieStarten(kArbeit);
    const Screenshot oben = p.Shoot();
    p.Save(oben, "notenserie-start");
    EXPECT_TRUE(Markiert(oben, SpalteX(kArbeit), 130)) << "student 1 is not marked";
    EXPECT_EQ(PanelX(oben, 2), SpalteX(kArbeit) + 76 + 8) << "menu not right of the column at the top";

    // Everything in one run: grade and Enter; 5 and 17 keep their "3" untyped.
    std::string lauf;
    int n = 0;
    for (int i = 1; i <= kStudenten; ++i)
        if (i != 5 && i != 17) lauf += std::string(kNoten[n++ % 8].getippt) + "\r";  // "\r": xdotool types Return (for "\n" Linefeed)
    p.Type(lauf);
    // The keys typed ahead are worked off one student per slide (each
    // waits until the menu stands), on a loaded machine a few seconds.
    SleepMs(8000);
    const Screenshot ende = p.Shoot();
    p.Save(ende, "notenserie-fertig");
    EXPECT_EQ(PanelX(ende, 540), -1) << "the series did not end after the last student";

    p.Key("Escape");
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(8000, status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(Klasse(true)));
}
