// The lesson with the real program under Xvfb: a class of 28 with photos,
// the seating plan opened from the class menu, two students dragged to other
// desks, a roll call of three absences and one late arrival, an oral grade
// tapped on the plan, Escape. The plan and attendance files hold exactly
// that, the class file the grade with its averages, and the restarted
// program shows the same plan, pixel for pixel at the moved desks.
#include <gtest/gtest.h>

#include <ctime>
#include <filesystem>

#include "gradebook_files.hpp"
#include "harness.hpp"
#include "platform/pixmap.hpp"
#include "platform/text.hpp"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kKachel = (56u << 16) | (48u << 8) | 64u;
constexpr uint32_t kPlangrund = (12u << 16) | 42u;

uint32_t Farbe(int i) { return (uint32_t(40 + i * 7) << 16) | (uint32_t(200 - i * 5) << 8) | uint32_t(60 + i * 6); }

// The room as the program lays it out: `spalten` x `reihen` places, row 1 at the bottom.
struct Raum {
    int spalten, reihen;
    int Teilung() const { return std::clamp(std::min((1920 - 16) / spalten, (1080 - 100 - 60) / reihen), 40, 220); }
    // Centre of desk (s, r) and its picture's middle.
    std::pair<int, int> Mitte(int s, int r) const {
        const int t = Teilung(), links = (1920 - spalten * t) / 2;
        return {links + (s - 1) * t + t / 2, 1020 - r * t + t / 2};
    }
};
const Raum kPlan{7, 5}, kAnordnen{8, 6};

void Ziehen(ProgramUnderTest& p, std::pair<int, int> von, std::pair<int, int> nach) {
    p.MoveTo(von.first, von.second);
    SleepMs(80);
    p.Xdo({"mousedown", "1"});
    SleepMs(100);
    for (int i = 1; i <= 8; ++i) {
        p.MoveTo(von.first + (nach.first - von.first) * i / 8, von.second + (nach.second - von.second) * i / 8);
        SleepMs(40);
    }
    SleepMs(100);
    p.Xdo({"mouseup", "1"});
    SleepMs(300);
}

std::string Heute() {
    const std::time_t t = std::time(nullptr);
    char b[16];
    std::strftime(b, sizeof b, "%d.%m.%y", std::localtime(&t));
    return b;
}

void Knopf(ProgramUnderTest& p, int k) {
    p.Click(8 + k * 208 + 100, 44);
    SleepMs(400);
}
}  // namespace

TEST(Sitzplan, LessonOnThePlanKeepsExactlyWhatWasDoneAndTheSamePlanAfterARestart) {
    VirtualDisplay display{1920, 1080};
    ASSERT_TRUE(display.Ok());
    ProgramUnderTest p{display};
    TestGradebook g{"7a", "Mathe", {{"Arbeit", "01.10.26"}, {"schriftl.", "Ø"}, {"sonst.", "Ø"}, {"HauptF.", "Ø"}}, {}};
    const char* nachnamen[] = {"Adam", "Bach", "Cordes", "Dietz", "Eck", "Falk", "Gross", "Haas", "Iske", "Jahn",
                               "Kern", "Lang", "Mohr", "Müller", "Nagel", "Ott", "Pohl", "Quast", "Roth", "Sauer",
                               "Thiel", "Ude", "Voss", "Witt", "Xander", "Yilmaz", "Zahn", "Zorn"};
    for (int i = 0; i < 28; ++i) g.schueler.push_back({nachnamen[i], "Kind" + std::to_string(i + 1), {"3", "3.00", "", "3.00"}, "", "", ""});
    WriteClassFile(p.Folder(), g);
    fs::create_directories(p.Folder() + "/Noten/7a/Bilder");
    for (int i = 0; i < 28; ++i) {
        TPixmap bild = CreatePixmap(360, 360, 3, 4);
        for (int y = 0; y < 360; ++y)
            for (int x = 0; x < 360; ++x) WritePixel(bild, x, y, 0xFF000000u | Farbe(i));
        ASSERT_TRUE(SavePixmapAsPNG(bild, TextFromUtf8(p.Folder() + "/Noten/7a/Bilder/" + nachnamen[i] + " Kind" +
                                                       std::to_string(i + 1) + ".png"),
                                    0));
    }

    ASSERT_TRUE(p.Start());
    ASSERT_TRUE(p.OpenTheOnlyClass());
    ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
    p.Click(100, 60);  // the class menu
    SleepMs(600);
    p.Save(p.Shoot(), "sitzplan-klassenmenue");
    p.Click(4 + 100, 4 + 6 * 94 + 45);  // tile 12, "Sitzplan"
    // Left of the desks: a name tile or the class menu until the plan stands.
    ASSERT_TRUE(p.WaitForPixel(150, 400, kPlangrund));
    SleepMs(300);
    const Screenshot anfang = p.Shoot();
    p.Save(anfang, "sitzplan-neu");
    // The default plan: name order from the front left, six to a row, an aisle at column 4.
    auto [ax, ay] = kPlan.Mitte(1, 1);
    EXPECT_EQ(anfang.At(ax, ay - 20), Farbe(0));
    std::tie(ax, ay) = kPlan.Mitte(5, 1);
    EXPECT_EQ(anfang.At(ax, ay - 20), Farbe(3));
    std::tie(ax, ay) = kPlan.Mitte(1, 2);
    EXPECT_EQ(anfang.At(ax, ay - 20), Farbe(6));

    // Arranging: Adam (1,1) to the empty place (4,2), Bach (2,1) swaps with Zorn (5,5).
    Knopf(p, 0);
    Ziehen(p, kAnordnen.Mitte(1, 1), kAnordnen.Mitte(4, 2));
    Ziehen(p, kAnordnen.Mitte(2, 1), kAnordnen.Mitte(5, 5));
    p.Save(p.Shoot(), "sitzplan-angeordnet");
    Knopf(p, 0);

    // Roll call in the third lesson: Cordes, Dietz and Eck absent, Falk ten minutes late.
    Knopf(p, 2);
    p.Save(p.Shoot(), "sitzplan-stundenwahl");
    p.Click(648 + 4 + 2 * 124 + 60, 100 + 4 + 40);
    SleepMs(400);
    for (auto [s, r] : {std::pair{3, 1}, std::pair{5, 1}, std::pair{6, 1}}) {
        const auto [x, y] = kPlan.Mitte(s, r);
        p.Click(x, y);
        SleepMs(200);
    }
    const auto [fx, fy] = kPlan.Mitte(7, 1);  // Falk: absent, then late
    p.Click(fx, fy);
    SleepMs(300);
    p.Click(fx, fy);
    SleepMs(500);
    p.Save(p.Shoot(), "sitzplan-minuten");
    p.Click(fx - 84, std::min(fy, 1080 - 44));
    SleepMs(400);
    p.Save(p.Shoot(), "sitzplan-anwesenheit");
    Knopf(p, 2);

    // An oral grade for Gross (1,2): today's "Mündl." column, then "2" beside the tile.
    Knopf(p, 3);
    p.Save(p.Shoot(), "sitzplan-spaltenwahl");
    p.Click(632 + 4 + 55, 88 + 4 + 35);
    SleepMs(500);
    const auto [gx, gy] = kPlan.Mitte(1, 2);
    p.Click(gx, gy);
    SleepMs(500);
    p.Save(p.Shoot(), "sitzplan-notenmenue");
    const int t = kPlan.Teilung();
    const int mx = gx - t / 2 + 4 + (t - 8) + 8, my = std::clamp(gy - 194, 0, 1080 - 388);
    p.Click(mx + 98, my + 98);
    SleepMs(500);
    p.Save(p.Shoot(), "sitzplan-note");
    Knopf(p, 3);
    SleepMs(300);
    const Screenshot vorher = p.Shoot();
    p.Save(vorher, "sitzplan-vorher");
    p.Key("Escape");  // back to the grid
    ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
    SleepMs(500);
    p.Save(p.Shoot(), "sitzplan-zurueck");
    p.Key("Escape");  // saves and ends
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(10000, status));
    EXPECT_EQ(status, 0);

    const std::string ordner = p.Folder() + "/Noten/7a/";
    EXPECT_EQ(ReadFileBytes(ordner + "7a Mathe.sitzplan"),
              ";;1;1\r\nZorn;Kind28;2;1\r\nCordes;Kind3;3;1\r\nDietz;Kind4;5;1\r\nEck;Kind5;6;1\r\nFalk;Kind6;7;1\r\n"
              "Gross;Kind7;1;2\r\nHaas;Kind8;2;2\r\nIske;Kind9;3;2\r\nAdam;Kind1;4;2\r\nJahn;Kind10;5;2\r\n"
              "Kern;Kind11;6;2\r\nLang;Kind12;7;2\r\nMohr;Kind13;1;3\r\nM\xFCller;Kind14;2;3\r\nNagel;Kind15;3;3\r\n"
              "Ott;Kind16;5;3\r\nPohl;Kind17;6;3\r\nQuast;Kind18;7;3\r\nRoth;Kind19;1;4\r\nSauer;Kind20;2;4\r\n"
              "Thiel;Kind21;3;4\r\nUde;Kind22;5;4\r\nVoss;Kind23;6;4\r\nWitt;Kind24;7;4\r\nXander;Kind25;1;5\r\n"
              "Yilmaz;Kind26;2;5\r\nZahn;Kind27;3;5\r\nBach;Kind2;5;5\r\n");
    const std::string d = Heute();
    EXPECT_EQ(ReadFileBytes(ordner + "7a Mathe.fehlzeiten"),
              d + ";3;Cordes;Kind3;F;\r\n" + d + ";3;Dietz;Kind4;F;\r\n" + d + ";3;Eck;Kind5;F;\r\n" + d +
                  ";3;Falk;Kind6;V;10\r\n");
    const std::string klasse = ReadFileBytes(ordner + "7a Mathe.slk");
    // The new column stands in front of the average group; Gross has "3" written and "2" oral.
    EXPECT_NE(klasse.find("C;X4;Y3;K\"M\xFCndl.\"\r\n"), std::string::npos);
    EXPECT_NE(klasse.find("C;X4;Y4;K\"" + d + "\"\r\n"), std::string::npos);
    const size_t gross = klasse.find("K\"Gross\"");
    ASSERT_NE(gross, std::string::npos);
    EXPECT_NE(klasse.find("C;X3;Y11;K\"3\"\r\nC;X4;Y11;K\"2\"\r\nC;X5;Y11;K\"3.00\"\r\nC;X6;Y11;K\"2.00\"\r\n"
                          "C;X7;Y11;K\"2.50\"\r\n", gross), std::string::npos) << klasse.substr(gross, 200);
    EXPECT_FALSE(fs::exists(ordner + "7a Mathe.slk.ungespeichert"));

    // Restarted: the same plan, pixel for pixel at the moved desks.
    ProgramUnderTest q{display, p};
    ASSERT_TRUE(q.Start());
    ASSERT_TRUE(q.OpenTheOnlyClass());
    ASSERT_TRUE(q.WaitForPixel(10, 8 + 111, kKachel));
    q.Click(100, 60);
    SleepMs(600);
    q.Click(4 + 100, 4 + 6 * 94 + 45);
    ASSERT_TRUE(q.WaitForPixel(150, 400, kPlangrund));
    SleepMs(300);
    const Screenshot nachher = q.Shoot();
    q.Save(nachher, "sitzplan-nach-neustart");
    for (auto [s, r] : {std::pair{1, 1}, std::pair{2, 1}, std::pair{4, 2}, std::pair{5, 5}}) {
        const auto [x, y] = kPlan.Mitte(s, r);
        int anders = 0;
        for (int yy = y - t / 2; yy < y + t / 2; ++yy)
            for (int xx = x - t / 2; xx < x + t / 2; ++xx) anders += vorher.At(xx, yy) != nachher.At(xx, yy);
        EXPECT_EQ(anders, 0) << "desk " << s << "," << r;
    }
    EXPECT_EQ(nachher.At(kPlan.Mitte(4, 2).first, kPlan.Mitte(4, 2).second - 20), Farbe(0));   // Adam
    EXPECT_EQ(nachher.At(kPlan.Mitte(5, 5).first, kPlan.Mitte(5, 5).second - 20), Farbe(1));   // Bach
    EXPECT_EQ(nachher.At(kPlan.Mitte(2, 1).first, kPlan.Mitte(2, 1).second - 20), Farbe(27));  // Zorn
    q.Key("Escape");
    ASSERT_TRUE(q.WaitForPixel(10, 8 + 111, kKachel));
    SleepMs(400);
    // Cordes's row menu (row 3, beside the 360-pixel portrait), tile 9 "Fehlzeiten": the counts and the list.
    q.Click(120, 46 + 84 * 3 + 38);
    SleepMs(600);
    q.Save(q.Shoot(), "sitzplan-zeilenmenue");
    q.Click(360 + 4 + 232 + 114, 247 + 4 + 4 * 89 + 42);
    SleepMs(600);
    q.Save(q.Shoot(), "sitzplan-fehlzeitenliste");
    q.Key("Escape");
    SleepMs(400);
    q.Key("Escape");
    EXPECT_TRUE(q.WaitForExit(10000, status));
    EXPECT_EQ(ReadFileBytes(ordner + "7a Mathe.fehlzeiten"),
              d + ";3;Cordes;Kind3;F;\r\n" + d + ";3;Dietz;Kind4;F;\r\n" + d + ";3;Eck;Kind5;F;\r\n" + d +
                  ";3;Falk;Kind6;V;10\r\n");
}
