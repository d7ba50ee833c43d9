// The catalogue, opening a gradebook, the class grid, and the main menu's
// commands, with the real program under Xvfb at 1920 x 1080.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "gradebook/grade_scale.hpp"
#include "gradebook/grade_types.hpp"
#include "gradebook_files.hpp"
#include "harness.hpp"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;
constexpr uint32_t kKachel = (56u << 16) | (48u << 8) | 64u;

uint32_t Rgb(const std::array<int, 3>& c) { return (uint32_t(c[0]) << 16) | (uint32_t(c[1]) << 8) | uint32_t(c[2]); }
uint32_t Rgb(int r, int g, int b) { return Rgb({r, g, b}); }

TestGradebook Klasse(const std::string& klasse, const std::string& fach) {
    TestGradebook g{klasse, fach, {{"Arbeit", "14.10.26"}, {"Mündl.", "20.10.26"}}, {}};
    g.schueler.push_back({"Berger", "Lena Marie", {"2-", "1"}, "", "", ""});
    g.schueler.push_back({"Özdemir", "Can", {"4+", ""}, "0151 2345", "Sitzt vorne", ""});
    return g;
}

class Programm : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.Ok());
        setenv("HOME", "/tmp/rk-e2e-home", 1);
        unsetenv("USERPROFILE");
    }
    void Starten() {
        ASSERT_TRUE(p.Start());
        ASSERT_NE(p.WaitForWindow(), 0u);
        ASSERT_TRUE(p.WaitForPixel(960, 1070, kHintergrund));
        SleepMs(700);  // the tiles' fly-in
    }
    int Beenden() {
        p.Key("Escape");
        int status = -1;
        EXPECT_TRUE(p.WaitForExit(8000, status));
        return status;
    }
    // Start of the first run of `lauf` pixels of the colour, scanning rows from
    // the top inside a region (runs tell faces from anti-aliased text edges).
    static bool Finde(const Screenshot& s, uint32_t farbe, int x0, int y0, int x1, int y1, int& x, int& y,
                      int lauf = 30) {
        for (y = y0; y < y1; ++y) {
            int n = 0;
            for (x = x0; x < x1; ++x) {
                n = s.At(x, y) == farbe ? n + 1 : 0;
                if (n == lauf) {
                    x -= lauf - 1;
                    return true;
                }
            }
        }
        return false;
    }
    // Clicks the left button of an information box (its face colour 56, 56, 56).
    void LinkenSchalterDruecken() {
        SleepMs(500);
        const Screenshot s = p.Shoot();
        int x, y;
        p.Save(s, "box-" + std::to_string(++boxen));
        ASSERT_TRUE(Finde(s, Rgb(56, 56, 56), 300, 300, 1620, 900, x, y)) << "no button";
        p.Click(x + 15, y + 15);
    }
    void Optionen(int kachel) {
        p.Click(846 + 114, 123 + 57);
        SleepMs(500);
        p.Save(p.Shoot(), "hauptmenue-offen");
        const int x = 652 + 4 + (kachel % 3) * 204, y = 237 + 4 + (kachel / 3) * 94;
        p.Click(x + 100, y + 45);
    }
    VirtualDisplay display{1920, 1080};
    ProgramUnderTest p{display};
    int boxen = 0;
};
}  // namespace

TEST_F(Programm, ExampleCatalogueStandsAtItsPixels) {
    WriteClassFile(p.Folder(), Klasse("5a", "Deutsch"));
    WriteClassFile(p.Folder(), Klasse("5b", "Englisch"));
    WriteClassFile(p.Folder(), Klasse("10c", "Mathe"));
    Starten();
    const Screenshot s = p.Shoot();
    p.Save(s, "katalog-beispiel");
    struct Punkt { int x, y; uint32_t farbe; };
    const Punkt punkte[] = {
        {726, 598 + 111, kKachel},            // 5a or 5b, face
        {726, 728 + 111, kKachel},            // the second tile of level 5
        {970, 598 + 111, kKachel},            // 10c
        {724, 650, Rgb(84, 72, 96)},          // light left edge of a level-5 tile
        {723, 650, kHintergrund},             // left of the first column
        {970, 728 + 60, kHintergrund},        // below 10c: one tile only
        {848, 123 + 111, kKachel},            // "Optionen"
        {846 + 227, 123 + 50, Rgb(28, 24, 32)},  // its dark right edge
    };
    for (const Punkt& q : punkte) EXPECT_EQ(s.At(q.x, q.y), q.farbe) << q.x << "," << q.y;
    EXPECT_EQ(Beenden(), 0);
}

TEST_F(Programm, OnlyClassFilesInAClassFolderCount) {
    fs::create_directories(p.Folder() + "/Noten/7b/Backups");
    WriteFileBytes(p.Folder() + "/Noten/7b/7b Mathe.SLK", ClassFileBytes(Klasse("7b", "Mathe")));
    WriteFileBytes(p.Folder() + "/Noten/Mathe.slk", ClassFileBytes(Klasse("7b", "Mathe")));
    WriteFileBytes(p.Folder() + "/Noten/7b/Backups/7b Mathe 26-01-01-10-00-00.slk", "x");
    WriteFileBytes(p.Folder() + "/Noten/7b/7b Notizen.txt", "x");
    Starten();
    const Screenshot s = p.Shoot();
    p.Save(s, "katalog-zaehlung");
    // One tile: centred, top at 720 - 57.
    EXPECT_EQ(s.At(848, 663 + 111), kKachel);
    EXPECT_EQ(s.At(848, 663 + 130 + 50), kHintergrund);
    EXPECT_EQ(s.At(848 - 250, 663 + 50), kHintergrund);
    EXPECT_EQ(Beenden(), 0);
}

TEST_F(Programm, OpenedGradebookShowsItsGridScrollsAndSavesOnEscape) {
    TestGradebook g = LargeGradebook("7a", "Physik", 40, 60);
    std::swap(g.schueler[0], g.schueler[5]);  // out of name order on disk
    const std::string pfad = WriteClassFile(p.Folder(), g);
    Starten();
    p.Click(846 + 114, 663 + 57);
    SleepMs(1200);
    const Screenshot s = p.Shoot();
    p.Save(s, "klasse-40x60");
    EXPECT_EQ(s.At(10, 8 + 111), kKachel);  // corner: class and subject
    EXPECT_EQ(s.At(10, 130 + 73), Rgb(84, 72, 96));  // name tile of row 1
    // Opened on its newest columns: column 60 ends at the right edge (1920 - 84).
    const int x60 = 1920 - 84;  // 160 + 80 * 60 + ScrollX, with ScrollX at its minimum 1920 - (4960 + 84)
    const auto abfrage = Typfarbe(u"Abfrage");   // type of column 60
    EXPECT_EQ(s.At(x60 + 2, 8 + 111), Rgb(abfrage));
    EXPECT_EQ(s.At(x60 + 2, 130 + 73), Rgb(abfrage[0] / 2, abfrage[1] / 2, abfrage[2] / 2));
    // The first student's grade in column 60 is drawn in its grade colour.
    const std::string note = LargeGradebook("7a", "Physik", 40, 60).schueler[0].noten[59];
    const uint32_t notenfarbe = Rgb(Notenfarbe(TextFromUtf8(note), 0));
    int treffer = 0;
    for (int y = 130; y < 206; ++y)
        for (int x = x60; x < x60 + 76; ++x) treffer += s.At(x, y) == notenfarbe;
    EXPECT_GT(treffer, 10) << "grade text not drawn in its colour";

    // Wheel: the rows move up under the fixed header band.
    p.MoveTo(1000, 600);
    p.Wheel(-3);
    SleepMs(600);
    const Screenshot rad = p.Shoot();
    int verschoben = 0;
    for (int y = 140; y < 1000; y += 7) verschoben += rad.At(120, y) != s.At(120, y);
    EXPECT_GT(verschoben, 5) << "the wheel did not scroll the names";
    for (int x = 300; x < 1900; x += 50) EXPECT_EQ(rad.At(x, 60), s.At(x, 60)) << "header band moved vertically";

    // Drag to the right, towards the first columns: the header row moves, the name column stays.
    p.Xdo({"mousemove", "700", "700"});
    p.Xdo({"mousedown", "1"});
    for (int i = 1; i <= 10; ++i) {
        p.Xdo({"mousemove", std::to_string(700 + 40 * i), "700"});
        SleepMs(40);
    }
    p.Xdo({"mouseup", "1"});
    SleepMs(800);
    const Screenshot zug = p.Shoot();
    p.Save(zug, "klasse-gezogen");
    int bewegt = 0;
    for (int x = 300; x < 1900; x += 13) bewegt += zug.At(x, 100) != rad.At(x, 100);
    EXPECT_GT(bewegt, 10) << "the drag did not scroll the columns";
    EXPECT_EQ(zug.At(10, 8 + 111), kKachel);

    // Escape saves the gradebook, in name order, and ends the program.
    EXPECT_EQ(Beenden(), 0);
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(LargeGradebook("7a", "Physik", 40, 60)));
    std::vector<fs::path> backups;
    for (const auto& e : fs::directory_iterator(p.Folder() + "/Noten/7a/Backups")) backups.push_back(e.path());
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(ReadFileBytes(backups[0].string()), ReadFileBytes(pfad));
    EXPECT_EQ(backups[0].filename().string().rfind("7a Physik ", 0), 0u);
}

TEST_F(Programm, NewClassTypedOnTheKeyboardIsSavedAndListed) {
    Starten();
    Optionen(1);
    SleepMs(600);
    p.Save(p.Shoot(), "tastatur-ueber-katalog");
    p.Type("8a");
    p.Key("Return");
    SleepMs(700);
    p.Type("Chemie");
    p.Key("Return");
    SleepMs(800);
    const Screenshot s = p.Shoot();
    p.Save(s, "neue-klasse");
    EXPECT_EQ(s.At(10, 8 + 111), kKachel);  // the new class's title tile
    EXPECT_EQ(Beenden(), 0);                // Escape saves the new class and ends
    const std::string datei = p.Folder() + "/Noten/8a/8a Chemie.slk";
    ASSERT_TRUE(fs::exists(datei));
    EXPECT_EQ(ReadFileBytes(datei), ClassFileBytes({"8a", "Chemie", {}, {}}));
    EXPECT_TRUE(fs::is_directory(p.Folder() + "/Noten/8a/Bilder"));
    // Listed at the next start.
    Starten();
    EXPECT_EQ(p.Shoot().At(848, 663 + 111), kKachel);
    EXPECT_EQ(Beenden(), 0);
}

TEST_F(Programm, NewClassTappedOnTheScreenKeys) {
    Starten();
    Optionen(1);
    SleepMs(700);
    // Keys at 1920 x 1080: pitch 90, keys 80, rows from y 630.
    auto tippe = [&](int x, int y) {
        p.Click(x + 40, y + 40);
        SleepMs(60);
    };
    tippe(385 + 8 * 90, 630);        // "9"
    tippe(385 + 5 * 90, 630 + 270);  // "b"
    tippe(1425, 720);                // Enter
    SleepMs(700);
    tippe(385 + 5 * 90, 630 + 270);  // "b"
    tippe(415 + 7 * 90, 720);        // "i"
    tippe(415 + 8 * 90, 720);        // "o"
    tippe(1425, 720);                // Enter
    SleepMs(800);
    EXPECT_EQ(Beenden(), 0);
    EXPECT_TRUE(fs::exists(p.Folder() + "/Noten/9b/9b bio.slk"));
}

// Naming a class that exists opens it, unchanged, instead of an empty one.
TEST_F(Programm, ExistingClassOpensInsteadOfBeingCreatedAgain) {
    const std::string pfad = WriteClassFile(p.Folder(), Klasse("7b", "Mathe"));
    const std::string vorher = ReadFileBytes(pfad);
    Starten();
    Optionen(1);
    SleepMs(600);
    p.Type("7b");
    p.Key("Return");
    SleepMs(700);
    p.Type("Mathe");
    p.Key("Return");
    SleepMs(900);
    const Screenshot s = p.Shoot();
    p.Save(s, "klasse-existiert");
    EXPECT_EQ(Beenden(), 0);  // Escape on the class screen saves it and ends
    EXPECT_EQ(ReadFileBytes(pfad), vorher);
    EXPECT_FALSE(fs::is_empty(p.Folder() + "/Noten/7b/Backups")) << "the class was not opened and saved";
}

TEST_F(Programm, ClassRemovedThroughTheChooser) {
    const std::string pfad = WriteClassFile(p.Folder(), Klasse("7b", "Mathe"));
    Starten();
    Optionen(2);
    LinkenSchalterDruecken();  // "Ja, das ist ok"
    SleepMs(700);
    p.Click(848 + 100, 663 + 57);
    SleepMs(800);
    EXPECT_FALSE(fs::exists(pfad));
    EXPECT_TRUE(fs::is_directory(p.Folder() + "/Noten/7b"));  // folder and its photos stay
    EXPECT_EQ(p.Shoot().At(848, 663 + 111), kHintergrund);
    EXPECT_EQ(Beenden(), 0);
}

TEST_F(Programm, SchoolTypeSwitchWritesTheSettingsFile) {
    Starten();
    Optionen(4);
    LinkenSchalterDruecken();  // "Ja, das ist OK": G8
    SleepMs(600);
    const std::string datei = p.Folder() + "/.Kladdorix-Einstellungen";
    EXPECT_EQ(ReadFileBytes(datei), "\r\n/tmp/rk-e2e-home/\r\nG8-Gymnasium\r\n");
    Optionen(4);
    LinkenSchalterDruecken();  // back to G9
    SleepMs(600);
    EXPECT_EQ(ReadFileBytes(datei), "\r\n/tmp/rk-e2e-home/\r\n");
    EXPECT_EQ(Beenden(), 0);
}

// School and teacher go into a file of their own (Latin-1, CR LF; typed in
// ASCII here, xdotool drops umlauts now and then), and are offered
// again the next time; the settings file is never written.
TEST_F(Programm, SchoolAndTeacherAreAskedOnceAndKeptBesideTheSettings) {
    Starten();
    Optionen(7);
    SleepMs(700);
    p.Type("Goethe-Gymnasium");
    p.Key("Return");
    SleepMs(700);
    p.Type("Herr Gross");
    p.Key("Return");
    LinkenSchalterDruecken();  // "Info"
    SleepMs(600);
    const std::string datei = p.Folder() + "/.Kladdorix-Schule";
    EXPECT_EQ(ReadFileBytes(datei), "Goethe-Gymnasium\r\nHerr Gross\r\n");
    // Enter twice keeps both names as they are.
    Optionen(7);
    SleepMs(700);
    p.Key("Return");
    SleepMs(700);
    p.Key("Return");
    LinkenSchalterDruecken();
    SleepMs(600);
    EXPECT_EQ(ReadFileBytes(datei), "Goethe-Gymnasium\r\nHerr Gross\r\n");
    EXPECT_FALSE(fs::exists(p.Folder() + "/.Kladdorix-Einstellungen"));
    EXPECT_EQ(Beenden(), 0);
}

TEST_F(Programm, BeendenEndsTheProgram) {
    Starten();
    Optionen(5);
    int status = -1;
    EXPECT_TRUE(p.WaitForExit(8000, status));
    EXPECT_EQ(status, 0);
}

TEST_F(Programm, ClassesWithoutALevelGetAColumnRightOfTheOthers) {
    WriteClassFile(p.Folder(), Klasse("Q1", "Physik"));
    WriteClassFile(p.Folder(), Klasse("5a", "Deutsch"));
    Starten();
    const Screenshot s = p.Shoot();
    p.Save(s, "katalog-q1");
    EXPECT_EQ(s.At(726, 663 + 111), kKachel);  // level 5 first ...
    EXPECT_EQ(s.At(970, 663 + 111), kKachel);  // ... then Q1, in a column of its own
    p.Click(970 + 100, 663 + 57);              // and it opens
    SleepMs(1000);
    EXPECT_EQ(p.Shoot().At(10, 8 + 111), kKachel);
    EXPECT_EQ(Beenden(), 0);
}

TEST_F(Programm, DotNamesAreRefusedAsClasses) {
    Starten();
    Optionen(1);
    SleepMs(600);
    p.Type("..");
    p.Key("Return");
    SleepMs(700);
    p.Type("Mathe");
    p.Key("Return");
    SleepMs(900);
    const Screenshot s = p.Shoot();
    int x, y;
    EXPECT_TRUE(Finde(s, Rgb(255, 0, 0), 300, 300, 1620, 900, x, y, 1)) << "no red Fehler box";
    p.Key("Return");
    SleepMs(500);
    EXPECT_EQ(Beenden(), 0);
    EXPECT_FALSE(fs::exists(p.Folder() + "/Noten/.. Mathe.slk"));
    EXPECT_FALSE(fs::exists(p.Folder() + "/.. Mathe.slk"));
}
