// The class command menu with the real program under Xvfb: leaving and
// closing byte for byte, Escape closing only what is open, a name list and a
// backup chosen in the real zenity requester, the empty duplicate, the export
// into a real LibreOffice Calc, the catalogue's steady order and the hint of
// the first start.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>

#include "gradebook_files.hpp"
#include "harness.hpp"
#include "platform/office.hpp"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;
constexpr uint32_t kKachel = (56u << 16) | (48u << 8) | 64u;
constexpr uint32_t kHinweis = (80u << 16) | 160u;  // the school-year label's colour

uint32_t Rgb(int r, int g, int b) { return (uint32_t(r) << 16) | (uint32_t(g) << 8) | uint32_t(b); }

TestGradebook Klasse(const std::string& klasse, const std::string& fach) {
    TestGradebook g{klasse, fach, {{"Arbeit", "14.10.26"}, {"Mündl.", "20.10.26"}}, {}};
    g.schueler.push_back({"Berger", "Lena Marie", {"2-", "1"}, "", "", ""});
    g.schueler.push_back({"Özdemir", "Can", {"4+", ""}, "0151 2345", "Sitzt vorne", ""});
    return g;
}

class Klassenmenue : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.Ok());
        home = p.Folder() + "-home";
        fs::create_directories(home);
        setenv("HOME", home.c_str(), 1);
        unsetenv("USERPROFILE");
    }
    void TearDown() override { fs::remove_all(home); }
    void Starten() {
        ASSERT_TRUE(p.Start());
        ASSERT_NE(p.WaitForWindow(), 0u);
        ASSERT_TRUE(p.WaitForPixel(960, 1070, kHintergrund));
        SleepMs(700);  // the tiles' fly-in
    }
    // Opens the only gradebook of the catalogue (one column, one tile).
    void KlasseOeffnen() {
        p.Click(846 + 114, 663 + 57);
        ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
        SleepMs(700);
    }
    void MenueOeffnen(const std::string& bild = "") {
        p.Click(100, 60);
        SleepMs(500);
        if (!bild.empty()) p.Save(p.Shoot(), bild);
    }
    // Tile i of the menu, opened at the top-left corner.
    void Befehl(int i) { p.Click(4 + (i % 2) * 204 + 100, 4 + (i / 2) * 94 + 45); }
    int Ende() {
        int status = -1;
        EXPECT_TRUE(p.WaitForExit(10000, status));
        return status;
    }
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
    // The left button of an information box (face colour 56, 56, 56).
    void LinkenSchalterDruecken(const std::string& bild) {
        SleepMs(500);
        const Screenshot s = p.Shoot();
        p.Save(s, bild);
        int x, y;
        ASSERT_TRUE(Finde(s, Rgb(56, 56, 56), 300, 300, 1620, 900, x, y)) << "no button";
        p.Click(x + 15, y + 15);
    }
    // Waits for a zenity file requester, types the path and confirms it.
    void DateiImAuswahldialog(const std::string& titel, const std::string& pfad, const std::string& bild) {
        std::string fenster;
        for (int i = 0; i < 200 && fenster.empty(); ++i) {
            fenster = p.Xdo({"search", "--onlyvisible", "--name", titel});
            if (fenster.empty()) SleepMs(100);
        }
        ASSERT_FALSE(fenster.empty()) << "no requester";
        fenster = fenster.substr(0, fenster.find('\n'));
        SleepMs(1500);
        p.Save(p.Shoot(), bild);
        p.Xdo({"windowfocus", "--sync", fenster});
        p.Xdo({"key", "--delay", "80", "ctrl+l"});
        SleepMs(300);
        p.Xdo({"type", "--delay", "30", pfad});
        SleepMs(300);
        p.Xdo({"key", "--delay", "80", "Return"});
        SleepMs(1500);
    }
    VirtualDisplay display{1920, 1080};
    ProgramUnderTest p{display};
    std::string home;
};
}  // namespace

TEST_F(Klassenmenue, LeavingAndClosingSaveByteForByte) {
    const std::string pfad = WriteClassFile(p.Folder(), Klasse("7a", "Mathe"));
    const std::string vorher = ReadFileBytes(pfad);
    Starten();
    KlasseOeffnen();
    MenueOeffnen("klassenmenue-offen");
    const Screenshot menue = p.Shoot();
    EXPECT_EQ(menue.At(4 + 2, 4 + 80), Rgb(56, 48, 64));  // tile 0's face
    EXPECT_EQ(menue.At(2, 2), Rgb(16, 16, 16));           // the panel
    Befehl(0);                                            // "Zur Klassenübersicht"
    ASSERT_TRUE(p.WaitForPixel(848, 663 + 111, kKachel));  // the catalogue again
    SleepMs(500);
    p.Save(p.Shoot(), "zurueck-im-katalog");
    EXPECT_TRUE(p.Running());
    EXPECT_EQ(ReadFileBytes(pfad), vorher);
    KlasseOeffnen();
    MenueOeffnen();
    Befehl(1);  // "Kladdorix schließen"
    EXPECT_EQ(Ende(), 0);
    EXPECT_EQ(ReadFileBytes(pfad), vorher);
    EXPECT_EQ(fs::file_size(pfad), vorher.size());
}

TEST_F(Klassenmenue, EscapeClosesOnlyWhatIsOpen) {
    const std::string pfad = WriteClassFile(p.Folder(), Klasse("7a", "Mathe"));
    Starten();
    // The main menu: Escape closes it, the catalogue stays.
    p.Click(846 + 114, 123 + 57);
    SleepMs(500);
    p.Key("Escape");
    SleepMs(600);
    EXPECT_TRUE(p.Running());
    const Screenshot katalog = p.Shoot();
    p.Save(katalog, "escape-hauptmenue");
    EXPECT_EQ(katalog.At(848, 663 + 111), kKachel);
    // The command menu: Escape closes it, the class screen stays.
    KlasseOeffnen();
    MenueOeffnen();
    p.Key("Escape");
    SleepMs(600);
    EXPECT_TRUE(p.Running());
    const Screenshot klasse = p.Shoot();
    p.Save(klasse, "escape-klassenmenue");
    EXPECT_EQ(klasse.At(10, 8 + 111), kKachel);
    EXPECT_NE(klasse.At(2, 2), Rgb(16, 16, 16));  // the menu is gone
    EXPECT_FALSE(fs::exists(p.Folder() + "/Noten/7a/Backups") &&
                 !fs::is_empty(p.Folder() + "/Noten/7a/Backups"));  // nothing saved
    // Escape on the class screen itself saves and ends.
    p.Key("Escape");
    EXPECT_EQ(Ende(), 0);
    EXPECT_FALSE(fs::is_empty(p.Folder() + "/Noten/7a/Backups"));
    EXPECT_TRUE(fs::exists(pfad));
}

TEST_F(Klassenmenue, NameListChosenInTheRequester) {
    const std::string pfad = WriteClassFile(p.Folder(), Klasse("7a", "Mathe"));
    const std::string liste = home + "/Klassenliste 7a.csv";
    WriteFileBytes(liste, "\xEF\xBB\xBFNachname;Vorname;Klasse\r\nM\xC3\xBCller;Anna Lena;7a\r\n"
                          "Kowalski;\xC5\x81ukasz;7a\r\n\xC3\x96zdemir;Can;7a\r\n");
    Starten();
    KlasseOeffnen();
    MenueOeffnen();
    Befehl(6);  // "Namensliste importieren"
    DateiImAuswahldialog("Wählen Sie die Textdatei", liste, "namensliste-auswahl");
    // One name lost its accent: the "Info" box says so.
    LinkenSchalterDruecken("namensliste-info");
    SleepMs(600);
    p.Save(p.Shoot(), "namensliste-importiert");
    MenueOeffnen();
    Befehl(0);
    ASSERT_TRUE(p.WaitForPixel(848, 663 + 111, kKachel));
    const std::string datei = ReadFileBytes(pfad);
    for (const std::string name : {"K\"M\xFC" "ller\"", "K\"Anna Lena\"", "K\"Kowalski\"", "K\"Lukasz\"",
                                   "K\"4 Sch\xFC" "ler\""})
        EXPECT_NE(datei.find(name), std::string::npos) << name;
    EXPECT_EQ(datei.find("\xD6zdemir\"\r\nC;X2;Y7;K\"Can"), std::string::npos);  // not twice
    size_t n = 0;
    for (size_t at = datei.find("zdemir"); at != std::string::npos; at = datei.find("zdemir", at + 1)) ++n;
    EXPECT_EQ(n, 1u);
    p.Key("Escape");
    EXPECT_EQ(Ende(), 0);
}

TEST_F(Klassenmenue, BackToABackupChosenInTheRequester) {
    const std::string pfad = WriteClassFile(p.Folder(), Klasse("7a", "Mathe"));
    TestGradebook alt = Klasse("7a", "Mathe");
    alt.schueler.pop_back();
    const std::string backup = p.Folder() + "/Noten/7a/Backups/7a Mathe 26-01-01-10-00-00.slk";
    fs::create_directories(p.Folder() + "/Noten/7a/Backups");
    WriteFileBytes(backup, ClassFileBytes(alt));
    Starten();
    KlasseOeffnen();
    MenueOeffnen();
    Befehl(8);                                    // "Zurück zu Backup"
    LinkenSchalterDruecken("backup-warnung");     // "Ja, das ist ok"
    DateiImAuswahldialog("Wählen Sie die Backup-Datei der Klasse 7a im Fach Mathe", backup, "backup-auswahl");
    ASSERT_TRUE(p.WaitForPixel(848, 663 + 111, kKachel));  // back in the catalogue
    p.Save(p.Shoot(), "backup-eingesetzt");
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(alt));
    p.Key("Escape");
    EXPECT_EQ(Ende(), 0);
}

TEST_F(Klassenmenue, EmptyDuplicateGivesTheNextClass) {
    WriteClassFile(p.Folder(), Klasse("7a", "Mathe"));
    Starten();
    KlasseOeffnen();
    MenueOeffnen();
    Befehl(9);  // "Klasse leer duplizieren"
    SleepMs(900);
    p.Save(p.Shoot(), "duplikat-tastatur");
    p.Key("Return");  // the proposal 8a
    SleepMs(900);
    p.Key("Return");  // the subject Mathe
    SleepMs(1500);
    const Screenshot s = p.Shoot();
    p.Save(s, "duplikat-katalog");
    EXPECT_EQ(s.At(726, 663 + 111), kKachel);  // 7a and 8a side by side
    EXPECT_EQ(s.At(970, 663 + 111), kKachel);
    const std::string neu = ReadFileBytes(p.Folder() + "/Noten/8a/8a Mathe.slk");
    EXPECT_NE(neu.find("K\"Berger\""), std::string::npos);
    EXPECT_NE(neu.find("K\"0 Noten\""), std::string::npos);
    p.Key("Escape");
    EXPECT_EQ(Ende(), 0);
}

TEST_F(Klassenmenue, ExportOpensLibreOfficeAndTheWindowReturns) {
    TestGradebook g = Klasse("7a", "Französisch");
    g.spalten.push_back({"HauptF.", ""});
    for (auto& s : g.schueler) s.noten.push_back("");
    g.schueler.push_back({"Müller-Lüdenscheidt", "Jörg", {"1", "2", ""}, "", "", ""});
    WriteClassFile(p.Folder(), g);
    Starten();
    KlasseOeffnen();
    MenueOeffnen();
    Befehl(7);  // "Exportieren"
    // The window closes while the spreadsheet program runs ...
    bool zu = false;
    for (int i = 0; i < 100 && !zu; ++i) {
        zu = p.Xdo({"search", "--onlyvisible", "--name", "^Rido Kladdorix$"}).empty();
        if (!zu) SleepMs(100);
    }
    EXPECT_TRUE(zu) << "the window stayed open";
    // ... and opens again once it has ended.
    ASSERT_NE(p.WaitForWindow(90000), 0u);
    ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel, 20000));
    SleepMs(800);
    p.Save(p.Shoot(), "nach-export");
    EXPECT_TRUE(fs::exists(home + "/.config/libreoffice")) << "LibreOffice did not run";
    const std::string kopie = p.Folder() + "/7a Französisch (exportiert).slk";
    ASSERT_TRUE(fs::exists(kopie));
    EXPECT_EQ(ReadFileBytes(kopie), ReadFileBytes(p.Folder() + "/Noten/7a/7a Französisch.slk"));

    // The copy read by LibreOffice as the program starts it, from a UTF-8 locale.
    std::vector<std::string> argv{"env", "-i"};
    for (const std::string& e : SpreadsheetEnvironment(
             {"LANG=C.UTF-8", "LC_ALL=C.UTF-8", "HOME=" + home, "PATH=" + std::string(std::getenv("PATH"))}))
        argv.push_back(e);
    const std::string aus = home + "/csv";
    for (const char* a : {"soffice", "--headless", "--convert-to", "csv:Text - txt - csv (StarCalc):44,34,76",
                          "--outdir"})
        argv.push_back(a);
    argv.push_back(aus);
    argv.push_back(kopie);
    EXPECT_EQ(RunCommand(argv), 0);
    const std::string csv = ReadFileBytes(aus + "/7a Französisch (exportiert).csv");
    for (const std::string zeile : {"7a,Französisch,3 Noten", "\n3 Schüler,", "\n,,14.10.26,20.10.26,Ø",
                                    "\nBerger,Lena Marie,2-,1", "\nMüller-Lüdenscheidt,Jörg,1,2", "\nÖzdemir,Can,4+"})
        EXPECT_NE(csv.find(zeile), std::string::npos) << zeile << "\n" << csv;
    p.Key("Escape");
    EXPECT_EQ(Ende(), 0);
}

TEST_F(Klassenmenue, CatalogueInASteadyOrderAndTheFirstStartHint) {
    // No gradebook yet: the hint below "Optionen".
    Starten();
    const Screenshot leer = p.Shoot();
    p.Save(leer, "erster-start");
    int hinweis = 0;
    for (int y = 240; y < 560; ++y)
        for (int x = 200; x < 1720; x += 2) hinweis += leer.At(x, y) == kHinweis;
    EXPECT_GT(hinweis, 500) << "no hint";
    p.Key("Escape");
    EXPECT_EQ(Ende(), 0);

    // Four subjects of 7a, written in an order of their own.
    for (const char* fach : {"Physik", "Mathe", "Deutsch", "Englisch"}) WriteClassFile(p.Folder(), Klasse("7a", fach));
    Starten();
    const Screenshot vier = p.Shoot();
    p.Save(vier, "katalog-reihenfolge");
    int rest = 0;
    for (int y = 240; y < 460; ++y)
        for (int x = 200; x < 1720; x += 2) rest += vier.At(x, y) == kHinweis;
    EXPECT_EQ(rest, 0) << "the hint stayed";
    // Deutsch, Englisch, Mathe, Physik from the top: the third tile is Mathe.
    const int oben = 720 - (4 * 114 + 3 * 16) / 2;
    p.Click(846 + 114, oben + 2 * 130 + 57);
    ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
    SleepMs(500);
    p.Key("Escape");  // saves the open gradebook, with its backup
    EXPECT_EQ(Ende(), 0);
    std::vector<std::string> backups;
    for (const auto& e : fs::directory_iterator(p.Folder() + "/Noten/7a/Backups")) backups.push_back(e.path().filename());
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(backups[0].rfind("7a Mathe ", 0), 0u) << backups[0];
}
