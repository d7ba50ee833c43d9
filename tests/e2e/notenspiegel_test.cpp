// The Notenspiegel from the column menu of a real gradebook under Xvfb: the
// menu shows six tiles, the fifth opens the box with the column's counts,
// and the class file is saved unchanged afterwards.
#include <gtest/gtest.h>

#include <cstdlib>

#include "gradebook_files.hpp"
#include "harness.hpp"

namespace {
constexpr uint32_t Rgb(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }

// Length of the run of `farbe` that starts at (x, y) going right.
int Lauf(const Screenshot& s, uint32_t farbe, int x, int y) {
    int n = 0;
    while (x + n < s.width && s.At(x + n, y) == farbe) ++n;
    return n;
}

TEST(Notenspiegel, ColumnMenuOpensTheBoxAndTheFileStaysAsItWas) {
    VirtualDisplay display{1920, 1080};
    ASSERT_TRUE(display.Ok());
    setenv("HOME", "/tmp/rk-e2e-home", 1);
    unsetenv("USERPROFILE");
    ProgramUnderTest p(display);

    // In name order, so that saving on the way out writes the same bytes.
    TestGradebook g{"7a", "Deutsch", {{"Arbeit", "14.10.26"}, {"Mündl.", "20.10.26"}}, {}};
    const char* noten[] = {"1-", "2-3", "5+", "6", "n.f.", "3"};
    const char* namen[] = {"Adler", "Becker", "Cem", "Dorn", "Engel", "Fuchs"};
    for (int i = 0; i < 6; ++i) g.schueler.push_back({namen[i], "Kim", {noten[i], "2"}, "", "", ""});
    const std::string pfad = WriteClassFile(p.Folder(), g);

    ASSERT_TRUE(p.Start());
    ASSERT_TRUE(p.OpenTheOnlyClass());

    // Header of column 1 (x 240): the column menu opens at (240 - 122, 122),
    // two tiles of 152 x 101 a row with gaps of 4.
    p.Click(240 + 38, 60);
    SleepMs(600);
    const Screenshot menu = p.Shoot();
    p.Save(menu, "spaltenmenue-offen");
    const int mx = 118 + 4, my = 122 + 4;
    auto kachelMitte = [&](int i) { return std::pair{mx + (i % 2) * 156 + 76, my + (i / 2) * 105 + 20}; };
    for (int i = 0; i < 6; ++i) {
        const auto [x, y] = kachelMitte(i);
        EXPECT_GE(Lauf(menu, Rgb(48, 48, 48), x - 70, y), 20) << "tile " << i;
    }
    const auto [x6, y6] = kachelMitte(6);
    EXPECT_NE(menu.At(x6 - 70, y6), Rgb(48, 48, 48)) << "a seventh tile";

    const auto [x4, y4] = kachelMitte(4);
    p.Click(x4, y4 + 30);
    SleepMs(800);
    const Screenshot box = p.Shoot();
    const std::string bild = p.Save(box, "notenspiegel-box");

    // The panel's frame line in the title colour, and inside it the red
    // line: 2 of 5 counted grades are 5 or 6.
    int fx = -1, fy = -1, fb = 0;
    for (int y = 200; y < 900 && fx < 0; ++y)
        for (int x = 300; x < 1620; ++x)
            if (int n = Lauf(box, Rgb(255, 255, 0), x, y); n > 200) {
                fx = x, fy = y, fb = n;
                break;
            }
    ASSERT_GE(fx, 0) << "no Notenspiegel box in " << bild;
    int fh = 1;
    while (fy + fh < 1080 && box.At(fx, fy + fh) == Rgb(255, 255, 0)) ++fh;
    EXPECT_GT(fh, 200) << "box too low for its lines";
    int rot = 0;
    for (int y = fy; y < fy + fh; ++y)
        for (int x = fx; x < fx + fb; ++x) rot += box.At(x, y) == Rgb(255, 0, 0);
    EXPECT_GT(rot, 20) << "no red one-third line in " << bild;

    // Ok closes the box: the grid shows again where the panel stood.
    int bx = -1, by = -1;
    for (int y = fy + fh / 2; y < fy + fh && bx < 0; ++y)
        for (int x = fx; x < fx + fb; ++x)
            if (Lauf(box, Rgb(56, 56, 56), x, y) > 40) {
                bx = x, by = y;
                break;
            }
    ASSERT_GE(bx, 0) << "no Ok button";
    p.Click(bx + 20, by + 10);
    SleepMs(600);
    const Screenshot danach = p.Shoot();
    p.Save(danach, "notenspiegel-geschlossen");
    EXPECT_NE(danach.At(fx, fy), Rgb(255, 255, 0));
    EXPECT_TRUE(p.Running());

    p.Key("Escape");
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(8000, status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(g));
}
}  // namespace
