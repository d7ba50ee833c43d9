// No grade lost and none wrong, with the real program under Xvfb: a new class
// with one student survives kill -9 (listed in the catalogue, the student
// offered back), and a tap on a cell followed at once by the typed grade and
// Enter enters exactly that grade, twenty times in a row.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "gradebook_files.hpp"
#include "harness.hpp"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;
constexpr uint32_t kKachel = (56u << 16) | (48u << 8) | 64u;

int ZeileY(int i) { return 46 + 84 * i; }
int SpalteX(int j) { return 160 + 80 * j; }

void Umgebung() {
    setenv("HOME", "/tmp/rk-e2e-home", 1);
    unsetenv("USERPROFILE");
}

// Ten students, two empty grade columns; nachher: the grades the test types.
const char* const kNoten[] = {"1", "2-", "3+", "4", "5-", "6", "2", "n.f.", "1+", "3-",
                              "4-", "5", "2+", "3", "1-", "6", "4+", "2", "5+", "3"};
TestGradebook Klasse(bool nachher) {
    TestGradebook g{"7c", "Physik", {{"Test", "01.10.26"}, {"HÜ", "02.10.26"}}, {}};
    for (int i = 0; i < 10; ++i) {
        TestStudent s{std::string("Schüler") + char('A' + i), "Kim", {"", ""}, "", "", ""};
        if (nachher) s.noten = {kNoten[i], kNoten[10 + i]};
        g.schueler.push_back(s);
    }
    return g;
}
}  // namespace

TEST(KeineNoteVerloren, ANewClassWithOneStudentSurvivesAKillAndOffersTheStudentBack) {
    VirtualDisplay display(1920, 1080);
    ASSERT_TRUE(display.Ok());
    Umgebung();
    ProgramUnderTest p(display);
    ASSERT_TRUE(p.Start());
    ASSERT_NE(p.WaitForWindow(), 0u);
    ASSERT_TRUE(p.WaitForPixel(960, 1070, kHintergrund));
    SleepMs(800);
    // Optionen -> "Neue Klasse erstellen", class and subject.
    p.Click(846 + 114, 123 + 57);
    SleepMs(600);
    p.Click(652 + 4 + 1 * 204 + 100, 237 + 4 + 45);
    SleepMs(700);
    p.Type("8b");
    p.Key("Return");
    SleepMs(700);
    p.Type("Englisch");
    p.Key("Return");
    ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
    const std::string datei = p.Folder() + "/Noten/8b/8b Englisch.slk";
    EXPECT_EQ(ReadFileBytes(datei), ClassFileBytes({"8b", "Englisch", {}, {}})) << "not on disk at once";
    SleepMs(500);
    // One student through the class menu's "Neue Schülerzeile".
    p.Click(100, 60);
    SleepMs(600);
    p.Click(4 + 0 * 204 + 100, 4 + 1 * 94 + 45);
    SleepMs(700);
    p.Type("Zofia, Wisniewska");
    p.Key("Return");
    SleepMs(800);
    TestGradebook mitSchuelerin{"8b", "Englisch", {}, {{"Wisniewska", "Zofia", {}, "", "", ""}}};
    ASSERT_EQ(ReadFileBytes(datei + ".ungespeichert"), ClassFileBytes(mitSchuelerin));
    p.Kill();

    // The next start lists the class; opening it offers the student back.
    ASSERT_TRUE(p.Start());
    ASSERT_NE(p.WaitForWindow(), 0u);
    ASSERT_TRUE(p.WaitForPixel(848, 663 + 111, kKachel)) << "the class is not in the catalogue";
    SleepMs(500);
    p.Save(p.Shoot(), "neue-klasse-nach-absturz");
    p.Click(846 + 114, 663 + 57);
    Screenshot s;
    int x = 0, y = 0;
    for (int n = 0; n < 100 && !BoxButton(s = p.Shoot(), 0, x, y); ++n) SleepMs(100);
    SleepMs(400);
    s = p.Shoot();
    p.Save(s, "neue-klasse-angebot");
    ASSERT_TRUE(BoxButton(s, 0, x, y)) << "no offer";
    p.Click(x, y);  // "Wiederherstellen"
    ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
    SleepMs(800);
    p.Save(p.Shoot(), "neue-klasse-wiederhergestellt");
    p.Key("Escape");
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(8000, status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFileBytes(datei), ClassFileBytes(mitSchuelerin));
    EXPECT_FALSE(fs::exists(datei + ".ungespeichert"));
}

TEST(KeineNoteVerloren, ATapFollowedAtOnceByTheTypedGradeEntersExactlyThatGradeTwentyTimes) {
    VirtualDisplay display(1920, 1080);
    ASSERT_TRUE(display.Ok());
    Umgebung();
    ProgramUnderTest p(display);
    const std::string pfad = WriteClassFile(p.Folder(), Klasse(false));
    ASSERT_TRUE(p.Start());
    ASSERT_TRUE(p.OpenTheOnlyClass());
    ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
    p.Focus();
    for (int n = 0; n < 20; ++n) {
        const int x = SpalteX(1 + n / 10) + 38, y = ZeileY(1 + n % 10) + 38;
        // One xdotool run: the tap, then at once the grade and Return.
        p.Xdo({"mousemove", "--sync", std::to_string(x), std::to_string(y), "mousedown", "1", "sleep", "0.05",
               "mouseup", "1", "type", "--delay", "12", std::string(kNoten[n]) + "\r"});
        SleepMs(400);
    }
    SleepMs(500);
    p.Save(p.Shoot(), "sofort-getippt");
    p.Key("Escape");
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(8000, status));
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(Klasse(true)));
}
