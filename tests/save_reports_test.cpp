// Nothing fails silently around a save: a dated backup, a mirror or a
// recovery file that cannot be written is told in a "Warnung" box, an
// unchanged save adds no backup, an unreadable data folder is told instead
// of an empty catalogue, a damaged gradebook is restored from a backup, and a
// sealed one that does not open under the key is left as it is.
#include <gtest/gtest.h>

#include "classscreen/class_commands.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/dates.hpp"
#include "gradebook/file_places.hpp"
#include "gradebook/save_failure.hpp"
#include "gradebook_fixture.hpp"
#include "platform/sealed_files.hpp"
#include "photo_files.hpp"
#include "shell/catalogue.hpp"
#include "without_root_rights.hpp"

namespace {

namespace fs = std::filesystem;

struct GezeigteBox {
    Text titel;
    std::vector<Text> zeilen, schalter;
};

class Meldungen : public GradebookTest {
protected:
    void SetUp() override {
        GradebookTest::SetUp();
        SpiegelfehlerGemeldet = false;
        // Every box is recorded and answered with its button `antwort` (Enter: the first).
        TInfoBox::Gezeigt = [this](const TInfoBox& b) {
            GezeigteBox g{b.title, b.info, {}};
            for (const auto& s : b.Schalter) g.schalter.push_back(s->Text.empty() ? Text() : s->Text[0]);
            boxen.push_back(g);
            const float x = b.Schalter[antwort]->x + b.Schalter[antwort]->Breite / 2.0f;
            const float y = b.Schalter[antwort]->y + b.Schalter[antwort]->Tiefe / 2.0f;
            Press(Frame(20), x, y);
            Release(Frame(22), x, y);
            backend->At(Frame(400), {ScriptedEvent::KeyDown, 27});
        };
    }
    void TearDown() override {
        TInfoBox::Gezeigt = nullptr;
        GradebookTest::TearDown();
    }
    std::shared_ptr<TSchulklasse> Klasse() {
        auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
        Spalte(*k, u"Arbeit", u"01.10.15");
        Schueler(*k, u"Adler", u"Tom", {u"2"});
        Schueler(*k, u"Berger", u"Eva", {u"1"});
        return k;
    }
    static bool Enthaelt(const GezeigteBox& b, const Text& zeile) {
        return std::find(b.zeilen.begin(), b.zeilen.end(), zeile) != b.zeilen.end();
    }
    static Text Absolut(const fs::path& p) { return TextFromUtf8(fs::canonical(p).string()); }
    std::vector<GezeigteBox> boxen;
    size_t antwort = 0;
};

// ---------------------------------------------------------------- a backup that cannot be written

TEST_F(Meldungen, DatedBackupThatCannotBeWrittenIsWarnedAboutAndTheSaveStands) {
    auto k = Klasse();
    ASSERT_TRUE(k->speichern(u""));
    k->Zelle(1, 1).Text[0] = u"4";
    {
        Rechte nurLesen("Noten/7a/Backups", fs::perms(0555));
        OhneRootDateirechte ohne;
        const Speicherergebnis e = k->speichern(u"");
        EXPECT_TRUE(e);
        EXPECT_EQ(e.backupFehlt, u"Noten/7a/Backups");
        EXPECT_EQ(e.spiegelFehlt, u"");
        // Leaving saves again: the class screen goes, after one box.
        EXPECT_EQ(SpeichernUndVerlassen(*k, 1), 1);
    }
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk"), KlassendateiBytes(*k));
    EXPECT_EQ(Dateien("Noten/7a/Backups").size(), 1u);
    ASSERT_EQ(boxen.size(), 1u);
    EXPECT_EQ(boxen[0].titel, u"Warnung");
    EXPECT_TRUE(Enthaelt(boxen[0], Absolut("Noten/7a/Backups")));
    EXPECT_TRUE(Enthaelt(boxen[0], u"es konnte kein Backup angelegt werden in:"));
}

TEST_F(Meldungen, MirrorThatCannotBeWrittenIsWarnedAboutOncePerRun) {
    fs::create_directories("extern");
    BackupOrdner = TextFromUtf8(fs::absolute("extern").string());
    auto k = Klasse();
    {
        Rechte nurLesen("extern", fs::perms(0555));
        OhneRootDateirechte ohne;
        EXPECT_EQ(SpeichernUndVerlassen(*k, 1), 1);
        k->Zelle(1, 1).Text[0] = u"5";
        EXPECT_EQ(SpeichernUndVerlassen(*k, 1), 1);
    }
    ASSERT_EQ(boxen.size(), 1u);
    EXPECT_EQ(boxen[0].titel, u"Warnung");
    EXPECT_TRUE(Enthaelt(boxen[0], BackupOrdner));
    EXPECT_FALSE(Enthaelt(boxen[0], u"es konnte kein Backup angelegt werden in:"));
    EXPECT_FALSE(Dateien("Noten/7a/Backups").empty());
    // A drive that is not plugged in is no failure: no box, no mirror.
    SpiegelfehlerGemeldet = false;
    BackupOrdner = u"/media/kein-solcher-stick/Sicherung";
    k->Zelle(1, 1).Text[0] = u"6";
    const Speicherergebnis e = k->speichern(u"");
    EXPECT_TRUE(e && e.spiegelFehlt.empty() && e.backupFehlt.empty());
    SicherungswarnungZeigen(*k, e);
    EXPECT_EQ(boxen.size(), 1u);
}

TEST_F(Meldungen, RecoveryFileThatCannotBeWrittenIsWarnedAboutOncePerOpenedClass) {
    auto k = Klasse();
    ASSERT_TRUE(k->speichern(u""));
    {
        Rechte nurLesen("Noten/7a", fs::perms(0555));
        OhneRootDateirechte ohne;
        k->Zelle(1, 1).Text[0] = u"3";
        k->AenderungVermerken();
        k->Zelle(1, 1).Text[0] = u"4";
        k->AenderungVermerken();
        ASSERT_EQ(boxen.size(), 1u);
        // Opened again, the class tells it again.
        auto wieder = TSchulklasse::laden(u"Noten/7a/7a Mathe.slk");
        ASSERT_TRUE(wieder);
        wieder->AenderungVermerken();
    }
    ASSERT_EQ(boxen.size(), 2u);
    EXPECT_EQ(boxen[0].titel, u"Warnung");
    EXPECT_TRUE(Enthaelt(boxen[0], Absolut("Noten/7a") + u"/7a Mathe.slk.ungespeichert"));
    EXPECT_FALSE(fs::exists("Noten/7a/7a Mathe.slk.ungespeichert"));
    // Once writable again, edits are kept without a word.
    k->AenderungVermerken();
    EXPECT_EQ(boxen.size(), 2u);
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk.ungespeichert"), KlassendateiBytes(*k));
}

// ---------------------------------------------------------------- no identical backups

TEST_F(Meldungen, UnchangedSaveAddsNoBackupButRefreshesTheMirror) {
    fs::create_directories("extern");
    BackupOrdner = TextFromUtf8(fs::absolute("extern").string());
    auto k = Klasse();
    ASSERT_TRUE(k->speichern(u""));
    const auto erste = Dateien("Noten/7a/Backups");
    ASSERT_EQ(erste.size(), 1u);
    // Another subject's backup, newer and with the same bytes, is no backup of this one.
    Schreiben("Noten/7a/Backups/7a Mathe Lk 99-12-31-23-59-59.slk", Lesen("Noten/7a/7a Mathe.slk"));
    fs::remove("extern/Noten/7a/7a Mathe.slk");
    fs::remove_all("extern/Noten/7a/Backups");
    ASSERT_TRUE(k->speichern(u""));
    EXPECT_EQ(Dateien("Noten/7a/Backups").size(), 2u);
    EXPECT_EQ(Lesen("extern/Noten/7a/7a Mathe.slk"), Lesen("Noten/7a/7a Mathe.slk"));
    EXPECT_EQ(Dateien("extern/Noten/7a/Backups"), erste);
    // A change makes the next backup; a save one second later waits for a change again.
    k->Zelle(2, 1).Text[0] = u"2+";
    const Text vorher = Zeitstempel();
    while (Zeitstempel() == vorher) ::usleep(20000);
    ASSERT_TRUE(k->speichern(u""));
    EXPECT_EQ(Dateien("Noten/7a/Backups").size(), 3u);
    EXPECT_EQ(Lesen(Utf8FromText(NeuestesBackup(u"7a", u"Mathe"))), KlassendateiBytes(*k));
    ASSERT_TRUE(k->speichern(u""));
    EXPECT_EQ(Dateien("Noten/7a/Backups").size(), 3u);
    EXPECT_TRUE(boxen.empty());
}

// ---------------------------------------------------------------- a data folder that cannot be listed

TEST_F(Meldungen, UnreadableDataFolderIsToldInsteadOfAnEmptyCatalogue) {
    auto k = Klasse();
    ASSERT_TRUE(k->speichern(u""));
    const Text D = Absolut("Noten");
    ASSERT_TRUE(Katalog::LadenAus(D));
    EXPECT_EQ(Klassendateien.size(), 1u);
    EXPECT_TRUE(boxen.empty());
    {
        Rechte unlesbar("Noten", fs::perms::none);
        OhneRootDateirechte ohne;
        EXPECT_FALSE(Katalog::LadenAus(D));
    }
    // The old tile is gone, "Optionen" stays.
    EXPECT_TRUE(Klassendateien.empty());
    EXPECT_TRUE(Klassenkacheln.empty());
    EXPECT_TRUE(OptionenKachel);
    ASSERT_EQ(boxen.size(), 1u);
    EXPECT_EQ(boxen[0].titel, u"Fehler");
    EXPECT_EQ(boxen[0].zeilen, (std::vector<Text>{u"Dieser Ordner konnte nicht geladen werden:", D}));
    EXPECT_EQ(boxen[0].schalter, std::vector<Text>{kOkSchalter});
    // Readable again, the next listing shows the class.
    EXPECT_TRUE(Katalog::LadenAus(D));
    EXPECT_EQ(Klassendateien.size(), 1u);
}

// ---------------------------------------------------------------- a damaged gradebook

TEST_F(Meldungen, DamagedGradebookIsReplacedByAChosenBackupAndKeptAside) {
    auto k = Klasse();
    ASSERT_TRUE(k->speichern(u""));
    const std::string gut = Lesen("Noten/7a/7a Mathe.slk");
    const std::string backup = Dateien("Noten/7a/Backups")[0];
    Schreiben("Noten/7a/7a Mathe.slk", "kaputt");
    ASSERT_FALSE(TSchulklasse::laden(u"Noten/7a/7a Mathe.slk"));
    EXPECT_EQ(Katalog::LadefehlerBox(u"7a/7a Mathe.slk")->Schalter.size(), 2u);

    RequesterStandIn requester(ordner_ / "zenity");
    // Refused as in "Zurück zu Backup": a file outside Backups, then a backup of another subject.
    Schreiben(ordner_ / "anderswo.slk", gut);
    Schreiben("Noten/7a/Backups/7a Physik 15-01-01-00-00-00.slk",
              KlassendateiBytes(*TSchulklasse::bauen({u"7a", u"Physik"}, 0)));
    requester.Antworten({(ordner_ / "anderswo.slk").string(),
                         (ordner_ / "Noten/7a/Backups/7a Physik 15-01-01-00-00-00.slk").string(),
                         (ordner_ / "Noten/7a/Backups" / backup).string()});
    EXPECT_EQ(BeschaedigteKlasseErsetzen(u"7a", u"Mathe"), 0);
    EXPECT_EQ(BeschaedigteKlasseErsetzen(u"7a", u"Mathe"), 0);
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk"), "kaputt");
    ASSERT_EQ(boxen.size(), 2u);
    EXPECT_EQ(boxen[0].titel, u"Info");
    EXPECT_EQ(boxen[1].zeilen[0], u"Dieses Backup gehört zu 7a Physik,");
    EXPECT_NE(requester.Argumente().find("/Noten/7a/Backups/"), std::string::npos);

    EXPECT_EQ(BeschaedigteKlasseErsetzen(u"7a", u"Mathe"), 1);
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk"), gut);
    bool beiseite = false;
    for (const std::string& n : Dateien("Noten/7a/Backups"))
        if (n.starts_with("7a Mathe ") && n.ends_with(".slk.beschaedigt"))
            beiseite = Lesen("Noten/7a/Backups/" + n) == "kaputt";
    EXPECT_TRUE(beiseite);
    EXPECT_TRUE(TSchulklasse::laden(u"Noten/7a/7a Mathe.slk"));
    EXPECT_EQ(boxen.size(), 2u);
}

// A sealed gradebook that does not open under the key is told, offered no
// backup (which would be written over it) and left byte for byte.
TEST_F(Meldungen, ASealedGradebookThatDoesNotOpenGetsItsBoxAndStaysUntouched) {
    SetNewKeyLimits({1, 8192});
    const auto schluessel = [] {
        SealingOff();
        std::filesystem::remove(".Kladdorix-Schluessel");
        std::array<unsigned char, kRecoveryBytes> code{};
        ASSERT_TRUE(PrepareNewKey(code));
        ASSERT_EQ(WriteNewKeyFile(u".Kladdorix-Schluessel", u"ein langes Passwort", code), KeyResult::Ok);
    };
    struct Fall {
        const char* was;
        std::function<void(std::string&)> schaden;
        bool backupAngeboten;
    };
    const Fall faelle[] = {
        {"plain and damaged", [](std::string& b) { b = "kaputt"; }, true},
        {"a flipped byte", [](std::string& b) { b[b.size() / 2] ^= 1; }, false},
        {"truncated", [](std::string& b) { b.resize(b.size() - 5); }, false},
        {"under another key", [&](std::string&) { schluessel(); }, false},
        {"an older backup copied over it", [&](std::string& b) {
             // The newest backup, just written by this save: it opens only at its own place.
             std::string neuestes;
             for (const auto& e : std::filesystem::directory_iterator("Noten/7a/Backups"))
                 neuestes = std::max(neuestes, e.path().string());
             b = Lesen(neuestes);
         }, false},
    };
    AblageorteBinden();
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.was);
        schluessel();
        ASSERT_TRUE(Klasse()->speichern(u""));
        std::string bytes = Lesen("Noten/7a/7a Mathe.slk");
        f.schaden(bytes);
        Schreiben("Noten/7a/7a Mathe.slk", bytes);
        boxen.clear();
        EXPECT_FALSE(Katalog::KlasseLaden(u"Noten/7a/7a Mathe.slk", u"7a/7a Mathe.slk", u"7a"));
        ASSERT_EQ(boxen.size(), 1u);
        EXPECT_EQ(boxen[0].titel, u"Fehler");
        if (f.backupAngeboten) {
            EXPECT_EQ(boxen[0].schalter, (std::vector<Text>{kOkSchalter, kBackupWaehlen}));
        } else {
            EXPECT_EQ(boxen[0].zeilen,
                      (std::vector<Text>{u"Die verschlüsselte Datei", u"7a/7a Mathe.slk",
                                         u"ist beschädigt, gehört an einen anderen Ort",
                                         u"(etwa ein älteres Backup über der Klassendatei)",
                                         u"oder zu einem anderen Schlüssel.", u"Sie bleibt unverändert liegen."}));
            EXPECT_EQ(boxen[0].schalter, (std::vector<Text>{kOkSchalter, kBackupWaehlen}));
        }
        EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk"), bytes);
    }
    SealingOff();
    SetPlaceRule(nullptr);
    SetNewKeyLimits({});
}

}  // namespace
