// Gradebooks encrypted at rest: every file the program writes (class file,
// backup, mirror, recovery file, portrait) is sealed while encryption is on
// and reads back; the conversion seals and unseals a whole folder, also
// when it is killed half way; portraits carry hashed names that follow a
// rename.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "gradebook/class_file.hpp"
#include "gradebook/encryption.hpp"
#include "gradebook/photo_paths.hpp"
#include "gradebook/portrait_cache.hpp"
#include "gradebook/portrait_files.hpp"
#include "gradebook/portrait_preparation.hpp"
#include "gradebook/recovery_offer.hpp"
#include "gradebook/student_rows.hpp"
#include "gradebook_fixture.hpp"
#include "platform/pixmap.hpp"
#include "platform/sealed_files.hpp"

namespace fs = std::filesystem;

namespace {

class Encryption : public GradebookTest {
protected:
    void SetUp() override {
        GradebookTest::SetUp();
        SetNewKeyLimits({1, 8192});
        SealingOff();
        stick_ = ordner_ / "stick";
        fs::create_directories(stick_);
        BackupOrdner = TextFromUtf8(stick_.string());
    }
    void TearDown() override {
        SealingOff();
        SetNewKeyLimits({});
        GradebookTest::TearDown();
    }
    void Einschalten() {
        std::array<unsigned char, kRecoveryBytes> code{};
        ASSERT_TRUE(PrepareNewKey(code));
        ASSERT_EQ(WriteNewKeyFile(SchluesseldateiIn(u"."), u"ein langes Passwort", code), KeyResult::Ok);
    }
    std::shared_ptr<TSchulklasse> Klasse(const Text& klasse = u"7a", const Text& fach = u"Mathe") {
        auto k = TSchulklasse::bauen({klasse, fach}, 0);
        Spalte(*k, u"Arbeit", u"01.10.15");
        Schueler(*k, u"Zappelmann", u"Quirin", {u"4-"}, u"0171-99887", u"Sitzplatz vorne", u"3x");
        Schueler(*k, u"Yilmazoglu", u"Xenia", {u"1+"});
        k->NachNamenSortieren(0);
        return k;
    }
    void Portrait(const TSchulklasse& k, int zeile) {
        fs::create_directories(Utf8FromText(KlassenordnerRelativ(k.Titel[0])) + "/Bilder");
        TPixmap bild = CreatePixmap(8, 8, 3, 4);
        WritePixel(bild, 3, 3, 0xFF123456u);
        ASSERT_TRUE(SavePixmapAsPNG(bild, PortraitDerZeile(k, zeile), 0));
    }
    // Every file below the working folder (the key file aside), with its bytes.
    std::map<std::string, std::string> Alles() const {
        std::map<std::string, std::string> out;
        for (const auto& e : fs::recursive_directory_iterator(ordner_))
            if (e.is_regular_file() && e.path().filename() != ".Kladdorix-Schluessel")
                out[fs::relative(e.path(), ordner_).string()] = Lesen(e.path());
        return out;
    }
    // A folder as the program leaves it after some weeks, plain.
    void Bestand() {
        for (const Text& kl : {Text(u"7a"), Text(u"8b")}) {
            auto k = Klasse(kl);
            ASSERT_TRUE(k->speichern(u""));
            Portrait(*k, 1);
            Portrait(*k, 2);
            k->Zensurzeile[1]->Kachel[1]->Text[0] = u"5";
            ASSERT_TRUE(WiederherstellungSchreiben(*k));
        }
        Schreiben(ordner_ / "Noten/7a/Backups/7a Mathe 15-01-01-10-00-00.slk", Lesen("Noten/7a/7a Mathe.slk"));
    }
    void KeinKlartext() const {
        for (const auto& [pfad, bytes] : Alles()) {
            EXPECT_EQ(bytes.substr(0, 4), "RKV2") << pfad;
            for (const char* geheim : {"Zappelmann", "Quirin", "Yilmazoglu", "Xenia", "K\"4-\"", "0171", "Sitzplatz"}) {
                EXPECT_EQ(bytes.find(geheim), std::string::npos) << pfad << " " << geheim;
                EXPECT_EQ(pfad.find(geheim), std::string::npos) << pfad;
            }
        }
    }
    fs::path stick_;
};

TEST_F(Encryption, EveryFileKindIsWrittenSealedAndReadsBack) {
    Einschalten();
    Bestand();
    const auto alles = Alles();
    EXPECT_TRUE(alles.count("stick/Noten/7a/7a Mathe.slk"));
    EXPECT_TRUE(alles.count("Noten/7a/7a Mathe.slk.ungespeichert"));
    EXPECT_EQ(Dateien(ordner_ / "Noten/7a/Bilder").size(), 2u);
    KeinKlartext();
    // The mirror carries the key file it needs, without the password part.
    EXPECT_EQ(Lesen(stick_ / ".Kladdorix-Schluessel"), StickKeyBytes(Lesen(".Kladdorix-Schluessel")));

    const auto zurueck = TSchulklasse::laden(u"Noten/7a/7a Mathe.slk");
    ASSERT_TRUE(zurueck);
    EXPECT_EQ(Inhalt(*zurueck), Inhalt(*Klasse()));
    const TPixmap bild = LoadPixmapFrom(PortraitDerZeile(*zurueck, 1));
    ASSERT_TRUE(bild);
    EXPECT_EQ(ReadPixel(bild, 3, 3), 0xFF123456u);
    // The recovery file is compared with the class in plain form: it differs
    // (one grade) and is offered; "Wiederherstellen" opens it.
    const auto angebot = WiederherstellungsAngebot(u"7a Mathe", u"06 Dec 2026", u"14:05:09");
    const TKachel& knopf = *angebot->Schalter[0];
    Press(Frame(12), knopf.x + knopf.Breite / 2.0f, knopf.y + knopf.Tiefe / 2.0f);
    Release(Frame(15), knopf.x + knopf.Breite / 2.0f, knopf.y + knopf.Tiefe / 2.0f);
    const Klassenoeffnung o = KlasseMitWiederherstellungLaden(u"Noten/7a/7a Mathe.slk");
    ASSERT_TRUE(o.klasse);
    EXPECT_EQ(o.klasse->Zelle(1, 1).Text[0], u"5");
}

TEST_F(Encryption, PortraitsDecodedAheadOpenSealedAndOnlyInMemory) {
    Einschalten();
    Bestand();
    const auto k = TSchulklasse::laden(u"Noten/7a/7a Mathe.slk");
    ASSERT_TRUE(k);
    const std::vector<Text> pfade{PortraitDerZeile(*k, 1), PortraitDerZeile(*k, 2)};
    const auto vorher = Alles();
    for (const bool gesperrt : {false, true}) {
        if (gesperrt) LockSealing();
        PortraitsVorbereiten(pfade, 8);
        VorbereitungAbschliessen();
        for (const Text& pfad : pfade) {
            FileStamp stempel;
            TPixmap bild;
            // Locked, the key is gone: nothing opens, and the plan shows initials.
            ASSERT_EQ(VorbereitetesPortrait(pfad, 8, stempel, bild), !gesperrt);
            if (gesperrt) continue;
            EXPECT_EQ(bild->pixels, PortraitPixmap(pfad, 8)->pixels);
            EXPECT_EQ(ReadPixel(bild, 3, 3), 0xFF123456u);
        }
    }
    VorbereitungBeenden();
    EXPECT_EQ(Alles(), vorher);
}

TEST_F(Encryption, APlainFileReadWhileOnIsSealedAtItsNextSave) {
    ASSERT_TRUE(Klasse()->speichern(u""));
    Einschalten();
    EXPECT_FALSE(IsSealedFile(u"Noten/7a/7a Mathe.slk"));
    auto k = TSchulklasse::laden(u"Noten/7a/7a Mathe.slk");
    ASSERT_TRUE(k);
    ASSERT_TRUE(k->speichern(u""));
    EXPECT_TRUE(IsSealedFile(u"Noten/7a/7a Mathe.slk"));
}

TEST_F(Encryption, ASealedFileUnderAnotherKeyIsRefusedAndNeverOverwritten) {
    Einschalten();
    ASSERT_TRUE(Klasse()->speichern(u""));
    ASSERT_TRUE(WiederherstellungSchreiben(*Klasse()));
    const std::string vorher = Lesen("Noten/7a/7a Mathe.slk");
    const std::string rettung = Lesen("Noten/7a/7a Mathe.slk.ungespeichert");
    SealingOff();
    fs::remove(".Kladdorix-Schluessel");
    Einschalten();
    EXPECT_FALSE(TSchulklasse::laden(u"Noten/7a/7a Mathe.slk"));
    // Not opened, so never saved over; its recovery file is not offered either.
    const Klassenoeffnung o = KlasseMitWiederherstellungLaden(u"Noten/7a/7a Mathe.slk");
    EXPECT_FALSE(o.klasse);
    EXPECT_FALSE(o.gemeldet);
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk"), vorher);
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk.ungespeichert"), rettung);
    const Umstellung u = DateienUmstellen(false, BackupOrdner);
    EXPECT_GE(u.abgelehnt, 1);
    EXPECT_EQ(Lesen("Noten/7a/7a Mathe.slk"), vorher);
}

TEST_F(Encryption, SwitchingOnAndOffGivesBackEveryFileByteForByte) {
    Bestand();
    const auto vorher = Alles();
    Einschalten();
    const Umstellung an = DateienUmstellen(true, BackupOrdner);
    EXPECT_EQ(an.fehlgeschlagen, 0);
    EXPECT_EQ(an.umgestellt, static_cast<int>(vorher.size()));
    EXPECT_EQ(an.verschluesselt, static_cast<int>(vorher.size()));
    KeinKlartext();
    const auto k = TSchulklasse::laden(u"Noten/8b/8b Mathe.slk");
    ASSERT_TRUE(k);
    EXPECT_TRUE(LoadPixmapFrom(PortraitDerZeile(*k, 2)));

    const Umstellung aus = DateienUmstellen(false, BackupOrdner);
    EXPECT_EQ(aus.fehlgeschlagen, 0);
    EXPECT_EQ(aus.verschluesselt, 0);
    SealingOff();
    EXPECT_EQ(Alles(), vorher);
}

TEST_F(Encryption, AConversionKilledAtAnyFileIsFinishedByTheNextRun) {
    Bestand();
    const auto vorher = Alles();
    Einschalten();
    for (const bool versiegeln : {true, false}) {
        for (int abbruch : {0, 1, 3, 6, 9}) {
            SCOPED_TRACE(std::to_string(versiegeln) + " " + std::to_string(abbruch));
            const pid_t kind = ::fork();
            ASSERT_GE(kind, 0);
            if (kind == 0) {
                DateienUmstellen(versiegeln, BackupOrdner, [abbruch](int fertig, int) {
                    if (fertig == abbruch) ::_exit(0);
                });
                ::_exit(1);
            }
            int status = 0;
            ::waitpid(kind, &status, 0);
            ASSERT_TRUE(WIFEXITED(status));
            const Umstellung u = DateienUmstellen(versiegeln, BackupOrdner);
            EXPECT_EQ(u.fehlgeschlagen, 0);
            EXPECT_EQ(u.verschluesselt, versiegeln ? static_cast<int>(vorher.size()) : 0);
            if (versiegeln) KeinKlartext();
            else EXPECT_EQ(Alles(), vorher);
            for (const auto& [pfad, bytes] : Alles()) EXPECT_EQ(pfad.find(".neu"), std::string::npos) << pfad;
            const auto k = TSchulklasse::laden(u"Noten/7a/7a Mathe.slk");
            ASSERT_TRUE(k);
            EXPECT_EQ(Inhalt(*k), Inhalt(*Klasse()));
        }
    }
}

TEST_F(Encryption, ThePortraitNameFollowsARename) {
    Einschalten();
    auto k = Klasse();
    Portrait(*k, 2);
    const Text alt = PortraitDerZeile(*k, 2);
    EXPECT_EQ(alt, u"Noten/7a/Bilder/" + SealedPortraitStem(u"Zappelmann Quirin") + u".png");
    const Umbenennungsergebnis e = SchuelerUmbenennen(*k, 2, {u"Zappelmann", u"Quirin Paul"});
    ASSERT_EQ(e.art, Umbenennung::umbenannt);
    const Text neu = PortraitDerZeile(*k, e.zeile);
    EXPECT_EQ(neu, u"Noten/7a/Bilder/" + SealedPortraitStem(u"Zappelmann Quirin Paul") + u".png");
    ASSERT_EQ(PortraitUmbenennen(alt, neu), Portraitergebnis::erledigt);
    EXPECT_FALSE(fs::exists(Utf8FromText(alt)));
    EXPECT_TRUE(LoadPixmapFrom(neu));
    // Locked, no portrait name is given away (and none is written).
    LockSealing();
    EXPECT_EQ(PortraitDerZeile(*k, e.zeile), u"");
}

}  // namespace
