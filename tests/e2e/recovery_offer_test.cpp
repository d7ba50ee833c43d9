// Unsaved changes after a crash, in the real program: grades entered, or a
// student and a column added, then the program killed; at the next opening
// the "Info" box offers them. "Wiederherstellen" opens them and Escape saves
// them; "Verwerfen" opens the class file and puts the changes into the
// class's "Backups" folder. A gradebook whose cells name another class is
// kept, with one "Info" box, as the class of its tile and saved only there.
#include <gtest/gtest.h>

#include <filesystem>

#include "gradebook/dates.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook_files.hpp"
#include "harness.hpp"
#include "platform/datetime.hpp"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;
constexpr uint32_t kKachel = (56u << 16) | (48u << 8) | 64u;

uint32_t Rgb(const std::array<int, 3>& c) { return (uint32_t(c[0]) << 16) | (uint32_t(c[1]) << 8) | uint32_t(c[2]); }

TestGradebook Vorher() {
    TestGradebook g{"7a", "Mathe", {{"Arbeit", "01.10.26"}}, {}};
    g.schueler.push_back({"Adler", "Eva", {"2"}, "", "", ""});
    g.schueler.push_back({"Zander", "Max", {"4"}, "0171 2", "", "1"});
    return g;
}

// After the edits: Lena Berger between the two, a "Test" column of today.
TestGradebook Nachher() {
    TestGradebook g = Vorher();
    g.spalten.push_back({"Test", Utf8FromText(DatumVerschieben(CurrentDateText(), 0))});
    g.schueler.insert(g.schueler.begin() + 1, TestStudent{"Berger", "Lena", {"", ""}, "", "", ""});
    return g;
}

class Wiederherstellung : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.Ok());
        setenv("HOME", "/tmp/rk-e2e-home", 1);
        unsetenv("USERPROFILE");
        pfad = WriteClassFile(p.Folder(), Vorher());
    }
    void KlasseAntippen() {
        ASSERT_TRUE(p.Start());
        ASSERT_NE(p.WaitForWindow(), 0u);
        ASSERT_TRUE(p.WaitForPixel(848, 663 + 111, kKachel));
        p.Click(846 + 114, 663 + 57);
    }
    void Klassenbefehl(int kachel) {
        p.Click(100, 60);
        SleepMs(600);
        p.Click(4 + (kachel % 2) * 204 + 100, 4 + (kachel / 2) * 94 + 45);
        SleepMs(700);
    }
    // Adds Lena Berger and a "Test" column, then kills the program.
    void BearbeitenUndAbstuerzen() {
        KlasseAntippen();
        ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
        SleepMs(700);
        Klassenbefehl(2);
        p.Type("Lena, Berger");
        p.Key("Return");
        SleepMs(700);
        Klassenbefehl(3);
        p.Click(416 + 3 * 94 + 45, 4 + 45);  // "Test"
        SleepMs(700);
        ASSERT_EQ(ReadFileBytes(pfad + ".ungespeichert"), ClassFileBytes(Nachher()));
        p.Kill();
        EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(Vorher()));
    }
    // Waits for the offer box, saves its picture and clicks button k.
    void Angebot(const std::string& bild, int k) {
        Screenshot s;
        int x = 0, y = 0;
        for (int n = 0; n < 100 && !BoxButton(s = p.Shoot(), k, x, y); ++n) SleepMs(100);
        SleepMs(400);  // grown in
        s = p.Shoot();
        p.Save(s, bild);
        ASSERT_TRUE(BoxButton(s, k, x, y)) << "no offer";
        p.Click(x, y);
    }
    int Beenden() {
        p.Key("Escape");
        int status = -1;
        EXPECT_TRUE(p.WaitForExit(8000, status));
        return status;
    }
    std::vector<std::string> Backups() {
        std::vector<std::string> namen;
        for (const auto& e : fs::directory_iterator(p.Folder() + "/Noten/7a/Backups"))
            namen.push_back(e.path().filename().string());
        return namen;
    }

    // Opens the tile at (846, oben), clicks the Ok of the "Info" box that
    // says how the gradebook is kept, checks that no second box follows,
    // gives Adler the grade "1" and leaves with Escape.
    void AlsDateiGefuehrt(int oben, const std::string& bild) {
        ASSERT_TRUE(p.Start());
        ASSERT_NE(p.WaitForWindow(), 0u);
        ASSERT_TRUE(p.WaitForPixel(848, oben + 111, kKachel));
        p.Click(846 + 114, oben + 57);
        Angebot(bild, 0);
        ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
        SleepMs(900);
        int x = 0, y = 0;
        const Screenshot s = p.Shoot();
        p.Save(s, bild + "-klasse");
        EXPECT_FALSE(BoxButton(s, 0, x, y)) << "a second box";
        p.Click(160 + 80 + 38, 46 + 84 + 38);
        SleepMs(500);
        p.Click(180 + 4 + 64 + 30, 4 + 30);
        SleepMs(600);
        EXPECT_EQ(Beenden(), 0);
    }

    VirtualDisplay display{1920, 1080};
    ProgramUnderTest p{display};
    std::string pfad;
};
}  // namespace

TEST_F(Wiederherstellung, RestoredChangesAreShownAndSavedOnEscape) {
    BearbeitenUndAbstuerzen();
    KlasseAntippen();
    Angebot("wiederherstellen-angebot", 0);
    ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
    SleepMs(900);
    const Screenshot s = p.Shoot();
    p.Save(s, "wiederhergestellt");
    EXPECT_EQ(s.At(160 + 2 * 80 + 2, 8 + 111), Rgb(Typfarbe(u"Test"))) << "the new column is not shown";
    EXPECT_EQ(s.At(10, 46 + 3 * 84 + 60), Rgb({84, 72, 96})) << "no third name tile";
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(Vorher())) << "the class file waits for the save";

    EXPECT_EQ(Beenden(), 0);
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(Nachher()));
    EXPECT_FALSE(fs::exists(pfad + ".ungespeichert"));
    const auto backups = Backups();
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(ReadFileBytes(p.Folder() + "/Noten/7a/Backups/" + backups[0]), ClassFileBytes(Nachher()));
}

TEST_F(Wiederherstellung, DiscardedChangesGoToBackupsAndTheClassFileOpens) {
    BearbeitenUndAbstuerzen();
    KlasseAntippen();
    Angebot("verwerfen-angebot", 1);
    ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
    SleepMs(900);
    const Screenshot s = p.Shoot();
    p.Save(s, "verworfen");
    EXPECT_NE(s.At(160 + 2 * 80 + 2, 8 + 111), Rgb(Typfarbe(u"Test"))) << "the discarded column is shown";
    EXPECT_FALSE(fs::exists(pfad + ".ungespeichert"));
    const auto verworfen = Backups();
    ASSERT_EQ(verworfen.size(), 1u);
    EXPECT_TRUE(verworfen[0].starts_with("7a Mathe ") && verworfen[0].ends_with(" ungespeichert.slk"))
        << verworfen[0];
    EXPECT_EQ(ReadFileBytes(p.Folder() + "/Noten/7a/Backups/" + verworfen[0]), ClassFileBytes(Nachher()));

    EXPECT_EQ(Beenden(), 0);
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(Vorher()));
    EXPECT_EQ(Backups().size(), 2u) << "the save adds its backup beside the discarded changes";
}

TEST_F(Wiederherstellung, GradesEnteredBeforeAKillAreRestoredAndSaved) {
    KlasseAntippen();
    ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
    SleepMs(700);
    // Adler: "1" (tile 1 of the grade menu, which stands at (180, 0) for
    // row 1); Zander: "2-" (tile 5, the menu at (180, 58) for row 2).
    p.Click(160 + 80 + 38, 46 + 84 + 38);
    SleepMs(500);
    p.Click(180 + 4 + 64 + 30, 4 + 30);
    SleepMs(600);
    p.Click(160 + 80 + 38, 46 + 2 * 84 + 38);
    SleepMs(500);
    p.Click(180 + 4 + 2 * 64 + 30, 58 + 4 + 64 + 30);
    SleepMs(600);
    p.Save(p.Shoot(), "noten-vor-dem-absturz");
    TestGradebook noten = Vorher();
    noten.schueler[0].noten = {"1"};
    noten.schueler[1].noten = {"2-"};
    ASSERT_EQ(ReadFileBytes(pfad + ".ungespeichert"), ClassFileBytes(noten));
    p.Kill();

    KlasseAntippen();
    Angebot("noten-angebot", 0);
    ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
    SleepMs(900);
    p.Save(p.Shoot(), "noten-wiederhergestellt");
    EXPECT_EQ(Beenden(), 0);
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(noten));
    EXPECT_FALSE(fs::exists(pfad + ".ungespeichert"));
}

TEST_F(Wiederherstellung, CopiedTemplateIsSavedAsTheClassOfItsTile) {
    // The teacher's copy of 7a's gradebook for 7b, still "7a" inside.
    const std::string siebenA = ReadFileBytes(pfad);
    fs::create_directories(p.Folder() + "/Noten/7b");
    const std::string siebenB = p.Folder() + "/Noten/7b/7b Mathe.slk";
    WriteFileBytes(siebenB, siebenA);
    AlsDateiGefuehrt(728, "vorlage-hinweis");  // 7b, the lower tile

    TestGradebook b = Vorher();
    b.klasse = "7b";
    b.schueler[0].noten = {"1"};
    EXPECT_EQ(ReadFileBytes(siebenB), ClassFileBytes(b));
    EXPECT_EQ(ReadFileBytes(pfad), siebenA) << "7a byte for byte";
    for (const std::string& f : p.DataFiles())
        EXPECT_TRUE(f.starts_with("Noten/7b/") || f == "Noten/7a/7a Mathe.slk" || f == ".Kladdorix-Einstellungen") << f;
}

TEST_F(Wiederherstellung, TitleThatLeavesTheFolderSavesNothingOutside) {
    fs::remove_all(p.Folder() + "/Noten/7a");
    TestGradebook g = Vorher();
    g.klasse = "../../../outside/7z";
    fs::create_directories(p.Folder() + "/Noten/7z");
    const std::string datei = p.Folder() + "/Noten/7z/7z Mathe.slk";
    WriteFileBytes(datei, ClassFileBytes(g));
    AlsDateiGefuehrt(663, "titel-hinweis");

    g.klasse = "7z";
    g.schueler[0].noten = {"1"};
    EXPECT_EQ(ReadFileBytes(datei), ClassFileBytes(g));
    for (const std::string& f : p.DataFiles())
        EXPECT_TRUE(f.starts_with("Noten/7z/") || f == ".Kladdorix-Einstellungen") << f;
    const fs::path ordner(p.Folder());
    for (const fs::path& draussen : {ordner / ".." / "outside", ordner / ".." / ".." / "outside", fs::path("/outside")})
        EXPECT_FALSE(fs::exists(draussen)) << draussen;
}
