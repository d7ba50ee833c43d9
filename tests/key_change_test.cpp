// A new data key with the password ("Neuer Schlüssel"): afterwards an old
// copy of the key file with the old password or code opens no file; a
// re-seal killed after any number of files leaves every file openable and
// the next start finishes it; a mirror that is away keeps the old key in the
// key file until a start reaches it; and no plain byte is ever written.
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <map>

#include "gradebook/class_file.hpp"
#include "gradebook/file_places.hpp"
#include "gradebook/key_change.hpp"
#include "gradebook/portrait_files.hpp"
#include "gradebook/recovery_offer.hpp"
#include "gradebook_fixture.hpp"
#include "platform/pixmap.hpp"
#include "platform/sealed_files.hpp"

namespace fs = std::filesystem;

namespace {

const Text kAlt = u"Kreide und Tafel 42", kNeu = u"Schwamm und Tafel 43";
using Code = std::array<unsigned char, kRecoveryBytes>;

class NeuerSchluessel : public GradebookTest {
protected:
    void SetUp() override {
        GradebookTest::SetUp();
        AblageorteBinden();
        SetNewKeyLimits({1, 8192});
        SealingOff();
        fs::create_directories("stick");
        BackupOrdner = TextFromUtf8(fs::absolute("stick").string());
    }
    void TearDown() override {
        SealingOff();
        SetPlaceRule(nullptr);
        SetNewKeyLimits({});
        GradebookTest::TearDown();
    }
    std::shared_ptr<TSchulklasse> Klasse(const Text& kl) {
        auto k = TSchulklasse::bauen({kl, u"Mathe"}, 0);
        Spalte(*k, u"Arbeit", u"01.10.15");
        Schueler(*k, u"Zappelmann", u"Quirin", {u"4-"}, u"0171-99887", u"Sitzplatz vorne", u"3x");
        Schueler(*k, u"Yilmazoglu", u"Xenia", {u"1+"});
        k->NachNamenSortieren(0);
        return k;
    }
    // Encryption on under kAlt, and every kind of sealed file there and on the stick.
    void Bestand() {
        ASSERT_TRUE(PrepareNewKey(altCode));
        ASSERT_EQ(WriteNewKeyFile(u".Kladdorix-Schluessel", kAlt, altCode), KeyResult::Ok);
        for (const Text& kl : {Text(u"7a"), Text(u"8b")}) {
            auto k = Klasse(kl);
            ASSERT_TRUE(k->speichern(u""));
            fs::create_directories(Utf8FromText(KlassenordnerRelativ(kl)) + "/Bilder");
            for (int zeile : {1, 2}) {
                TPixmap bild = CreatePixmap(8, 8, 3, 4);
                WritePixel(bild, 3, 3, 0xFF123456u);
                ASSERT_TRUE(SavePixmapAsPNG(bild, PortraitDerZeile(*k, zeile), 0));
            }
            k->Zensurzeile[1]->Kachel[1]->Text[0] = u"5";
            ASSERT_TRUE(WiederherstellungSchreiben(*k));
        }
        // A file of a kind the walk does not know by name, deeper down.
        fs::create_directories("Noten/7a/Notizen");
        ASSERT_TRUE(WriteDataFile(u"Noten/7a/Notizen/notiz.txt", "Zappelmann Quirin", true));
        ASSERT_TRUE(WriteDataFile(u"Noten/7a/7a Mathe.sitzplan", "Zappelmann Quirin\t1\t1", true));
        altSchluessel = Lesen(".Kladdorix-Schluessel");
    }
    void Wechseln() {
        ASSERT_TRUE(PrepareNewKey(neuCode));
        ASSERT_EQ(BeginDataKeyChange(u".Kladdorix-Schluessel", kNeu, neuCode), KeyResult::Ok);
    }
    // Every sealed file below the working folder, the key files aside.
    std::vector<std::string> Versiegelte() const {
        std::vector<std::string> out;
        for (const auto& e : fs::recursive_directory_iterator(ordner_))
            if (e.is_regular_file() && Lesen(e.path()).substr(0, 4) == "RKV2") out.push_back(e.path().string());
        std::sort(out.begin(), out.end());
        return out;
    }
    // How many sealed files open under the key held.
    int Offen() const {
        int n = 0;
        for (const std::string& p : Versiegelte()) {
            std::string bytes;
            n += ReadDataFile(TextFromUtf8(p), bytes, 1 << 24) == DataReadResult::Ok;
        }
        return n;
    }
    // No file anywhere holds a plain name.
    void KeinKlartext() const {
        for (const auto& e : fs::recursive_directory_iterator(ordner_)) {
            if (!e.is_regular_file()) continue;
            const std::string bytes = Lesen(e.path());
            for (const char* geheim : {"Zappelmann", "Quirin", "Yilmazoglu", "Xenia", "0171", "Sitzplatz"})
                EXPECT_EQ(bytes.find(geheim), std::string::npos) << e.path() << " " << geheim;
        }
    }
    // What a new start holds: the key the password opens.
    KeyResult Start(const Text& schluessel, const Text& passwort) {
        SealingOff();
        return UnlockWithPassword(schluessel, passwort);
    }
    Code altCode{}, neuCode{};
    std::string altSchluessel;
};

// Ended after 0, 1, 5, all but one and all files, and not ended (-1).
TEST_F(NeuerSchluessel, AChangeEndedAfterAnyFileIsFinishedByTheNextStartAndOnlyTheNewSecretsOpen) {
    Bestand();
    const int alle = static_cast<int>(Versiegelte().size());
    ASSERT_GE(alle, 16);
    for (int abbruch : {0, 1, 5, alle - 1, alle, -1}) {
        SCOPED_TRACE("ended after " + std::to_string(abbruch) + " of " + std::to_string(alle));
        Schreiben("alt/.Kladdorix-Schluessel", altSchluessel);
        ASSERT_EQ(Start(u".Kladdorix-Schluessel", kAlt), KeyResult::Ok);
        ASSERT_TRUE(PrepareNewKey(neuCode));
        const pid_t kind = ::fork();
        ASSERT_GE(kind, 0);
        if (kind == 0) {
            if (BeginDataKeyChange(u".Kladdorix-Schluessel", kNeu, neuCode) != KeyResult::Ok) ::_exit(1);
            NeuVersiegeln(BackupOrdner, false, [abbruch](int fertig, int) {
                if (fertig == abbruch) ::_exit(0);
            });
            ::_exit(abbruch < 0 ? 0 : 1);
        }
        int status = 0;
        ::waitpid(kind, &status, 0);
        ASSERT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
        KeinKlartext();
        // Half done, the key file holds both keys: every file opens with either new secret.
        EXPECT_EQ(Lesen(".Kladdorix-Schluessel").size(), abbruch < 0 ? kKeyFileSize : kChangingKeyFileSize);
        SealingOff();
        ASSERT_EQ(UnlockWithRecovery(u"stick/.Kladdorix-Schluessel", neuCode), KeyResult::Ok);
        EXPECT_EQ(Offen(), alle);
        ASSERT_EQ(Start(u".Kladdorix-Schluessel", kNeu), KeyResult::Ok);
        EXPECT_EQ(Offen(), alle);

        const Neuversiegelung n = NeuVersiegeln(BackupOrdner, false);
        EXPECT_EQ(n.zahlen.fehlgeschlagen + n.zahlen.abgelehnt, 0);
        EXPECT_FALSE(DataKeyChanging());
        EXPECT_EQ(Lesen(".Kladdorix-Schluessel").size(), kKeyFileSize);
        EXPECT_EQ(Lesen("stick/.Kladdorix-Schluessel"), StickKeyBytes(Lesen(".Kladdorix-Schluessel")));
        KeinKlartext();
        EXPECT_EQ(static_cast<int>(Versiegelte().size()), alle);
        struct Fall {
            const char16_t* schluessel;
            const Code* code;  // else the password
            const Text* passwort;
            KeyResult erwartet;
            int offen;
        } faelle[] = {
            {u".Kladdorix-Schluessel", nullptr, &kNeu, KeyResult::Ok, alle},
            {u"stick/.Kladdorix-Schluessel", &neuCode, nullptr, KeyResult::Ok, alle},
            {u".Kladdorix-Schluessel", nullptr, &kAlt, KeyResult::WrongSecret, 0},
            {u".Kladdorix-Schluessel", &altCode, nullptr, KeyResult::WrongSecret, 0},
            // The old key file still opens, but only to its old key: no file takes it.
            {u"alt/.Kladdorix-Schluessel", nullptr, &kAlt, KeyResult::Ok, 0},
            {u"alt/.Kladdorix-Schluessel", &altCode, nullptr, KeyResult::Ok, 0},
        };
        for (const Fall& f : faelle) {
            SealingOff();
            const KeyResult r = f.code ? UnlockWithRecovery(f.schluessel, *f.code) : UnlockWithPassword(f.schluessel, *f.passwort);
            EXPECT_EQ(r, f.erwartet) << Utf8FromText(f.schluessel);
            if (r == KeyResult::Ok) EXPECT_EQ(Offen(), f.offen) << Utf8FromText(f.schluessel);
        }
        // The portraits are found under the names the new key gives them.
        ASSERT_EQ(Start(u".Kladdorix-Schluessel", kNeu), KeyResult::Ok);
        const auto k = TSchulklasse::laden(u"Noten/8b/8b Mathe.slk");
        ASSERT_TRUE(k);
        for (int zeile : {1, 2}) EXPECT_TRUE(LoadPixmapFrom(PortraitDerZeile(*k, zeile)));
        EXPECT_EQ(Dateien(ordner_ / "Noten/8b/Bilder").size(), 2u);
        // The next round starts from this key, under the old password.
        ASSERT_EQ(ChangePassword(u".Kladdorix-Schluessel", kAlt), KeyResult::Ok);
        altCode = neuCode;
        altSchluessel = Lesen(".Kladdorix-Schluessel");
    }
}

TEST_F(NeuerSchluessel, AMirrorAwayKeepsTheOldKeyInTheKeyFileUntilAStartReachesIt) {
    Bestand();
    const std::string stickSchluessel = Lesen("stick/.Kladdorix-Schluessel");
    const std::string stickKlasse = Lesen("stick/Noten/7a/7a Mathe.slk");
    Wechseln();
    const Neuversiegelung weg = NeuVersiegeln(u"", true);
    EXPECT_TRUE(weg.spiegelAusgelassen);
    EXPECT_EQ(weg.zahlen.fehlgeschlagen, 0);
    EXPECT_TRUE(DataKeyChanging());
    EXPECT_EQ(Lesen(".Kladdorix-Schluessel").size(), kChangingKeyFileSize);
    EXPECT_EQ(Lesen("stick/.Kladdorix-Schluessel"), stickSchluessel);
    EXPECT_EQ(Lesen("stick/Noten/7a/7a Mathe.slk"), stickKlasse);
    // The old key file no longer opens what lies in the program folder.
    Schreiben("alt/.Kladdorix-Schluessel", altSchluessel);
    ASSERT_EQ(Start(u"alt/.Kladdorix-Schluessel", kAlt), KeyResult::Ok);
    std::string bytes;
    EXPECT_EQ(ReadDataFile(u"Noten/7a/7a Mathe.slk", bytes, 1 << 24), DataReadResult::Refused);

    // A later start with the stick there.
    ASSERT_EQ(Start(u".Kladdorix-Schluessel", kNeu), KeyResult::Ok);
    const Neuversiegelung da = NeuVersiegeln(BackupOrdner, false);
    EXPECT_FALSE(da.spiegelAusgelassen);
    EXPECT_GE(da.zahlen.umgestellt, 2);
    EXPECT_FALSE(DataKeyChanging());
    EXPECT_EQ(Lesen(".Kladdorix-Schluessel").size(), kKeyFileSize);
    SealingOff();
    ASSERT_EQ(UnlockWithRecovery(u"stick/.Kladdorix-Schluessel", neuCode), KeyResult::Ok);
    EXPECT_EQ(ReadDataFile(u"stick/Noten/7a/7a Mathe.slk", bytes, 1 << 24), DataReadResult::Ok);
    EXPECT_NE(bytes.find("Zappelmann"), std::string::npos);
}

}  // namespace
