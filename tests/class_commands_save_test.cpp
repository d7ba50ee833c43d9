// The saving commands of the class menu: "Zurück zu Backup" with its path
// rules and its one-step replacement, the export copy, the empty duplicate,
// and every saving command staying on the class screen when the save fails.
#include "classscreen/class_commands.hpp"
#include "gradebook/backup_choice.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook_fixture.hpp"
#include "tiles/texteingabe.hpp"

namespace fs = std::filesystem;

namespace {
const char* kBackup = "Noten/7a/Backups/7a Mathe 26-01-01-10-00-00.slk";

class SavingCommands : public GradebookTest {
protected:
    void SetUp() override {
        GradebookTest::SetUp();
        klasse = Klasse(u"7a", u"Mathe", u"Berger");
        ASSERT_TRUE(klasse->speichern(u""));
        aktuell = Lesen("Noten/7a/7a Mathe.slk");
        // An older state, with another student.
        Schreiben(kBackup, KlassendateiBytes(*Klasse(u"7a", u"Mathe", u"Adler")));
        // Boxes are closed by Enter.
        for (int f = 5; f < 300; f += 10) KeyTap(Frame(f), 13);
    }
    std::shared_ptr<TSchulklasse> Klasse(const Text& k, const Text& f, const Text& schueler) {
        auto neu = TSchulklasse::bauen({k, f}, 0);
        Spalte(*neu, u"Arbeit", u"14.10.26");
        Schueler(*neu, schueler, u"Lena", {u"2-"});
        return neu;
    }
    std::string Absolut(const std::string& relativ) const { return (ordner_ / relativ).string(); }
    std::shared_ptr<TSchulklasse> klasse;
    std::string aktuell;
};
}  // namespace

TEST_F(SavingCommands, OnlyRealBackupsOfThisClassAreAccepted) {
    Schreiben("Noten/7a/Backups/7a Mathe 26-01-02-10-00-00.slk.neu", Lesen(kBackup));
    Schreiben("Noten/7b/Backups/7a Mathe 26-01-01-10-00-00.slk", Lesen(kBackup));
    Schreiben("woanders/Noten/7a/Backups/7a Mathe 26-01-01-10-00-00.slk", Lesen(kBackup));
    Schreiben(ordner_ / "draussen.slk", Lesen(kBackup));
    fs::create_symlink(ordner_ / "draussen.slk", "Noten/7a/Backups/Verweis.slk");
    fs::create_symlink(ordner_ / kBackup, "Verweis-hinein.slk");
    struct Fall { std::string pfad; bool backup; };
    const Fall faelle[] = {
        {kBackup, true},
        {Absolut(kBackup), true},
        {"Noten/7a/Backups/./7a Mathe 26-01-01-10-00-00.slk", true},
        {"Noten/7b/../7a/Backups/7a Mathe 26-01-01-10-00-00.slk", true},
        {"Verweis-hinein.slk", true},  // a link that resolves into the folder
        {"Noten/7a/Backups/7a Mathe 26-01-02-10-00-00.slk.neu", false},
        {"Noten/7a/Backups/7A MATHE 26-01-02-10-00-00.SLK.NEU", false},
        {"Noten/7a/Backups/../7a Mathe.slk", false},
        {"Noten/7a/Backups/Verweis.slk", false},  // a link that leads out
        {"Noten/7b/Backups/7a Mathe 26-01-01-10-00-00.slk", false},
        {"woanders/Noten/7a/Backups/7a Mathe 26-01-01-10-00-00.slk", false},
        {"Noten/7a/Backups/fehlt.slk", false},
        {"Noten/7a/Backups", false},
        {"", false},
    };
    for (const Fall& f : faelle)
        EXPECT_EQ(IstBackupDerKlasse(TextFromUtf8(f.pfad), u"Noten/7a/Backups/"), f.backup) << f.pfad;
}

TEST_F(SavingCommands, RestoreSavesFirstThenReplacesTheClassFile) {
    const size_t backupsVorher = Dateien("Noten/7a/Backups").size();
    EXPECT_EQ(BackupEinsetzen(*klasse, TextFromUtf8(Absolut(kBackup))), 1);
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk"), Lesen(kBackup));
    // The state before the restore is a backup of its own now (a new one, or
    // the one of this second replaced).
    bool gesichert = false;
    for (const std::string& b : Dateien("Noten/7a/Backups")) gesichert |= Lesen("Noten/7a/Backups/" + b) == aktuell;
    EXPECT_TRUE(gesichert);
    EXPECT_GE(Dateien("Noten/7a/Backups").size(), backupsVorher);
    for (const std::string& d : Dateien("Noten/7a")) EXPECT_FALSE(d.ends_with(".neu")) << d;
}

TEST_F(SavingCommands, RefusedBackupsChangeNothing) {
    Schreiben("Noten/7a/Backups/7a Deutsch 26-01-01-10-00-00.slk", KlassendateiBytes(*Klasse(u"7a", u"Deutsch", u"Z")));
    Schreiben("Noten/7a/Backups/kaputt.slk", "kein Notenbuch\r\n");
    Schreiben("Noten/7a/Backups/x.slk.neu", Lesen(kBackup));
    Notenskala = 0;
    for (const char* p : {"Noten/7a/Backups/7a Deutsch 26-01-01-10-00-00.slk", "Noten/7a/Backups/kaputt.slk",
                          "Noten/7a/Backups/x.slk.neu", "Noten/7a/7a Mathe.slk"}) {
        SCOPED_TRACE(p);
        EXPECT_EQ(BackupEinsetzen(*klasse, TextFromUtf8(p)), 0);
        EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk"), aktuell);
    }
    // A backup of an upper-school class read for the test leaves this class's scale.
    Schreiben("Noten/7a/Backups/12a.slk", KlassendateiBytes(*Klasse(u"12a", u"Mathe", u"Z")));
    Notenskala = 0;
    EXPECT_EQ(BackupEinsetzen(*klasse, u"Noten/7a/Backups/12a.slk"), 0);
    EXPECT_EQ(Notenskala, 0);
}

TEST_F(SavingCommands, ExportCopiesTheSavedFile) {
    // The copy lies in the working folder, which is the program folder.
    Schueler(*klasse, u"Zorn", u"Tim", {u"1"});
    EXPECT_TRUE(ExportkopieAnlegen(*klasse));
    EXPECT_EQ(Lesen("7a Mathe (exportiert).slk"), Lesen("Noten/7a/7a Mathe.slk"));
    EXPECT_NE(Lesen("7a Mathe (exportiert).slk").find("Zorn"), std::string::npos);
}

TEST_F(SavingCommands, FailedSaveLeavesNothingAndStays) {
    // A folder where the class file belongs: the class file cannot be replaced.
    fs::remove("Noten/7a/7a Mathe.slk");
    fs::create_directories("Noten/7a/7a Mathe.slk");
    Texteingabe::initialisieren();
    struct Fall { const char* name; std::function<int()> befehl; };
    const Fall faelle[] = {
        {"Zur Klassenübersicht", [&] { return SpeichernUndVerlassen(*klasse, 1); }},
        {"Kladdorix schließen", [&] { return SpeichernUndVerlassen(*klasse, 3); }},
        {"Exportieren", [&] { return ExportkopieAnlegen(*klasse) ? 1 : 0; }},
        {"Zurück zu Backup", [&] { return BackupEinsetzen(*klasse, TextFromUtf8(kBackup)); }},
        {"Klasse leer duplizieren", [&] { return LeerDuplizieren(*klasse); }},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        for (int i = 5; i < 300; i += 10) KeyTap(Frame(i), 13);
        EXPECT_EQ(f.befehl(), 0);
        EXPECT_TRUE(fs::is_directory("Noten/7a/7a Mathe.slk"));
        EXPECT_FALSE(fs::exists("7a Mathe (exportiert).slk"));
        EXPECT_EQ(klasse->Titel[0], u"7a");  // not duplicated
        EXPECT_EQ(klasse->Notenanzahl, 2);
    }
}

TEST_F(SavingCommands, EmptyDuplicateReportsOnlyAWrittenGradebook) {
    Texteingabe::initialisieren();
    // The proposal 8a is confirmed, the subject kept; a file stands where
    // the folder of 8a belongs, so 8a cannot be written.
    Schreiben("Noten/8a", "kein Ordner");
    auto tippen = [&] {
        backend->At(Frame(30), {ScriptedEvent::Typed, 13});
        backend->At(Frame(60), {ScriptedEvent::Typed, 13});
        for (int i = 80; i < 300; i += 10) KeyTap(Frame(i), 13);
    };
    tippen();
    EXPECT_EQ(LeerDuplizieren(*klasse), 0);
    EXPECT_EQ(klasse->Titel[0], u"8a");  // the open record is the unsaved duplicate
    fs::remove("Noten/8a");
    // Next year's class from a fresh 7a: written, then back to the catalogue.
    klasse = Klasse(u"7a", u"Mathe", u"Berger");
    tippen();
    EXPECT_EQ(LeerDuplizieren(*klasse), 2);
    EXPECT_NE(Lesen("Noten/8a/8a Mathe.slk").find("Berger"), std::string::npos);
    EXPECT_EQ(Lesen("Noten/8a/8a Mathe.slk").find("Arbeit"), std::string::npos);
}
