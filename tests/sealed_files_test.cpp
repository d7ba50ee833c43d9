// Files sealed at rest: the key file's layout and its two ways in, the
// sealed form with its refusals, the recovery code's spelling, and portrait
// names that follow the key.
#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>
#include <fstream>
#include <iterator>
#include <random>

#include "platform/sealed_files.hpp"

namespace fs = std::filesystem;

namespace {

class SealedFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ordner_ = fs::temp_directory_path() / ("rk-seal-" + std::to_string(::getpid()) + "-" +
                                               std::to_string(std::random_device{}()));
        fs::create_directories(ordner_);
        // Quick derivations: the layout, not the cost, is under test here.
        SetNewKeyLimits({1, 8192});
        SealingOff();
    }
    void TearDown() override {
        SealingOff();
        SetNewKeyLimits({});
        std::error_code ec;
        fs::remove_all(ordner_, ec);
    }
    Text P(const std::string& name) const { return TextFromUtf8((ordner_ / name).string()); }
    static std::string Lesen(const Text& p) {
        std::ifstream in(Utf8FromText(p), std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }
    static void Schreiben(const Text& p, const std::string& bytes) {
        std::ofstream(Utf8FromText(p), std::ios::binary) << bytes;
    }
    // Encryption switched on with a new key file; returns the recovery code.
    std::array<unsigned char, kRecoveryBytes> Einschalten(const Text& passwort = u"geheim-genug-1") {
        std::array<unsigned char, kRecoveryBytes> code{};
        EXPECT_TRUE(PrepareNewKey(code));
        EXPECT_EQ(WriteNewKeyFile(P("key"), passwort, code), KeyResult::Ok);
        return code;
    }
    fs::path ordner_;
};

TEST_F(SealedFiles, KeyFileHasItsFixedLayoutAndOpensWithPasswordOrRecoveryCode) {
    const auto code = Einschalten(u"Schüler-Passwort");
    const std::string datei = Lesen(P("key"));
    ASSERT_EQ(datei.size(), 188u);
    EXPECT_EQ(datei.substr(0, 4), "RKS1");
    EXPECT_EQ(datei.substr(4, 8), std::string("\x01\0\0\0\0\x20\0\0", 8));  // opslimit 1, 8192 KiB
    const std::string versiegelt = SealBytes("Noten");
    LockSealing();
    EXPECT_EQ(CurrentSealMode(), SealMode::Locked);
    std::string klar;
    EXPECT_FALSE(OpenSealedBytes(versiegelt, klar));

    EXPECT_EQ(UnlockWithPassword(P("key"), u"Schüler-passwort"), KeyResult::WrongSecret);
    EXPECT_EQ(UnlockWithPassword(P("key"), u"Schüler-Passwort"), KeyResult::Ok);
    EXPECT_TRUE(OpenSealedBytes(versiegelt, klar));
    EXPECT_EQ(klar, "Noten");

    LockSealing();
    auto falsch = code;
    falsch[7] ^= 1;
    EXPECT_EQ(UnlockWithRecovery(P("key"), falsch), KeyResult::WrongSecret);
    EXPECT_EQ(UnlockWithRecovery(P("key"), code), KeyResult::Ok);
    EXPECT_TRUE(OpenSealedBytes(versiegelt, klar));

    EXPECT_EQ(UnlockWithPassword(P("fehlt"), u"x"), KeyResult::Missing);
    Schreiben(P("kurz"), datei.substr(0, 187));
    EXPECT_EQ(UnlockWithPassword(P("kurz"), u"Schüler-Passwort"), KeyResult::Damaged);
}

TEST_F(SealedFiles, PasswordChangeKeepsTheDataKeyAndTheRecoveryPart) {
    const auto code = Einschalten(u"erstes Passwort");
    const std::string vorher = Lesen(P("key"));
    const std::string versiegelt = SealBytes("7a Mathe");
    ASSERT_EQ(ChangePassword(P("key"), u"zweites Passwort"), KeyResult::Ok);
    const std::string nachher = Lesen(P("key"));
    EXPECT_EQ(nachher.substr(0, 12), vorher.substr(0, 12));
    EXPECT_EQ(nachher.substr(100), vorher.substr(100));
    EXPECT_NE(nachher.substr(12, 88), vorher.substr(12, 88));
    LockSealing();
    EXPECT_EQ(UnlockWithPassword(P("key"), u"erstes Passwort"), KeyResult::WrongSecret);
    EXPECT_EQ(UnlockWithPassword(P("key"), u"zweites Passwort"), KeyResult::Ok);
    std::string klar;
    EXPECT_TRUE(OpenSealedBytes(versiegelt, klar));
    LockSealing();
    EXPECT_EQ(UnlockWithRecovery(P("key"), code), KeyResult::Ok);
}

TEST_F(SealedFiles, SealedFilesReadBackAndRefuseEveryDamage) {
    Einschalten();
    const std::string inhalt = "ID;PCALCOOO32\r\nC;X1;Y1;K\"7a\"\r\n";
    ASSERT_TRUE(WriteDataFile(P("a.slk"), inhalt, false));
    const std::string roh = Lesen(P("a.slk"));
    ASSERT_EQ(roh.size(), 4 + 24 + inhalt.size() + 16);
    EXPECT_EQ(roh.substr(0, 4), "RKV2");
    EXPECT_EQ(roh.find("7a"), std::string::npos);
    std::string klar;
    EXPECT_EQ(ReadDataFile(P("a.slk"), klar, 1 << 20), DataReadResult::Ok);
    EXPECT_EQ(klar, inhalt);
    // One save's copies (class file, backup, mirror) share one sealed form;
    // any other write takes a fresh nonce, so the same bytes saved later
    // give another file.
    ASSERT_TRUE(WriteDataFile(P("kopie.slk"), inhalt, false));
    EXPECT_EQ(Lesen(P("kopie.slk")), roh);
    ASSERT_TRUE(WriteDataFile(P("anders.slk"), "anders", false));
    ASSERT_TRUE(WriteDataFile(P("b.slk"), inhalt, false));
    EXPECT_NE(Lesen(P("b.slk")).substr(4, 24), roh.substr(4, 24));

    struct Fall {
        const char* was;
        std::string bytes;
    };
    std::string gekippt = roh;
    gekippt[40] ^= 0x10;
    std::string nonce = roh;
    nonce[10] ^= 1;
    const Fall faelle[] = {
        {"flipped byte in the ciphertext", gekippt},
        {"flipped byte in the nonce", nonce},
        {"truncated", roh.substr(0, roh.size() - 1)},
        {"only the mark", "RKV2"},
    };
    for (const Fall& f : faelle) {
        Schreiben(P("kaputt.slk"), f.bytes);
        EXPECT_EQ(ReadDataFile(P("kaputt.slk"), klar, 1 << 20), DataReadResult::Refused) << f.was;
        EXPECT_TRUE(klar.empty()) << f.was;
        EXPECT_EQ(ConvertDataFile(P("kaputt.slk"), false), ConvertResult::Refused) << f.was;
        EXPECT_EQ(Lesen(P("kaputt.slk")), f.bytes) << f.was;
    }

    // Under another key the same file is refused, and left as it is.
    SealingOff();
    Einschalten(u"ganz anderes Passwort");
    EXPECT_EQ(ReadDataFile(P("a.slk"), klar, 1 << 20), DataReadResult::Refused);
    EXPECT_EQ(Lesen(P("a.slk")), roh);
    LockSealing();
    EXPECT_EQ(ReadDataFile(P("a.slk"), klar, 1 << 20), DataReadResult::Locked);
    EXPECT_FALSE(WriteDataFile(P("c.slk"), inhalt, false));
    EXPECT_FALSE(fs::exists(ordner_ / "c.slk"));
}

TEST_F(SealedFiles, PlainAndSealedFilesMixAndConvertBothWays) {
    Schreiben(P("alt.slk"), "plain");
    Einschalten();
    std::string klar;
    EXPECT_EQ(ReadDataFile(P("alt.slk"), klar, 100), DataReadResult::Ok);
    EXPECT_EQ(klar, "plain");
    EXPECT_FALSE(IsSealedFile(P("alt.slk")));
    EXPECT_EQ(ConvertDataFile(P("alt.slk"), true), ConvertResult::Converted);
    EXPECT_TRUE(IsSealedFile(P("alt.slk")));
    EXPECT_EQ(ConvertDataFile(P("alt.slk"), true), ConvertResult::Unchanged);
    EXPECT_EQ(ConvertDataFile(P("alt.slk"), false), ConvertResult::Converted);
    EXPECT_EQ(Lesen(P("alt.slk")), "plain");
    EXPECT_FALSE(fs::exists(ordner_ / "alt.slk.neu"));
    EXPECT_EQ(ConvertDataFile(P("fehlt.slk"), true), ConvertResult::Failed);
    // Off: written plain, as before.
    SealingOff();
    ASSERT_TRUE(WriteDataFile(P("aus.slk"), "klar", false));
    EXPECT_EQ(Lesen(P("aus.slk")), "klar");
}

TEST_F(SealedFiles, RecoveryCodeIsWrittenInGroupsAndReadAsTyped) {
    std::array<unsigned char, kRecoveryBytes> bytes{};
    for (size_t i = 0; i < bytes.size(); ++i) bytes[i] = static_cast<unsigned char>(i * 37 + 11);
    const Text code = RecoveryCodeText(bytes);
    ASSERT_EQ(code.size(), 32u + 7u);
    for (size_t i = 0; i < code.size(); ++i) {
        if (i % 5 == 4) EXPECT_EQ(code[i], u' ');
        else EXPECT_NE(Text(u"0123456789ABCDEFGHJKMNPQRSTVWXYZ").find(code[i]), Text::npos) << i;
    }
    std::array<unsigned char, kRecoveryBytes> zero{}, ff{};
    ff.fill(0xFF);
    EXPECT_EQ(RecoveryCodeText(zero), u"0000 0000 0000 0000 0000 0000 0000 0000");
    EXPECT_EQ(RecoveryCodeText(ff), u"ZZZZ ZZZZ ZZZZ ZZZZ ZZZZ ZZZZ ZZZZ ZZZZ");

    Text klein = code, ohne, bindestriche;
    for (char16_t& c : klein) c = (c >= u'A' && c <= u'Z') ? static_cast<char16_t>(c - u'A' + u'a') : c;
    for (char16_t c : code)
        if (c != u' ') ohne.push_back(c);
    for (char16_t c : code) bindestriche.push_back(c == u' ' ? u'-' : c);
    struct Fall {
        Text getippt;
        bool gueltig;
    };
    const Fall faelle[] = {
        {code, true},
        {klein, true},
        {ohne, true},
        {bindestriche, true},
        {u"  " + code + u" ", true},
        {ohne.substr(0, 31), false},
        {ohne + u"0", false},
        {ohne.substr(0, 31) + u"U", false},
        {u"", false},
    };
    for (const Fall& f : faelle) {
        std::array<unsigned char, kRecoveryBytes> gelesen{};
        EXPECT_EQ(ParseRecoveryCode(f.getippt, gelesen), f.gueltig) << Utf8FromText(f.getippt);
        if (f.gueltig) {
            EXPECT_EQ(gelesen, bytes) << Utf8FromText(f.getippt);
        }
    }
    std::array<unsigned char, kRecoveryBytes> gelesen{};
    ASSERT_TRUE(ParseRecoveryCode(u"oooo iiii llll 0000 1111 0000 0000 0000", gelesen));
    EXPECT_EQ(RecoveryCodeText(gelesen), u"0000 1111 1111 0000 1111 0000 0000 0000");
}

TEST_F(SealedFiles, PortraitNamesAreKeyedHashes) {
    EXPECT_EQ(SealedPortraitStem(u"Berger Lena"), u"");
    Einschalten();
    const Text a = SealedPortraitStem(u"Berger Lena");
    ASSERT_EQ(a.size(), 32u);
    for (char16_t c : a) EXPECT_NE(Text(u"0123456789abcdef").find(c), Text::npos);
    EXPECT_EQ(SealedPortraitStem(u"Berger Lena"), a);
    EXPECT_NE(SealedPortraitStem(u"Berger Lena Marie"), a);
    SealingOff();
    Einschalten();
    EXPECT_NE(SealedPortraitStem(u"Berger Lena"), a);
}

}  // namespace

TEST_F(SealedFiles, TheSticksKeyFileOpensOnlyWithTheRecoveryCode) {
    const auto code = Einschalten(u"Kreide und Tafel 42");
    const std::string versiegelt = SealBytes("Zappelmann");
    fs::create_directories(ordner_ / "stick");
    ASSERT_TRUE(CopyKeyFileInto(P("stick")));
    const std::string stick = Lesen(P("stick/.Kladdorix-Schluessel"));
    const std::string datei = Lesen(P("key"));
    ASSERT_EQ(stick.size(), datei.size());
    EXPECT_EQ(stick.substr(0, 12), datei.substr(0, 12));
    EXPECT_EQ(stick.substr(12, 88), std::string(88, '\0'));  // nothing to guess a password against
    EXPECT_EQ(stick.substr(100), datei.substr(100));
    LockSealing();
    EXPECT_EQ(UnlockWithPassword(P("stick/.Kladdorix-Schluessel"), u"Kreide und Tafel 42"), KeyResult::WrongSecret);
    ASSERT_EQ(UnlockWithRecovery(P("stick/.Kladdorix-Schluessel"), code), KeyResult::Ok);
    std::string klar;
    EXPECT_TRUE(OpenSealedBytes(versiegelt, klar));
    // A stick copy that differs (an old full copy, a damaged one) is replaced and checked.
    Schreiben(P("stick/.Kladdorix-Schluessel"), datei);
    ASSERT_TRUE(CopyKeyFileInto(P("stick")));
    EXPECT_EQ(Lesen(P("stick/.Kladdorix-Schluessel")), stick);
    // A folder that takes nothing: told, not silent.
    EXPECT_FALSE(CopyKeyFileInto(P("fehlt/ganz")));
}

TEST_F(SealedFiles, KeyDerivationNeverWeakensAndKeyFilesOutsideTheWrittenLimitsAreRefused) {
    // Memory that cannot be had: nothing is written and nothing switched on,
    // instead of a silently smaller derivation.
    SetNewKeyLimits({1, 0xFFFFFFFFu});
    std::array<unsigned char, kRecoveryBytes> code{};
    ASSERT_TRUE(PrepareNewKey(code));
    EXPECT_EQ(WriteNewKeyFile(P("key"), u"Kreide und Tafel 42", code), KeyResult::NoMemory);
    EXPECT_FALSE(fs::exists(ordner_ / "key"));
    EXPECT_FALSE(SealingOn());
    DiscardNewKey();

    struct Fall {
        uint32_t ops, memKiB;
        bool angenommen;
    };
    for (const Fall& f : std::vector<Fall>{{1, 8192, true},
                                           {3, 262144, true},
                                           {2, 65536, true},
                                           {4, 262144, false},
                                           {64, 4u * 1024u * 1024u, false},
                                           {3, 262145, false},
                                           {1, 8191, false},
                                           {0, 8192, false}})
        EXPECT_EQ(KeyLimitsAccepted({f.ops, f.memKiB}), f.angenommen) << f.ops << " " << f.memKiB;

    // A key file claiming 64 passes and 4 GiB is refused at once as damaged.
    SetNewKeyLimits({1, 8192});
    Einschalten(u"Kreide und Tafel 42");
    std::string datei = Lesen(P("key"));
    datei.replace(4, 8, std::string("\x40\0\0\0\0\0\x40\0", 8));
    Schreiben(P("gross"), datei);
    LockSealing();
    EXPECT_EQ(UnlockWithPassword(P("gross"), u"Kreide und Tafel 42"), KeyResult::Damaged);
}

// The key file reader across its layouts: the older one without the mark of
// the index, the marked one, and what a hand without the key can do to it.
TEST_F(SealedFiles, TheIndexMarkIsReadOnlyAsWrittenUnderTheDataKey) {
    const Text passwort = u"Kreide und Tafel 42";
    Einschalten(passwort);
    const std::string aelter = Lesen(P("key"));
    ASSERT_EQ(SetIndexMark(), KeyResult::Ok);
    EXPECT_EQ(Lesen(P("key")).substr(0, kKeyFileSize), "RKS3" + aelter.substr(4));
    // The first unlock seals the password slot anew for the marked layout.
    LockSealing();
    ASSERT_EQ(UnlockWithPassword(P("key"), passwort), KeyResult::Ok);
    const std::string markiert = Lesen(P("key"));
    ASSERT_EQ(markiert.size(), kMarkedKeyFileSize);
    EXPECT_NE(markiert.substr(12, 88), aelter.substr(12, 88));
    auto geaendert = [&](size_t at, char bits) {
        std::string d = markiert;
        d[at] = static_cast<char>(d[at] ^ bits);
        return d;
    };
    std::string zurueck = markiert.substr(0, kKeyFileSize);
    zurueck[3] = '1';
    struct Fall {
        const char* was;
        std::string datei;
        KeyResult ergebnis;
        bool mark;
    };
    for (const Fall& f : std::vector<Fall>{{"older layout", aelter, KeyResult::Ok, false},
                                           {"marked", markiert, KeyResult::Ok, true},
                                           {"mark cleared by hand", geaendert(kKeyFileSize, 1), KeyResult::Damaged, false},
                                           {"unknown flag", geaendert(kKeyFileSize, 4), KeyResult::Damaged, false},
                                           {"MAC changed", geaendert(kMarkedKeyFileSize - 1, 1), KeyResult::Damaged, false},
                                           {"cut back to the older layout", zurueck, KeyResult::Damaged, false},
                                           {"truncated", markiert.substr(0, kMarkedKeyFileSize - 1), KeyResult::Damaged, false},
                                           {"taken for a change of key", geaendert(3, '3' ^ '4'), KeyResult::Damaged, false}}) {
        SealingOff();
        Schreiben(P("fall"), f.datei);
        EXPECT_EQ(UnlockWithPassword(P("fall"), passwort), f.ergebnis) << f.was;
        EXPECT_EQ(IndexMarkSet(), f.mark) << f.was;
    }
}

TEST_F(SealedFiles, TheIndexMarkGoesThroughPasswordChangeStickAndChangeOfKey) {
    Einschalten(u"erstes Passwort");
    // A change begun before the mark ("RKS2", as an older version leaves it) takes it too.
    std::array<unsigned char, kRecoveryBytes> code{};
    ASSERT_TRUE(PrepareNewKey(code));
    ASSERT_EQ(BeginDataKeyChange(P("key"), u"zweites Passwort", code), KeyResult::Ok);
    ASSERT_EQ(SetIndexMark(), KeyResult::Ok);
    EXPECT_EQ(Lesen(P("key")).size(), kMarkedChangingKeyFileSize);
    ASSERT_EQ(FinishDataKeyChange(), KeyResult::Ok);
    EXPECT_EQ(Lesen(P("key")).size(), kMarkedKeyFileSize);
    ASSERT_EQ(ChangePassword(P("key"), u"drittes Passwort"), KeyResult::Ok);
    fs::create_directories(ordner_ / "stick");
    ASSERT_TRUE(CopyKeyFileInto(P("stick")));
    std::array<unsigned char, kRecoveryBytes> neu{};
    ASSERT_TRUE(PrepareNewKey(neu));
    ASSERT_EQ(BeginDataKeyChange(P("key"), u"viertes Passwort", neu), KeyResult::Ok);
    EXPECT_EQ(Lesen(P("key")).substr(0, 4), "RKS4");
    const std::vector<std::pair<const char*, std::function<KeyResult()>>> wege{
        {"stick", [&] { return UnlockWithRecovery(P("stick/.Kladdorix-Schluessel"), code); }},
        {"changing", [&] { return UnlockWithPassword(P("key"), u"viertes Passwort"); }}};
    for (const auto& [was, auf] : wege) {
        SealingOff();
        EXPECT_EQ(auf(), KeyResult::Ok) << was;
        EXPECT_TRUE(IndexMarkSet()) << was;
    }
    ASSERT_EQ(FinishDataKeyChange(), KeyResult::Ok);
    SealingOff();
    EXPECT_EQ(UnlockWithRecovery(P("key"), neu), KeyResult::Ok);
    EXPECT_TRUE(IndexMarkSet());
    EXPECT_EQ(Lesen(P("key")).substr(0, 4), "RKS3");
}
