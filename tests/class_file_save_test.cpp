// Saving a gradebook: the old file survives any failure, folders are made
// complete, backups are dated per second, the external mirror appears only
// where its folder is reachable, and the empty duplicate never overwrites.
#include <gtest/gtest.h>

#include "gradebook/class_file.hpp"
#include "gradebook/dates.hpp"
#include "gradebook/empty_duplicate.hpp"
#include "gradebook_fixture.hpp"
#include "gradebook/data_folders.hpp"
#include "tiles/texteingabe.hpp"

namespace {

namespace fs = std::filesystem;

ScriptedEvent Ereignis(ScriptedEvent::Kind art, int a) {
    ScriptedEvent e{};
    e.kind = art;
    e.a = a;
    return e;
}

class Saving : public GradebookTest {
protected:
    std::shared_ptr<TSchulklasse> Klasse(const Text& klasse = u"7a", const Text& fach = u"Mathe") {
        auto k = TSchulklasse::bauen({klasse, fach}, 0);
        Spalte(*k, u"Arbeit", u"01.10.15");
        Spalte(*k, u"M\u00FCndl.", u"02.10.15");
        Schueler(*k, u"Adler", u"Tom", {u"2", u"3-"}, u"0171", u"ruhig", u"2x");
        Schueler(*k, u"Berger", u"Eva", {u"1", u""}, kPlatzhalterTelefon, u"laut", u"1x");
        return k;
    }
    // Dismisses the next information box with Enter.
    void BoxMitEnterSchliessen() {
        backend->At(Frame(12), Ereignis(ScriptedEvent::KeyDown, 13));
        backend->At(Frame(14), Ereignis(ScriptedEvent::KeyUp, 13));
        backend->At(Frame(400), Ereignis(ScriptedEvent::KeyDown, 27));  // ends a broken test
    }
};

}  // namespace

TEST_F(Saving, TwoSavesInOneSecondLeaveOneBackupWithTheLaterContent) {
    auto k = Klasse();
    // Retried when the clock's second turns between the two saves.
    for (int versuch = 0; versuch < 5; ++versuch) {
        fs::remove_all("Noten/7a/Backups");
        const Text vorher = Zeitstempel();
        ASSERT_TRUE(k->speichern(u""));
        k->Zelle(1, 1).change({u"5"}, {}, {}, 1);
        ASSERT_TRUE(k->speichern(u""));
        if (Zeitstempel() != vorher) continue;
        const auto backups = Dateien("Noten/7a/Backups");
        ASSERT_EQ(backups.size(), 1u);
        EXPECT_EQ(backups[0], "7a Mathe " + Utf8FromText(vorher) + ".slk");
        EXPECT_EQ(Lesen("Noten/7a/Backups/" + backups[0]), Lesen("Noten/7a/7a Mathe.slk"));
        EXPECT_NE(Lesen("Noten/7a/7a Mathe.slk").find("C;X3;Y5;K\"5\""), std::string::npos);
        return;
    }
    FAIL() << "the clock turned a second during every attempt";
}

TEST_F(Saving, EverySaveCompletesTheClassFolder) {
    auto k = Klasse();
    ASSERT_TRUE(k->speichern(u""));
    EXPECT_EQ(Dateien("Noten/7a"), (std::vector<std::string>{"7a Mathe.slk", "Backups", "Bilder"}));
    fs::remove_all("Noten/7a/Backups");
    fs::remove_all("Noten/7a/Bilder");
    ASSERT_TRUE(k->speichern(u""));
    EXPECT_TRUE(fs::is_directory("Noten/7a/Bilder"));
    EXPECT_EQ(Dateien("Noten/7a/Backups").size(), 1u);
}

TEST_F(Saving, AFailedSaveLeavesTheOldFileAndNoLeftover) {
    auto k = Klasse();
    ASSERT_TRUE(k->speichern(u""));
    const std::string alt = Lesen("Noten/7a/7a Mathe.slk");
    k->Zelle(1, 1).change({u"6"}, {}, {}, 1);
    // The new file cannot be made beside the old one (here: a folder is in the way).
    fs::create_directory("Noten/7a/7a Mathe.slk.neu");
    EXPECT_FALSE(k->speichern(u""));
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk"), alt);
    fs::remove("Noten/7a/7a Mathe.slk.neu");
    // A leftover from a crash is simply replaced, and never taken for a gradebook.
    Schreiben("Noten/7a/7a Mathe.slk.neu", "ID;PCALC");
    EXPECT_FALSE(IstKlassendateiname(u"7a Mathe.slk.neu"));
    ASSERT_TRUE(k->speichern(u""));
    EXPECT_FALSE(fs::exists("Noten/7a/7a Mathe.slk.neu"));
    EXPECT_NE(Lesen("Noten/7a/7a Mathe.slk").find("K\"6\""), std::string::npos);
}

TEST_F(Saving, SavingDoesNotChangeTheRecord) {
    auto k = Klasse();
    const auto vorher = Inhalt(*k);
    ASSERT_TRUE(k->speichern(u""));
    EXPECT_EQ(Inhalt(*k), vorher);
    auto g = TSchulklasse::laden(u"Noten/7a/7a Mathe.slk");
    ASSERT_TRUE(g);
    EXPECT_EQ(Inhalt(*g), vorher);
}

TEST_F(Saving, MirrorOnlyWhereTheBackupFolderIsReachable) {
    const fs::path extern_ = ordner_ / "stick";
    fs::create_directories(extern_);
    // A folder below /mnt whose own drive is not mounted stands for a pulled stick.
    fs::path mnt = fs::path("/mnt") / ("rk-kein-stick-" + std::to_string(::getpid()));
    std::error_code ec;
    const bool mntDa = fs::create_directories(mnt, ec);
    struct Fall { const char* name; Text ordner; bool gespiegelt; };
    const std::vector<Fall> faelle{
        {"reachable folder", TextFromUtf8(extern_.string()), true},
        {"reachable with trailing slash", TextFromUtf8(extern_.string() + "/"), true},
        {"none set", u"", false},
        {"folder missing", TextFromUtf8((ordner_ / "fehlt").string()), false},
        {"relative path", u"stick", false},
        {"drive not present", TextFromUtf8(mnt.string()), false},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.name);
        if (std::string(f.name) == "drive not present" && !mntDa) continue;
        fs::remove_all(extern_ / "Noten");
        fs::remove_all(mnt / "Noten", ec);
        fs::remove_all("Noten/7a");
        BackupOrdner = f.ordner;
        auto k = Klasse();
        ASSERT_TRUE(k->speichern(u""));
        const auto backups = Dateien("Noten/7a/Backups");
        ASSERT_EQ(backups.size(), 1u);
        if (f.gespiegelt) {
            EXPECT_EQ(Lesen(extern_ / "Noten/7a/7a Mathe.slk"), Lesen("Noten/7a/7a Mathe.slk"));
            EXPECT_EQ(Dateien(extern_ / "Noten/7a/Backups"), backups);
            EXPECT_EQ(Lesen(extern_ / "Noten/7a/Backups" / backups[0]), Lesen("Noten/7a/7a Mathe.slk"));
            EXPECT_EQ(Dateien(extern_ / "Noten/7a"), (std::vector<std::string>{"7a Mathe.slk", "Backups"}));
        } else {
            EXPECT_FALSE(fs::exists(extern_ / "Noten"));
            EXPECT_FALSE(fs::exists(mnt / "Noten", ec));
        }
    }
    if (mntDa) fs::remove_all(mnt, ec);
}

TEST_F(Saving, DuplicateForAnotherSubjectKeepsFolderPhotosAndHomework) {
    auto k = Klasse();
    ASSERT_TRUE(k->speichern(u""));
    const std::string alt = Lesen("Noten/7a/7a Mathe.slk");
    Schreiben("Noten/7a/Bilder/Adler Tom.png", "png");
    EXPECT_EQ(LeeresDuplikatUnter(*k, u"7a", u"Physik"), Duplikatergebnis::Erzeugt);
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk"), alt);
    auto g = TSchulklasse::laden(u"Noten/7a/7a Physik.slk");
    ASSERT_TRUE(g);
    EXPECT_EQ(g->Notenanzahl, 1);
    EXPECT_EQ(g->Zelle(0, 0).Text, (std::vector<Text>{u"7a", u"Physik"}));
    EXPECT_EQ(g->Zelle(2, 0).Text[0], u"Berger");
    EXPECT_EQ(g->Telefonnummer[1], u"0171");
    EXPECT_EQ(g->Notizen[2], u"laut");
    EXPECT_EQ(g->VergesseneHA[1], u"2x");
    EXPECT_EQ(k->Zensurzeile[1]->Kachel.size(), 1u);
    EXPECT_EQ(Dateien("Noten/7a/Bilder"), (std::vector<std::string>{"Adler Tom.png"}));
}

TEST_F(Saving, DuplicateForTheNextClassCarriesPhotosAndClearsHomework) {
    auto k = Klasse();
    ASSERT_TRUE(k->speichern(u""));
    Schreiben("Noten/7a/Bilder/Adler Tom.png", "old photo");
    Schreiben("Noten/7a/Bilder/Fremd Max.png", "not in the class");
    struct Vorschlag { Text alt, neu; };
    for (const Vorschlag& v : {Vorschlag{u"7a", u"8a"}, {u"9c", u"10c"}, {u"10a", u"11a"}, {u"13", u"14"},
                               {u"Q1", u"11"}, {u"5", u"6"}})
        EXPECT_EQ(VorschlagNaechsteKlasse(v.alt), v.neu) << Utf8FromText(v.alt);
    EXPECT_EQ(LeeresDuplikatUnter(*k, u"8a", u"Mathe"), Duplikatergebnis::Erzeugt);
    EXPECT_EQ(Dateien("Noten/8a"), (std::vector<std::string>{"8a Mathe.slk", "Backups", "Bilder"}));
    EXPECT_EQ(Dateien("Noten/8a/Bilder"), (std::vector<std::string>{"Adler Tom.png"}));
    EXPECT_EQ(Lesen("Noten/8a/Bilder/Adler Tom.png"), "old photo");
    EXPECT_EQ(k->VergesseneHA, (std::vector<Text>{u"", kPlatzhalterVergesseneHA, kPlatzhalterVergesseneHA}));
    EXPECT_EQ(k->Notizen[1], u"ruhig");
    EXPECT_TRUE(fs::exists("Noten/7a/7a Mathe.slk"));
}

TEST_F(Saving, DuplicateNeverOverwritesAGradebookAndRefusesTheSameNames) {
    auto anderes = Klasse(u"8a", u"Mathe");
    ASSERT_TRUE(anderes->speichern(u""));
    const std::string vorhanden = Lesen("Noten/8a/8a Mathe.slk");
    struct Fall { Text klasse, fach; Duplikatergebnis ergebnis; std::vector<Text> zeilen; };
    const Fall faelle[] = {
        {u"8a", u"Mathe", Duplikatergebnis::DateiVorhanden,
         {u"F\u00FCr diese Klasse und dieses Fach", u"gibt es bereits ein Notenbuch.",
          u"Es wird nicht \u00FCberschrieben."}},
        {u"7a", u"Mathe", Duplikatergebnis::GleicheNamen,
         {u"Sie k\u00F6nnen kein leeres Duplikat", u"mit der GLEICHEN Klasse UND", u"dem GLEICHEN Fach erzeugen."}},
    };
    for (const Fall& f : faelle) {
        auto k = Klasse();
        const auto vorher = Inhalt(*k);
        Duplikathinweis.reset();
        BoxMitEnterSchliessen();
        EXPECT_EQ(LeeresDuplikatUnter(*k, f.klasse, f.fach), f.ergebnis);
        ASSERT_TRUE(Duplikathinweis);
        EXPECT_EQ(Duplikathinweis->title, u"Info");
        EXPECT_EQ(Duplikathinweis->titleRGB, (RGBFarbe{255, 255, 0}));
        EXPECT_EQ(Duplikathinweis->info, f.zeilen);
        ASSERT_EQ(Duplikathinweis->Schalter.size(), 1u);
        EXPECT_EQ(Duplikathinweis->Schalter[0]->Text[0], kOkSchalter);
        EXPECT_EQ(Inhalt(*k), vorher);
        EXPECT_EQ(Lesen("Noten/8a/8a Mathe.slk"), vorhanden);
    }
}

TEST_F(Saving, DuplicateAsksForClassAndSubjectOnTheKeyboard) {
    Texteingabe::initialisieren();
    auto k = Klasse();
    ASSERT_TRUE(k->speichern(u""));
    // The class proposal 8a is taken as it is; the subject is typed over the selected old one.
    backend->At(Frame(25), Ereignis(ScriptedEvent::Typed, 13));
    for (int n = 0; n < 3; ++n) backend->At(Frame(60 + 2 * n), Ereignis(ScriptedEvent::Typed, "Bio"[n]));
    backend->At(Frame(70), Ereignis(ScriptedEvent::Typed, 13));
    backend->At(Frame(600), Ereignis(ScriptedEvent::KeyDown, 27));
    EXPECT_EQ(k->LeeresDuplikatLaden(), 0);
    EXPECT_EQ(k->Titel, (std::array<Text, 2>{u"8a", u"Bio"}));
    EXPECT_TRUE(fs::exists("Noten/8a/8a Bio.slk"));
}
