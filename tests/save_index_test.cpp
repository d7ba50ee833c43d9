// The index of saves while encryption is on: after the conversion and two
// saves of a class file, each row does one thing to the files and reads the
// class file (or another file) as the program would. A save killed between
// file and index still opens; an older save put back, a plain file or one of
// the unbound "RKV1" form are refused once the conversion has finished, and
// opened before; the mirror is not counted.
#include <gtest/gtest.h>
#include <sodium.h>

#include <filesystem>
#include <functional>

#include "gradebook/class_file.hpp"
#include "gradebook/encryption.hpp"
#include "gradebook/file_places.hpp"
#include "gradebook/save_index.hpp"
#include "gradebook_fixture.hpp"
#include "platform/sealed_files.hpp"

using namespace std::string_literals;

namespace {

constexpr char kKlasse[] = "Noten/7a/7a Mathe.slk";

class Speicherstand : public GradebookTest {
protected:
    void SetUp() override {
        GradebookTest::SetUp();
        ASSERT_GE(sodium_init(), 0);
        SealingOff();
        AblageorteBinden();
        StandpruefungBinden();
        std::filesystem::create_directories("Noten/7a/Backups");
        std::filesystem::create_directories("stick/Noten/7a");
    }
    void TearDown() override {
        SetReadCheck(nullptr);
        SetPlaceRule(nullptr);
        SealingOff();
        GradebookTest::TearDown();
    }
    // A key file made by hand, so the test knows the data key and can seal
    // in the older form the program no longer writes.
    void Einschalten() {
        randombytes_buf(schluessel_, sizeof schluessel_);
        std::string datei = "RKS1"s + std::string("\x01\0\0\0\0\x20\0\0", 8) + std::string(88, '\0');
        std::array<unsigned char, kRecoveryBytes> code{};
        randombytes_buf(code.data(), code.size());
        unsigned char salz[16], nonce[24], k[32], kasten[48];
        randombytes_buf(salz, 16);
        randombytes_buf(nonce, 24);
        ASSERT_EQ(crypto_pwhash(k, 32, reinterpret_cast<const char*>(code.data()), code.size(), salz, 1,
                                8192u * 1024u, crypto_pwhash_ALG_ARGON2ID13),
                  0);
        crypto_aead_xchacha20poly1305_ietf_encrypt(kasten, nullptr, schluessel_, 32,
                                                   reinterpret_cast<const unsigned char*>("RKS1"), 4, nullptr, nonce, k);
        datei.append(reinterpret_cast<char*>(salz), 16).append(reinterpret_cast<char*>(nonce), 24).append(
            reinterpret_cast<char*>(kasten), 48);
        Schreiben("./.Kladdorix-Schluessel", datei);
        ASSERT_EQ(UnlockWithRecovery(u"./.Kladdorix-Schluessel", code), KeyResult::Ok);
    }
public:
    std::string Unbunden(const std::string& klar) const {
        unsigned char nonce[24];
        randombytes_buf(nonce, 24);
        std::string out(klar.size() + 16, '\0');
        crypto_aead_xchacha20poly1305_ietf_encrypt(reinterpret_cast<unsigned char*>(out.data()), nullptr,
                                                   reinterpret_cast<const unsigned char*>(klar.data()), klar.size(),
                                                   reinterpret_cast<const unsigned char*>("RKV1"), 4, nullptr, nonce,
                                                   schluessel_);
        return "RKV1"s + std::string(reinterpret_cast<char*>(nonce), 24) + out;
    }
    unsigned char schluessel_[32];
};

TEST_F(Speicherstand, EachThingDoneToTheFilesIsReadAsTheIndexSays) {
    struct Fall {
        const char* was;
        bool fertig;  // the conversion has finished
        std::function<void(Speicherstand&, const std::string& vorigeDatei)> tun;
        const char* pfad;
        DataReadResult erwartet;
        std::string inhalt;  // read when Ok
        Ablehnung grund;     // told when refused
    };
    const auto nichts = [](Speicherstand&, const std::string&) {};
    const std::vector<Fall> faelle = {
        {"genuine saves", true, nichts, kKlasse, DataReadResult::Ok, "v3", {}},
        {"killed between file and index", true,
         [](Speicherstand&, const std::string&) {
             ASSERT_TRUE(StandVormerken(u"Noten/7a/7a Mathe.slk", "v4"));
             ASSERT_TRUE(WriteDataFile(u"Noten/7a/7a Mathe.slk", "v4", true));
         },
         kKlasse, DataReadResult::Ok, "v4", {}},
        {"killed before the file", true,
         [](Speicherstand&, const std::string&) { ASSERT_TRUE(StandVormerken(u"Noten/7a/7a Mathe.slk", "v4")); },
         kKlasse, DataReadResult::Ok, "v3", {}},
        {"older sealed file copied over", true,
         [](Speicherstand& t, const std::string& vorige) { t.Schreiben(kKlasse, vorige); }, kKlasse,
         DataReadResult::Refused, "", Ablehnung::AelterStand},
        {"plain file where a sealed one belongs", true,
         [](Speicherstand& t, const std::string&) { t.Schreiben(kKlasse, "v3"); }, kKlasse, DataReadResult::Refused,
         "", Ablehnung::Unverschluesselt},
        {"plain recovery file where a sealed one belongs", true,
         [](Speicherstand& t, const std::string&) { t.Schreiben("Noten/7a/7a Mathe.slk.ungespeichert", "v5"); },
         "Noten/7a/7a Mathe.slk.ungespeichert", DataReadResult::Refused, "", Ablehnung::Unverschluesselt},
        {"plain file while the conversion is unfinished", false,
         [](Speicherstand& t, const std::string&) { t.Schreiben(kKlasse, "v3"); }, kKlasse, DataReadResult::Ok, "v3",
         {}},
        {"RKV1 file after the conversion", true,
         [](Speicherstand& t, const std::string&) { t.Schreiben(kKlasse, t.Unbunden("v3")); }, kKlasse,
         DataReadResult::Refused, "", Ablehnung::AlteForm},
        {"RKV1 file before the conversion finished", false,
         [](Speicherstand& t, const std::string&) { t.Schreiben(kKlasse, t.Unbunden("v3")); }, kKlasse,
         DataReadResult::Ok, "v3", {}},
        {"older file on the mirror", true,
         [](Speicherstand& t, const std::string&) { t.Schreiben("stick/Noten/7a/7a Mathe.slk", "v1"); },
         "stick/Noten/7a/7a Mathe.slk", DataReadResult::Ok, "v1", {}},
    };
    for (const Fall& f : faelle) {
        SCOPED_TRACE(f.was);
        std::filesystem::remove_all("Noten");
        std::filesystem::create_directories("Noten/7a/Backups");
        std::filesystem::remove(".Kladdorix-Stand");
        SealingOff();
        // A plain class file from before the switch-on, then the switch-on.
        Schreiben(kKlasse, "v1");
        Einschalten();
        ASSERT_TRUE(StandBeginnen());
        DateienUmstellen(true, u"");
        if (f.fertig) {
            ASSERT_TRUE(StandAbschliessen());
        }
        EXPECT_EQ(StandLage(), f.fertig ? Standlage::Fertig : Standlage::Offen);
        ASSERT_TRUE(DateiSicherErsetzen(u"Noten/7a/7a Mathe.slk", "v2"));
        const std::string vorige = Lesen(kKlasse);
        ASSERT_TRUE(DateiSicherErsetzen(u"Noten/7a/7a Mathe.slk", "v3"));
        f.tun(*this, vorige);
        std::string klar;
        const Text pfad = TextFromUtf8(f.pfad);
        ASSERT_EQ(ReadDataFile(pfad, klar, 1 << 20), f.erwartet);
        if (f.erwartet == DataReadResult::Ok) EXPECT_EQ(klar, f.inhalt);
        else EXPECT_EQ(AblehnungsgrundVon(pfad), f.grund);
    }
}

// Kill between file and index: the file under way is recorded by its read,
// so the save before it is an older version from then on.
TEST_F(Speicherstand, AFileSavedWithoutItsIndexIsRecordedAtItsRead) {
    Schreiben(kKlasse, "v1");
    Einschalten();
    ASSERT_TRUE(StandBeginnen());
    DateienUmstellen(true, u"");
    ASSERT_TRUE(StandAbschliessen());
    ASSERT_TRUE(DateiSicherErsetzen(u"Noten/7a/7a Mathe.slk", "v2"));
    const std::string v2 = Lesen(kKlasse);
    ASSERT_TRUE(StandVormerken(u"Noten/7a/7a Mathe.slk", "v3"));
    ASSERT_TRUE(WriteDataFile(u"Noten/7a/7a Mathe.slk", "v3", true));
    std::string klar;
    ASSERT_EQ(ReadDataFile(u"Noten/7a/7a Mathe.slk", klar, 1 << 20), DataReadResult::Ok);
    EXPECT_EQ(klar, "v3");
    Schreiben(kKlasse, v2);
    EXPECT_EQ(ReadDataFile(u"Noten/7a/7a Mathe.slk", klar, 1 << 20), DataReadResult::Refused);
    // A save under way when the next one begins: the file on disk decides.
    ASSERT_TRUE(StandVormerken(u"Noten/7a/7a Mathe.slk", "v4"));
    ASSERT_TRUE(WriteDataFile(u"Noten/7a/7a Mathe.slk", "v4", true));
    ASSERT_TRUE(StandVormerken(u"Noten/7a/7a Mathe.slk", "v5"));
    EXPECT_EQ(ReadDataFile(u"Noten/7a/7a Mathe.slk", klar, 1 << 20), DataReadResult::Ok);
    EXPECT_EQ(klar, "v4");
}

}  // namespace
