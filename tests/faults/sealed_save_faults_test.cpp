// Faults injected into a sealed save with the stick and into switching on:
// every failing write, fsync or rename (each one in turn) is told by the
// save's result or the conversion's count, nothing already saved is lost, and
// after the next save without faults the stick holds its key file and a class
// file that opens with the recovery code alone. A new data key disturbed at
// any call leaves every file openable, and the next start finishes it.
#include <gtest/gtest.h>

#include "fault_shim.hpp"
#include "gradebook/class_file.hpp"
#include "gradebook/encryption.hpp"
#include "gradebook/file_places.hpp"
#include "gradebook/key_change.hpp"
#include "gradebook_fixture.hpp"
#include "platform/sealed_files.hpp"

namespace fs = std::filesystem;

namespace {
class Stoerungen : public GradebookTest {
protected:
    void SetUp() override {
        GradebookTest::SetUp();
        AblageorteBinden();
        SetNewKeyLimits({1, 8192});
        fs::create_directories("stick");
        BackupOrdner = TextFromUtf8(fs::absolute("stick").string());
    }
    void TearDown() override {
        FehlerEntschaerfen();
        SealingOff();
        SetPlaceRule(nullptr);
        SetNewKeyLimits({});
        GradebookTest::TearDown();
    }
    std::shared_ptr<TSchulklasse> Klasse(const Text& note) {
        auto k = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
        Spalte(*k, u"Arbeit", u"01.10.15");
        Schueler(*k, u"Adler", u"Tom", {note});
        Schueler(*k, u"Berger", u"Eva", {u"1"});
        return k;
    }
    void Einschalten() {
        ASSERT_TRUE(PrepareNewKey(code));
        ASSERT_EQ(WriteNewKeyFile(u".Kladdorix-Schluessel", u"Kreide und Tafel 42", code), KeyResult::Ok);
    }
    // The stick alone, opened with the recovery code: the class file's bytes.
    std::string VomStick() {
        const Text datenschluessel = CurrentKeyFile();
        LockSealing();
        std::string bytes;
        if (UnlockWithRecovery(u"stick/.Kladdorix-Schluessel", code) == KeyResult::Ok)
            ReadDataFile(u"stick/Noten/7a/7a Mathe.slk", bytes, 1 << 20);
        LockSealing();
        EXPECT_EQ(UnlockWithPassword(datenschluessel, u"Kreide und Tafel 42"), KeyResult::Ok);
        return bytes;
    }
    std::array<unsigned char, kRecoveryBytes> code{};
};
}  // namespace

TEST_F(Stoerungen, EveryFailureOfASealedSaveWithTheStickIsToldAndTheNextSaveMakesTheStickOpen) {
    Einschalten();
    // How many calls of each kind one save makes, the stick's key file included.
    fs::remove("stick/.Kladdorix-Schluessel");
    FehlerBeim(Fehlerart::Schreiben, 1 << 30);
    ASSERT_TRUE(Klasse(u"2")->speichern(u""));
    FehlerEntschaerfen();
    const int aufrufe[3] = {GezaehlteAufrufe(Fehlerart::Schreiben), GezaehlteAufrufe(Fehlerart::Sync),
                            GezaehlteAufrufe(Fehlerart::Umbenennen)};
    ASSERT_GT(aufrufe[0], 0);
    int versuche = 0;
    for (Fehlerart art : {Fehlerart::Schreiben, Fehlerart::Sync, Fehlerart::Umbenennen}) {
        for (int n = 1; n <= aufrufe[static_cast<int>(art)]; ++n) {
            SCOPED_TRACE(std::to_string(static_cast<int>(art)) + " #" + std::to_string(n));
            // The stick's key file is written again by this save.
            fs::remove("stick/.Kladdorix-Schluessel");
            auto k = Klasse(n % 2 ? u"3" : u"4");
            FehlerBeim(art, n);
            const Speicherergebnis e = k->speichern(u"");
            ASSERT_TRUE(FehlerEntschaerfen());
            ++versuche;
            // Told: the save failed, or its backup or the stick's copy is reported missing.
            EXPECT_TRUE(!e || !e.backupFehlt.empty() || !e.spiegelFehlt.empty());
            // The class file is the old or the new one, whole.
            std::string klasse;
            ASSERT_EQ(ReadDataFile(u"Noten/7a/7a Mathe.slk", klasse, 1 << 20), DataReadResult::Ok);
            // The next save without a fault: the stick opens with the code alone.
            auto weiter = Klasse(u"5");
            const Speicherergebnis gut = weiter->speichern(u"");
            ASSERT_TRUE(gut && gut.backupFehlt.empty() && gut.spiegelFehlt.empty());
            EXPECT_EQ(VomStick(), KlassendateiBytes(*weiter));
        }
    }
    std::printf("%d faults injected into sealed saves with the stick\n", versuche);
}

TEST_F(Stoerungen, EveryFailureWhileSwitchingOnIsCountedAndTheNextRunFinishesIt) {
    for (const char* p : {"Noten/7a/7a Mathe.slk", "Noten/7a/Backups/7a Mathe 26-10-14-10-00-00.slk",
                          "stick/Noten/7a/7a Mathe.slk"})
        Schreiben(p, KlassendateiBytes(*Klasse(u"2")));
    Einschalten();
    ASSERT_TRUE(CopyKeyFileInto(BackupOrdner));
    const std::string klar = KlassendateiBytes(*Klasse(u"2"));
    // One undisturbed conversion tells how many calls there are.
    FehlerBeim(Fehlerart::Schreiben, 1 << 30);
    ASSERT_EQ(DateienUmstellen(true, BackupOrdner).fehlgeschlagen, 0);
    FehlerEntschaerfen();
    const int aufrufe[3] = {GezaehlteAufrufe(Fehlerart::Schreiben), GezaehlteAufrufe(Fehlerart::Sync),
                            GezaehlteAufrufe(Fehlerart::Umbenennen)};
    int versuche = 0;
    for (Fehlerart art : {Fehlerart::Schreiben, Fehlerart::Sync, Fehlerart::Umbenennen}) {
        for (int n = 1; n <= aufrufe[static_cast<int>(art)]; ++n) {
            SCOPED_TRACE(std::to_string(static_cast<int>(art)) + " #" + std::to_string(n));
            // Plain again: everything back as it was before switching on.
            ASSERT_EQ(DateienUmstellen(false, BackupOrdner).fehlgeschlagen, 0);
            FehlerBeim(art, n);
            const Umstellung u = DateienUmstellen(true, BackupOrdner);
            ASSERT_TRUE(FehlerEntschaerfen());
            ++versuche;
            EXPECT_GT(u.fehlgeschlagen, 0);  // told, and the next start tries again
            const Umstellung danach = DateienUmstellen(true, BackupOrdner);
            EXPECT_EQ(danach.fehlgeschlagen, 0);
            EXPECT_EQ(UmzustellendeDateien(true, BackupOrdner), 0);
            for (const char* p : {"Noten/7a/7a Mathe.slk", "Noten/7a/Backups/7a Mathe 26-10-14-10-00-00.slk"}) {
                std::string bytes;
                EXPECT_EQ(ReadDataFile(TextFromUtf8(p), bytes, 1 << 20), DataReadResult::Ok) << p;
                EXPECT_EQ(bytes, klar) << p;
            }
            EXPECT_EQ(VomStick(), klar);
        }
    }
    std::printf("%d faults injected into switching on\n", versuche);
}

TEST_F(Stoerungen, EveryFailureWhileChangingTheKeyLeavesEveryFileOpenAndTheNextStartFinishesIt) {
    Einschalten();
    const std::string klar = KlassendateiBytes(*Klasse(u"2"));
    ASSERT_TRUE(Klasse(u"2")->speichern(u""));
    const std::vector<Text> dateien{u"Noten/7a/7a Mathe.slk", u"stick/Noten/7a/7a Mathe.slk"};
    const Text pw = u"Kreide und Tafel 42", neuesPw = u"Schwamm und Tafel 43";
    std::array<unsigned char, kRecoveryBytes> neu{};
    // One undisturbed change tells how many calls there are.
    ASSERT_TRUE(PrepareNewKey(neu));
    FehlerBeim(Fehlerart::Schreiben, 1 << 30);
    ASSERT_EQ(BeginDataKeyChange(u".Kladdorix-Schluessel", pw, neu), KeyResult::Ok);
    ASSERT_EQ(NeuVersiegeln(BackupOrdner, false).zahlen.fehlgeschlagen, 0);
    FehlerEntschaerfen();
    code = neu;
    const int aufrufe[3] = {GezaehlteAufrufe(Fehlerart::Schreiben), GezaehlteAufrufe(Fehlerart::Sync),
                            GezaehlteAufrufe(Fehlerart::Umbenennen)};
    int versuche = 0;
    for (Fehlerart art : {Fehlerart::Schreiben, Fehlerart::Sync, Fehlerart::Umbenennen}) {
        for (int n = 1; n <= aufrufe[static_cast<int>(art)]; ++n) {
            SCOPED_TRACE(std::to_string(static_cast<int>(art)) + " #" + std::to_string(n));
            ASSERT_TRUE(PrepareNewKey(neu));
            FehlerBeim(art, n);
            if (BeginDataKeyChange(u".Kladdorix-Schluessel", neuesPw, neu) == KeyResult::Ok)
                NeuVersiegeln(BackupOrdner, false);
            else
                DiscardNewKey();
            ASSERT_TRUE(FehlerEntschaerfen());
            ++versuche;
            // The next start: the key file on the disk opens with one of the two passwords.
            SealingOff();
            const bool gewechselt = UnlockWithPassword(u".Kladdorix-Schluessel", neuesPw) == KeyResult::Ok;
            if (!gewechselt) ASSERT_EQ(UnlockWithPassword(u".Kladdorix-Schluessel", pw), KeyResult::Ok);
            for (const Text& d : dateien) {
                std::string bytes;
                EXPECT_EQ(ReadDataFile(d, bytes, 1 << 20), DataReadResult::Ok) << Utf8FromText(d);
            }
            if (DataKeyChanging()) EXPECT_EQ(NeuVersiegeln(BackupOrdner, false).zahlen.fehlgeschlagen, 0);
            EXPECT_FALSE(DataKeyChanging());
            // Back to the old password for the next round, under the key now in use.
            if (gewechselt) {
                code = neu;
                ASSERT_EQ(ChangePassword(u".Kladdorix-Schluessel", pw), KeyResult::Ok);
            }
            EXPECT_EQ(VomStick(), klar);
        }
    }
    std::printf("%d faults injected into changing the key\n", versuche);
}
