// Sealed files bound to their place: the associated data of each kind, a
// file moved or copied to another place refused, the older unbound form
// still read and bound by the conversion, and a key file and sealed files
// made by hand from the README's layout (with libsodium alone) opening in
// the program, so an independent reader can open them too.
#include <gtest/gtest.h>
#include <sodium.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>

#include "gradebook/file_places.hpp"
#include "platform/sealed_files.hpp"

namespace fs = std::filesystem;
using namespace std::string_literals;

TEST(Ablageorte, EachKindNamesKindClassSubjectAndABackupsTimeStamp) {
    struct Fall {
        const char16_t* pfad;
        std::string ort;
    };
    const std::vector<Fall> faelle = {
        {u"Noten/7a/7a Mathe.slk", "Klassendatei\0" "7a\0" "Mathe\0" "\0"s},
        {u"/media/STICK/Sicherung/Noten/7a/7a Mathe.slk", "Klassendatei\0" "7a\0" "Mathe\0" "\0"s},
        {u"./Noten/7a/7a Mathe.slk", "Klassendatei\0" "7a\0" "Mathe\0" "\0"s},
        {u"Noten/7a/7a Mathe.slk.ungespeichert", "Wiederherstellung\0" "7a\0" "Mathe\0" "\0"s},
        {u"Noten/7a/Backups/7a Mathe 26-10-14-10-00-00.slk", "Backup\0" "7a\0" "Mathe\0" "26-10-14-10-00-00\0"s},
        {u"Noten/7a/Backups/7a Mathe 26-10-14-10-00-00 ungespeichert.slk",
         "Backup\0" "7a\0" "Mathe 26-10-14-10-00-00 ungespeichert\0" "\0"s},
        {u"Noten/Q1 Bio/Q1 Bio Leistungskurs.slk", "Klassendatei\0" "Q1 Bio\0" "Leistungskurs\0" "\0"s},
        {u"Noten/7a/Bilder/0123456789abcdef0123456789abcdef.png", "Bild\0" "7a\0" "\0" "\0"s},
        {u"Noten/7a/Bilder/Zappelmann Quirin.png.gedreht", "Bild\0" "7a\0" "\0" "\0"s},
        {u"Noten/7a/notiz.txt", "Datei\0" "7a/notiz.txt\0" "\0" "\0"s},
        {u"/tmp/woanders.slk", ""},
    };
    for (const Fall& f : faelle) EXPECT_EQ(Ablageort(f.pfad), f.ort) << Utf8FromText(f.pfad);
}

namespace {
class GebundeneDateien : public ::testing::Test {
protected:
    void SetUp() override {
        ordner_ = fs::temp_directory_path() /
                  ("rk-orte-" + std::to_string(::getpid()) + "-" + std::to_string(std::random_device{}()));
        for (const char* o : {"Noten/7a/Backups", "Noten/7b/Backups", "stick/Noten/7a/Backups"})
            fs::create_directories(ordner_ / o);
        SetNewKeyLimits({1, 8192});
        SealingOff();
        AblageorteBinden();
    }
    void TearDown() override {
        SealingOff();
        SetPlaceRule(nullptr);
        SetNewKeyLimits({});
        std::error_code ec;
        fs::remove_all(ordner_, ec);
    }
    Text P(const std::string& name) const { return TextFromUtf8((ordner_ / name).string()); }
    std::string Lesen(const std::string& p) const {
        std::ifstream in(ordner_ / p, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    void Schreiben(const std::string& p, const std::string& bytes) const {
        std::ofstream(ordner_ / p, std::ios::binary) << bytes;
    }
    fs::path ordner_;
};
}  // namespace

TEST_F(GebundeneDateien, AFileAtAnotherPlaceIsRefusedAndTheSamePlaceOnTheStickOpens) {
    std::array<unsigned char, kRecoveryBytes> code{};
    ASSERT_TRUE(PrepareNewKey(code));
    ASSERT_EQ(WriteNewKeyFile(P("key"), u"Kreide und Tafel 42", code), KeyResult::Ok);
    const std::string alt = "ID;PCALCOOO32\r\nC;X1;Y2;K\"Zappelmann\"\r\nC;X2;Y2;K\"5\"\r\n";
    const std::string neu = "ID;PCALCOOO32\r\nC;X1;Y2;K\"Zappelmann\"\r\nC;X2;Y2;K\"1\"\r\n";
    ASSERT_TRUE(WriteDataFile(P("Noten/7a/Backups/7a Mathe 26-10-14-10-00-00.slk"), alt, false));
    ASSERT_TRUE(WriteDataFile(P("Noten/7a/7a Mathe.slk"), neu, false));
    ASSERT_TRUE(WriteDataFile(P("stick/Noten/7a/7a Mathe.slk"), neu, false));
    const std::string backup = Lesen("Noten/7a/Backups/7a Mathe 26-10-14-10-00-00.slk");
    const std::string klasse = Lesen("Noten/7a/7a Mathe.slk");
    struct Fall {
        const char* wohin;
        std::string bytes;
        DataReadResult erwartet;
    };
    const std::vector<Fall> faelle = {
        {"Noten/7a/7a Mathe.slk", klasse, DataReadResult::Ok},
        {"stick/Noten/7a/7a Mathe.slk", klasse, DataReadResult::Ok},  // the mirror holds the same place
        {"Noten/7a/7a Mathe.slk", backup, DataReadResult::Refused},   // an older backup over the class file
        {"Noten/7b/7b Mathe.slk", klasse, DataReadResult::Refused},   // another class
        {"Noten/7a/7a Physik.slk", klasse, DataReadResult::Refused},  // another subject
        {"Noten/7a/7a Mathe.slk.ungespeichert", klasse, DataReadResult::Refused},
        {"Noten/7a/Backups/7a Mathe 26-10-15-10-00-00.slk", backup, DataReadResult::Refused},  // another time
    };
    for (const Fall& f : faelle) {
        Schreiben(f.wohin, f.bytes);
        std::string klar;
        EXPECT_EQ(ReadDataFile(P(f.wohin), klar, 1 << 20), f.erwartet) << f.wohin;
        EXPECT_EQ(Lesen(f.wohin), f.bytes) << f.wohin;  // refused files stay as they are
    }
    // Moved by the program, a sealed file is sealed again for its new place.
    Schreiben("Noten/7a/7a Mathe.slk", klasse);
    ASSERT_TRUE(CopyDataFile(P("Noten/7a/7a Mathe.slk"), P("Noten/7a/Backups/7a Mathe 26-10-16-10-00-00.slk")));
    ASSERT_TRUE(MoveDataFile(P("stick/Noten/7a/7a Mathe.slk"), P("Noten/7b/7b Mathe.slk")));
    EXPECT_FALSE(fs::exists(ordner_ / "stick/Noten/7a/7a Mathe.slk"));
    for (const char* p : {"Noten/7a/Backups/7a Mathe 26-10-16-10-00-00.slk", "Noten/7b/7b Mathe.slk"}) {
        std::string klar;
        EXPECT_EQ(ReadDataFile(P(p), klar, 1 << 20), DataReadResult::Ok) << p;
        EXPECT_EQ(klar, neu) << p;
    }
}

// The README's layout, written here with libsodium alone.
TEST_F(GebundeneDateien, FilesMadeByHandFromTheReadmesLayoutOpenAndTheOlderFormIsBoundByTheConversion) {
    ASSERT_GE(sodium_init(), 0);
    unsigned char datenschluessel[32];
    randombytes_buf(datenschluessel, sizeof datenschluessel);
    const std::string passwort = "Kreide und Tafel 42";
    // Key file: "RKS1", opslimit, memlimit in KiB (little endian), then for
    // the password and the recovery code each: salt 16, nonce 24, the data
    // key sealed (32 + 16) with the mark "RKS1" as associated data.
    std::string datei = "RKS1"s + std::string("\x01\0\0\0\0\x20\0\0", 8);
    const auto teil = [&](const unsigned char* geheim, size_t laenge) {
        unsigned char salz[16], nonce[24], k[32], kasten[48];
        randombytes_buf(salz, 16);
        randombytes_buf(nonce, 24);
        ASSERT_EQ(crypto_pwhash(k, 32, reinterpret_cast<const char*>(geheim), laenge, salz, 1, 8192u * 1024u,
                                crypto_pwhash_ALG_ARGON2ID13),
                  0);
        crypto_aead_xchacha20poly1305_ietf_encrypt(kasten, nullptr, datenschluessel, 32,
                                                   reinterpret_cast<const unsigned char*>("RKS1"), 4, nullptr, nonce, k);
        datei.append(reinterpret_cast<char*>(salz), 16).append(reinterpret_cast<char*>(nonce), 24).append(
            reinterpret_cast<char*>(kasten), 48);
    };
    std::array<unsigned char, kRecoveryBytes> code{};
    randombytes_buf(code.data(), code.size());
    teil(reinterpret_cast<const unsigned char*>(passwort.data()), passwort.size());
    teil(code.data(), code.size());
    ASSERT_EQ(datei.size(), kKeyFileSize);
    Schreiben("key", datei);

    // Sealed file: mark, nonce 24, XChaCha20-Poly1305 of the bytes with the
    // mark and the place as associated data ("RKV1": the mark alone).
    const auto versiegeln = [&](const std::string& marke, const std::string& ort, const std::string& klar) {
        unsigned char nonce[24];
        randombytes_buf(nonce, 24);
        const std::string ad = marke + ort;
        std::string out(klar.size() + 16, '\0');
        crypto_aead_xchacha20poly1305_ietf_encrypt(reinterpret_cast<unsigned char*>(out.data()), nullptr,
                                                   reinterpret_cast<const unsigned char*>(klar.data()), klar.size(),
                                                   reinterpret_cast<const unsigned char*>(ad.data()), ad.size(),
                                                   nullptr, nonce, datenschluessel);
        return marke + std::string(reinterpret_cast<char*>(nonce), 24) + out;
    };
    const std::string inhalt = "ID;PCALCOOO32\r\nC;X1;Y2;K\"Yilmazoglu\"\r\n";
    Schreiben("Noten/7a/7a Mathe.slk", versiegeln("RKV2", "Klassendatei\0" "7a\0" "Mathe\0" "\0"s, inhalt));
    Schreiben("Noten/7a/Backups/7a Mathe 26-10-14-10-00-00.slk", versiegeln("RKV1", "", inhalt));

    ASSERT_EQ(UnlockWithPassword(P("key"), TextFromUtf8(passwort)), KeyResult::Ok);
    LockSealing();
    ASSERT_EQ(UnlockWithRecovery(P("key"), code), KeyResult::Ok);
    for (const char* p : {"Noten/7a/7a Mathe.slk", "Noten/7a/Backups/7a Mathe 26-10-14-10-00-00.slk"}) {
        std::string klar;
        EXPECT_EQ(ReadDataFile(P(p), klar, 1 << 20), DataReadResult::Ok) << p;
        EXPECT_EQ(klar, inhalt) << p;
    }
    // The older form is bound to its place by the conversion, its bytes unchanged.
    const Text alt = P("Noten/7a/Backups/7a Mathe 26-10-14-10-00-00.slk");
    EXPECT_TRUE(IsUnboundSealedFile(alt));
    EXPECT_EQ(ConvertDataFile(alt, true), ConvertResult::Converted);
    EXPECT_FALSE(IsUnboundSealedFile(alt));
    EXPECT_EQ(Lesen("Noten/7a/Backups/7a Mathe 26-10-14-10-00-00.slk").substr(0, 4), "RKV2");
    std::string klar;
    EXPECT_EQ(ReadDataFile(alt, klar, 1 << 20), DataReadResult::Ok);
    EXPECT_EQ(klar, inhalt);
    EXPECT_EQ(ConvertDataFile(alt, true), ConvertResult::Unchanged);
}
