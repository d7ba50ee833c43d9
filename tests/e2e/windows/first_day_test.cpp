// A teacher's first day with the Windows program under wine, each flow from
// a program folder of its own below C:\users\<name>: the first start with its
// hint and a class typed in; a name list with umlauts chosen in the system's
// file dialog; grades by mouse and a series by keys, saved on Escape with one
// backup; encryption switched on and the next start asking for the password;
// a logoff message ending the program with the class saved.
#include <gtest/gtest.h>

#include <filesystem>

#include "gradebook_files.hpp"
#include "teacher_steps.hpp"
#include "wine_session.hpp"

namespace fs = std::filesystem;
using namespace steps;

namespace {
class WindowsErsterTag : public ::testing::Test {
protected:
    void SetUp() override {
        wine::UseRunPrefix();
        ASSERT_TRUE(display.Ok());
    }
    VirtualDisplay display{1920, 1080};
};

std::vector<std::string> BackupsOf(const std::string& folder) {
    std::vector<std::string> names;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) names.push_back(e.path().string());
    return names;
}

TestGradebook Deutsch8b(bool benotet) {
    TestGradebook g{"8b", "Deutsch", {{"Arbeit", "14.10.26"}, {"Test", "21.10.26"}}, {}};
    g.schueler.push_back({"Adler", "Eva", {benotet ? "2" : "", benotet ? "3" : ""}, "", "", ""});
    g.schueler.push_back({"Berger", "Tom", {benotet ? "4" : "", benotet ? "1-" : ""}, "", "", ""});
    g.schueler.push_back({"Cramer", "Lea", {"", benotet ? "n.f." : ""}, "", "", ""});
    return g;
}
}  // namespace

TEST_F(WindowsErsterTag, FirstStartShowsTheHintAndAClassTypedInIsSaved) {
    const std::string ordner = wine::FreshProgramFolder("Rido Kladdorix Erster Start");
    wine::WindowsProgram w(display, ordner);
    ProgramUnderTest& p = w.p();
    ASSERT_TRUE(w.StartToCatalogue());
    const Screenshot leer = p.Shoot();
    p.Save(leer, "windows-erster-start");
    EXPECT_GT(HintPixels(leer), 500) << "no hint on the first start";
    EXPECT_TRUE(fs::is_directory(ordner + "/Noten")) << "no Noten beside the program";

    MainMenu(p, 1);  // "Neue Klasse erstellen"
    TypeAndEnter(p, "7a");
    TypeAndEnter(p, "Mathe");
    ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel, 15000)) << "no class screen";
    SleepMs(600);
    p.Save(p.Shoot(), "windows-neue-klasse");
    ASSERT_TRUE(w.EscapeEnds());
    EXPECT_EQ(ReadFileBytes(ordner + "/Noten/7a/7a Mathe.slk"), ClassFileBytes({"7a", "Mathe", {}, {}}));
}

TEST_F(WindowsErsterTag, NameListWithUmlautsChosenInTheSystemsFileDialog) {
    const std::string ordner = wine::FreshProgramFolder("Rido Kladdorix Namensliste");
    const std::string pfad = WriteClassFile(ordner, {"7a", "Mathe", {{"Arbeit", "14.10.26"}}, {}});
    // As Windows' editor writes it: Windows-1252, CR LF.
    const std::string liste = wine::UserFolder() + "/Klassenliste 7a.txt";
    WriteFileBytes(liste, "M\xFCller Anna Lena\r\nWei\xDF J\xF6rg\r\n\xD6zdemir Can\r\n\r\n");
    wine::WindowsProgram w(display, ordner);
    ProgramUnderTest& p = w.p();
    ASSERT_TRUE(w.StartToCatalogue());
    ASSERT_TRUE(OpenOnlyClass(p));
    ClassCommand(p, 6);  // "Namensliste importieren"
    const std::string dialog = WaitForWindowNamed(p, "Textdatei");
    ASSERT_FALSE(dialog.empty()) << "no file dialog";
    SleepMs(1500);
    p.Save(p.Shoot(), "windows-namensliste-dialog");
    p.Xdo({"windowfocus", "--sync", dialog});
    p.Xdo({"type", "--delay", "40", wine::WindowsPath(liste)});
    SleepMs(300);
    p.Xdo({"key", "--delay", "80", "Return"});
    SleepMs(2000);
    const Screenshot klasse = p.Shoot();
    p.Save(klasse, "windows-namensliste-importiert");
    EXPECT_TRUE(WaitForWindowNamed(p, "Textdatei", 500).empty()) << "the dialog stayed open";
    ASSERT_TRUE(w.EscapeEnds());
    const std::string datei = ReadFileBytes(pfad);
    for (const std::string name :
         {"K\"M\xFCller\"", "K\"Anna Lena\"", "K\"Wei\xDF\"", "K\"J\xF6rg\"", "K\"\xD6zdemir\"", "K\"3 Sch\xFCler\""})
        EXPECT_NE(datei.find(name), std::string::npos) << name;
}

TEST_F(WindowsErsterTag, GradesByMouseAndASeriesByKeysSavedOnEscapeWithOneBackup) {
    const std::string ordner = wine::FreshProgramFolder("Rido Kladdorix Noten");
    const std::string pfad = WriteClassFile(ordner, Deutsch8b(false));
    wine::WindowsProgram w(display, ordner);
    ProgramUnderTest& p = w.p();
    ASSERT_TRUE(w.StartToCatalogue());
    ASSERT_TRUE(OpenOnlyClass(p));
    GradeByMouse(p, 1, 1, 4);   // Adler: "2"
    GradeByMouse(p, 2, 1, 10);  // Berger: "4"
    StartSeries(p, 2);          // the test, from the first student
    p.Save(p.Shoot(), "windows-notenserie");
    p.Type("3\r1-\rn\r");
    SleepMs(1500);
    p.Save(p.Shoot(), "windows-klasse-benotet");
    EXPECT_TRUE(!fs::exists(ordner + "/Noten/8b/Backups") || fs::is_empty(ordner + "/Noten/8b/Backups"))
        << "saved before Escape";
    ASSERT_TRUE(w.EscapeEnds());
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(Deutsch8b(true)));
    const auto backups = BackupsOf(ordner + "/Noten/8b/Backups");
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(ReadFileBytes(backups[0]), ReadFileBytes(pfad));
    EXPECT_EQ(fs::path(backups[0]).filename().string().rfind("8b Deutsch ", 0), 0u);
}

TEST_F(WindowsErsterTag, EncryptionSwitchedOnAndTheNextStartAsksForThePassword) {
    const std::string passwort = "Kreide und Tafel 42";
    const std::string ordner = wine::FreshProgramFolder("Rido Kladdorix Verschluesselt");
    const std::string pfad = WriteClassFile(ordner, Deutsch8b(true));
    {
        wine::WindowsProgram w(display, ordner);
        ProgramUnderTest& p = w.p();
        ASSERT_TRUE(w.StartToCatalogue());
        MainMenu(p, 6);  // "Verschlüsselung"
        ASSERT_TRUE(PressBoxButton(p, 0, "windows-verschluesselung-frage"));  // "Ja, verschlüsseln"
        TypeAndEnter(p, passwort);
        TypeAndEnter(p, passwort);
        ASSERT_TRUE(PressBoxButton(p, 0, "windows-verschluesselung-code"));  // "Code ist notiert"
        SleepMs(3000);  // two key derivations and the conversion
        ASSERT_TRUE(PressBoxButton(p, 0, "windows-verschluesselung-info"));
        ASSERT_TRUE(w.EscapeEnds());
    }
    ASSERT_TRUE(fs::exists(ordner + "/.Kladdorix-Schluessel"));
    EXPECT_EQ(ReadFileBytes(pfad).substr(0, 4), "RKV2");
    EXPECT_EQ(ReadFileBytes(pfad).find("Adler"), std::string::npos);

    wine::WindowsProgram w(display, ordner);
    ProgramUnderTest& p = w.p();
    ASSERT_TRUE(w.Start());
    ASSERT_NE(p.WaitForWindow(60000), 0u);
    SleepMs(3000);
    const Screenshot frage = p.Shoot();
    p.Save(frage, "windows-passwort-beim-start");
    EXPECT_NE(frage.At(848, 123 + 111), kKachel) << "the catalogue without the password";
    TypeAndEnter(p, passwort);
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel, 30000)) << "the password did not open the catalogue";
    SleepMs(800);
    p.Save(p.Shoot(), "windows-katalog-nach-passwort");
    ASSERT_TRUE(w.EscapeEnds());
}

TEST_F(WindowsErsterTag, LogoffMessageEndsTheProgramWithTheClassSaved) {
    const std::string ordner = wine::FreshProgramFolder("Rido Kladdorix Abmelden");
    const std::string pfad = WriteClassFile(ordner, Deutsch8b(false));
    wine::WindowsProgram w(display, ordner);
    ProgramUnderTest& p = w.p();
    ASSERT_TRUE(w.StartToCatalogue());
    ASSERT_TRUE(OpenOnlyClass(p));
    GradeByMouse(p, 1, 1, 4);  // Adler: "2", not saved yet
    p.Click(100, 60);          // and the command menu left open
    SleepMs(700);
    p.Save(p.Shoot(), "windows-vor-abmelden");
    // Windows' end of the session (WM_QUERYENDSESSION to every window): the
    // program holds it while it saves, so wineboot reports it as refused.
    wine::Wine({"wineboot", "--end-session"});
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(20000, status)) << "still running after the end of the session";
    EXPECT_EQ(status, 0);
    TestGradebook erwartet = Deutsch8b(false);
    erwartet.schueler[0].noten[0] = "2";
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(erwartet));
    EXPECT_EQ(BackupsOf(ordner + "/Noten/8b/Backups").size(), 1u);
}
