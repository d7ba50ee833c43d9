// Encryption that holds, in the real program: an older sealed backup copied
// over the class file, or an older save of it put back, is refused with its box, also
// when the index of saves was deleted with it; a key file found renamed to
// ".aus" asks the same confirmation as the menu and stays on without a yes;
// sealed files without a key file do not start plain; the stick's copy opens
// with the recovery code and not with the password; a change of key killed
// half way is finished by the next start; and after unlocking no copy of the
// typed password is left in the program's memory.
#include <gtest/gtest.h>
#include <unistd.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <map>

#include "gradebook/class_file.hpp"
#include "gradebook/file_places.hpp"
#include "gradebook/save_index.hpp"
#include "gradebook_files.hpp"
#include "harness.hpp"
#include "platform/sealed_files.hpp"
#include "platform/text.hpp"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kKachel = (56u << 16) | (48u << 8) | 64u;
const std::string kPasswort = "Kreide und Tafel 42";
const std::string kKlassendatei = "/Noten/7a/7a Mathe.slk";
const std::string kBackup = "/Noten/7a/Backups/7a Mathe 26-10-14-10-00-00.slk";

TestGradebook Klasse(const char* note) {
    TestGradebook g{"7a", "Mathe", {{"Arbeit", "14.10.26"}}, {}};
    g.schueler.push_back({"Zappelmann", "Quirin", {note}, "0171 998877", "Sitzplatz vorne", "3x"});
    g.schueler.push_back({"Yilmazoglu", "Xenia", {"1+"}, "", "", ""});
    return g;
}

class VerschluesselungHaelt : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.Ok());
        setenv("HOME", "/tmp/rk-e2e-home", 1);
        unsetenv("USERPROFILE");
        AblageorteBinden();
        // An older state as backup, the newer as class file, both sealed.
        WriteClassFile(p.Folder(), Klasse("4-"));
        fs::create_directories(p.Folder() + "/Noten/7a/Backups");
        WriteFileBytes(p.Folder() + kBackup, ClassFileBytes(Klasse("6")));
        stick = p.Folder() + "-stick";
        fs::create_directories(stick + "/Noten/7a/Backups");
        WriteFileBytes(stick + kKlassendatei, ClassFileBytes(Klasse("4-")));
        WriteFileBytes(p.Folder() + "/.Kladdorix-Einstellungen", stick + "\r\n/tmp/rk-e2e-home/\r\n");
        SetNewKeyLimits({1, 8192});
        ASSERT_TRUE(PrepareNewKey(code));
        ASSERT_EQ(WriteNewKeyFile(TextFromUtf8(Schluessel()), TextFromUtf8(kPasswort), code), KeyResult::Ok);
        for (const std::string& d : {p.Folder() + kKlassendatei, p.Folder() + kBackup, stick + kKlassendatei})
            ASSERT_EQ(ConvertDataFile(TextFromUtf8(d), true), ConvertResult::Converted) << d;
        ASSERT_TRUE(CopyKeyFileInto(TextFromUtf8(stick)));
        SealingOff();
        SetNewKeyLimits({});
    }
    void TearDown() override {
        SetPlaceRule(nullptr);
        std::error_code ec;
        fs::remove_all(stick, ec);
    }
    std::string Schluessel() const { return p.Folder() + "/.Kladdorix-Schluessel"; }
    void Starten() {
        ASSERT_TRUE(p.Start());
        ASSERT_NE(p.WaitForWindow(), 0u);
        SleepMs(1500);
    }
    void Eingeben(const std::string& text) { p.EnterText(text); }
    // Waits until a box with at least index + 1 buttons stands still, saves its
    // picture; false when none comes.
    bool BoxDa(int index, const std::string& bild, int& x, int& y) {
        int vorherX = -2, vorherY = -2;
        for (int i = 0; i < 40; ++i) {
            SleepMs(300);
            const Screenshot s = p.Shoot();
            if (BoxButton(s, index, x, y) && x == vorherX && y == vorherY) {
                p.Save(s, bild);
                return true;
            }
            vorherX = x;
            vorherY = y;
        }
        return false;
    }
    void Schalter(int index, const std::string& bild) {
        int x = -1, y = -1;
        ASSERT_TRUE(BoxDa(index, bild, x, y)) << bild;
        p.Click(x, y);
        SleepMs(600);
    }
    void Beenden() {
        p.Key("Escape");
        int status = -1;
        ASSERT_TRUE(p.WaitForExit(10000, status));
    }
    VirtualDisplay display{1920, 1080};
    ProgramUnderTest p{display};
    std::string stick;
    std::array<unsigned char, kRecoveryBytes> code{};
};

}  // namespace

TEST_F(VerschluesselungHaelt, AnOlderBackupCopiedOverTheClassFileIsRefusedWithItsBox) {
    fs::copy_file(p.Folder() + kBackup, p.Folder() + kKlassendatei, fs::copy_options::overwrite_existing);
    const std::string untergeschoben = ReadFileBytes(p.Folder() + kKlassendatei);
    Starten();
    Eingeben(kPasswort);
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel, 15000));
    ASSERT_TRUE(p.OpenTheOnlyClass());
    // The box with "Ok" and "Backup wählen", not the class screen with the old grade.
    int x = -1, y = -1;
    ASSERT_TRUE(BoxDa(1, "abgelehnt-backup-ueber-klasse", x, y));
    int okX = -1, okY = -1;
    ASSERT_TRUE(BoxButton(p.Shoot(), 0, okX, okY));
    p.Click(okX, okY);
    SleepMs(800);
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel, 5000));  // back on the catalogue
    Beenden();
    EXPECT_EQ(ReadFileBytes(p.Folder() + kKlassendatei), untergeschoben);  // left as it was found
}

TEST_F(VerschluesselungHaelt, AnOlderVersionOfTheClassFilePutBackIsRefusedWithItsBox) {
    // The index as the first start leaves it, then a save through the
    // program's own save; its sealed file from before is put back.
    const fs::path hier = fs::current_path();
    fs::current_path(p.Folder());
    ASSERT_EQ(UnlockWithPassword(u"./.Kladdorix-Schluessel", TextFromUtf8(kPasswort)), KeyResult::Ok);
    ASSERT_TRUE(StandBeginnen());
    ASSERT_TRUE(StandAbschliessen());
    const std::string frueher = ReadFileBytes(p.Folder() + kKlassendatei);
    ASSERT_TRUE(DateiSicherErsetzen(u"Noten/7a/7a Mathe.slk", ClassFileBytes(Klasse("2"))));
    SealingOff();
    fs::current_path(hier);
    WriteFileBytes(p.Folder() + kKlassendatei, frueher);
    Starten();
    Eingeben(kPasswort);
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel, 15000));
    ASSERT_TRUE(p.OpenTheOnlyClass());
    int x = -1, y = -1;
    ASSERT_TRUE(BoxDa(1, "abgelehnt-aelterer-stand", x, y));
    int okX = -1, okY = -1;
    ASSERT_TRUE(BoxButton(p.Shoot(), 0, okX, okY));
    p.Click(okX, okY);
    SleepMs(800);
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel, 5000));
    Beenden();
    EXPECT_EQ(ReadFileBytes(p.Folder() + kKlassendatei), frueher);
}

TEST_F(VerschluesselungHaelt, AnOlderVersionPutBackWithTheIndexDeletedIsNotOpenedSilently) {
    // The first start of this version makes the index and marks it in the key file.
    Starten();
    Eingeben(kPasswort);
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel, 15000));
    Beenden();
    ASSERT_EQ(ReadFileBytes(Schluessel()).size(), kMarkedKeyFileSize);
    const std::string stand = p.Folder() + "/.Kladdorix-Stand";
    ASSERT_TRUE(fs::exists(stand));
    // A save through the program's own save; the sealed file from before is
    // kept, the index deleted and the older file put back.
    const fs::path hier = fs::current_path();
    fs::current_path(p.Folder());
    ASSERT_EQ(UnlockWithPassword(u"./.Kladdorix-Schluessel", TextFromUtf8(kPasswort)), KeyResult::Ok);
    const std::string frueher = ReadFileBytes(p.Folder() + kKlassendatei);
    ASSERT_TRUE(DateiSicherErsetzen(u"Noten/7a/7a Mathe.slk", ClassFileBytes(Klasse("2"))));
    SealingOff();
    fs::current_path(hier);
    fs::remove(stand);
    WriteFileBytes(p.Folder() + kKlassendatei, frueher);
    const std::string schluessel = ReadFileBytes(Schluessel());

    // "Weiter" / "Programm beenden": ending leaves everything as it was found.
    Starten();
    Eingeben(kPasswort);
    Schalter(1, "stand-fehlt");
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(10000, status));
    EXPECT_EQ(ReadFileBytes(p.Folder() + kKlassendatei), frueher);
    EXPECT_FALSE(fs::exists(stand));
    EXPECT_EQ(ReadFileBytes(Schluessel()), schluessel);

    // Going on: the index is made from the files as they are, the mark stays.
    Starten();
    Eingeben(kPasswort);
    Schalter(0, "stand-fehlt-weiter");
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel, 15000));
    Beenden();
    EXPECT_TRUE(fs::exists(stand));
    EXPECT_EQ(ReadFileBytes(Schluessel()).size(), kMarkedKeyFileSize);
}

TEST_F(VerschluesselungHaelt, AKeyFileRenamedToAusAsksTheConfirmationAndStaysOnWithoutAYes) {
    fs::rename(Schluessel(), Schluessel() + ".aus");
    const std::string vorher = ReadFileBytes(p.Folder() + kKlassendatei);
    Starten();
    Eingeben(kPasswort);
    Schalter(1, "ausschalten-bestaetigen");  // "NEIN"
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel, 15000));
    EXPECT_TRUE(fs::exists(Schluessel()));
    EXPECT_FALSE(fs::exists(Schluessel() + ".aus"));
    EXPECT_EQ(ReadFileBytes(p.Folder() + kKlassendatei), vorher);
    Beenden();
    EXPECT_EQ(ReadFileBytes(p.Folder() + kKlassendatei).substr(0, 4), "RKV2");
}

TEST_F(VerschluesselungHaelt, SealedFilesWithoutTheKeyFileDoNotStartPlain) {
    fs::remove(Schluessel());
    const auto vorher = FilesBelow(p.Folder() + "/Noten");
    Starten();
    Schalter(0, "schluessel-fehlt");
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(10000, status));
    EXPECT_EQ(FilesBelow(p.Folder() + "/Noten"), vorher);
    EXPECT_FALSE(fs::exists(Schluessel()));
}

TEST_F(VerschluesselungHaelt, TheSticksCopyOpensWithTheRecoveryCodeAndNotWithThePassword) {
    // The program folder is lost: only what the stick holds is left.
    fs::remove_all(p.Folder() + "/Noten");
    fs::remove(Schluessel());
    fs::remove(p.Folder() + "/.Kladdorix-Einstellungen");
    fs::copy(stick + "/Noten", p.Folder() + "/Noten", fs::copy_options::recursive);
    fs::copy_file(stick + "/.Kladdorix-Schluessel", Schluessel());
    Starten();
    Eingeben(kPasswort);
    // Wrong: "Nochmal" / "Wiederherstellungscode".
    Schalter(1, "stick-passwort-falsch");
    Eingeben(Utf8FromText(RecoveryCodeText(code)));  // typed masked
    const std::string neu = "Neue Kreide 2027";
    Eingeben(neu);
    Eingeben(neu);
    Schalter(0, "stick-neues-passwort");
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel, 15000));
    Beenden();
    ASSERT_EQ(UnlockWithPassword(TextFromUtf8(Schluessel()), TextFromUtf8(neu)), KeyResult::Ok);
    std::string klasse;
    EXPECT_EQ(ReadDataFile(TextFromUtf8(p.Folder() + kKlassendatei), klasse, 1 << 20), DataReadResult::Ok);
    SealingOff();
    EXPECT_NE(klasse.find("Zappelmann"), std::string::npos);
}

// Plain copies made while encryption was off (an export copy, a report in
// "Ausdrucke", the leftover of an interrupted write) are named when it is
// switched on and deleted with consent: afterwards no file below the program
// folder, the private folder or $HOME holds a student's name.
TEST_F(VerschluesselungHaelt, SwitchingOnLeavesNoPlainCopyOfANameAnywhere) {
    // Plain again, as before switching on, with the copies the program made then.
    fs::remove(Schluessel());
    for (const std::string& d : {p.Folder() + kKlassendatei, p.Folder() + kBackup, stick + kKlassendatei})
        WriteFileBytes(d, ClassFileBytes(Klasse("4-")));
    fs::remove(stick + "/.Kladdorix-Schluessel");
    WriteFileBytes(p.Folder() + "/7a Mathe (exportiert).slk", ClassFileBytes(Klasse("4-")));
    fs::create_directories(p.Folder() + "/Ausdrucke");
    WriteFileBytes(p.Folder() + "/Ausdrucke/7a Mathe Schülerbogen Zappelmann Quirin 2026-10-14.pdf",
                   "%PDF-1.5 Zappelmann Quirin");
    WriteFileBytes(p.Folder() + kKlassendatei + ".neu", ClassFileBytes(Klasse("4-")));
    const std::string laufzeit = p.Folder() + "-laufzeit";
    fs::create_directories(laufzeit + "/rido-kladdorix");
    fs::permissions(laufzeit, fs::perms::owner_all);
    WriteFileBytes(laufzeit + "/rido-kladdorix/7a Mathe (exportiert).slk", ClassFileBytes(Klasse("4-")));  // a killed run's
    setenv("XDG_RUNTIME_DIR", laufzeit.c_str(), 1);
    const std::string heim = p.Folder() + "-home";  // a home of its own: nothing of other tests in it
    fs::create_directories(heim);
    setenv("HOME", heim.c_str(), 1);

    Starten();
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel, 15000));
    p.Click(846 + 114, 123 + 57);  // "Optionen", tile 6
    SleepMs(600);
    p.Click(652 + 4 + 0 * 204 + 100, 237 + 4 + 2 * 94 + 45);
    SleepMs(800);
    Schalter(0, "kopien-frage");  // "Ja, verschlüsseln"
    Eingeben(kPasswort);
    Eingeben(kPasswort);
    Schalter(0, "kopien-code");      // "Code ist notiert"
    Schalter(0, "kopien-loeschen");  // "Ja, löschen"
    Schalter(0, "kopien-info");
    Beenden();
    unsetenv("XDG_RUNTIME_DIR");
    setenv("HOME", "/tmp/rk-e2e-home", 1);
    for (const std::string& ort : {p.Folder(), laufzeit, heim, stick})
        for (const auto& [pfad, bytes] : FilesBelow(ort))
            for (const char* name : {"Zappelmann", "Quirin", "Yilmazoglu", "Xenia"})
                EXPECT_EQ(bytes.find(name), std::string::npos) << ort << "/" << pfad << ": " << name;
    EXPECT_FALSE(fs::exists(p.Folder() + "/7a Mathe (exportiert).slk"));
    EXPECT_EQ(ReadFileBytes(p.Folder() + kKlassendatei).substr(0, 4), "RKV2");
    fs::remove_all(laufzeit);
    fs::remove_all(heim);
}

// A change of key killed after its first file: the next start, with the new
// password, finishes it and says so; the stick then opens with the new code.
TEST_F(VerschluesselungHaelt, AChangeOfKeyKilledHalfWayIsFinishedByTheNextStart) {
    SetNewKeyLimits({1, 8192});
    ASSERT_EQ(UnlockWithPassword(TextFromUtf8(Schluessel()), TextFromUtf8(kPasswort)), KeyResult::Ok);
    std::array<unsigned char, kRecoveryBytes> neu{};
    ASSERT_TRUE(PrepareNewKey(neu));
    const std::string neuesPasswort = "Neue Kreide 2027";
    ASSERT_EQ(BeginDataKeyChange(TextFromUtf8(Schluessel()), TextFromUtf8(neuesPasswort), neu), KeyResult::Ok);
    ASSERT_EQ(ResealDataFile(TextFromUtf8(p.Folder() + kKlassendatei)), ConvertResult::Converted);
    SealingOff();
    SetNewKeyLimits({});
    Starten();
    Eingeben(neuesPasswort);
    Schalter(0, "schluesselwechsel-beendet");
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel, 15000));
    Beenden();
    // Finished, and marked: that start also made the index of saves.
    EXPECT_EQ(ReadFileBytes(Schluessel()).size(), kMarkedKeyFileSize);
    EXPECT_EQ(ReadFileBytes(stick + "/.Kladdorix-Schluessel"), StickKeyBytes(ReadFileBytes(Schluessel())));
    for (const auto& [c, ergebnis] : {std::pair{code, KeyResult::WrongSecret}, std::pair{neu, KeyResult::Ok}}) {
        SealingOff();
        EXPECT_EQ(UnlockWithRecovery(TextFromUtf8(stick + "/.Kladdorix-Schluessel"), c), ergebnis);
    }
    std::string bytes;
    EXPECT_EQ(ReadDataFile(TextFromUtf8(stick + kKlassendatei), bytes, 1 << 20), DataReadResult::Ok);
    SealingOff();
}

// Read as root through /proc (the way a debugger or a forced core dump sees
// it): after the password was typed and the catalogue is shown, the password
// is nowhere in the program's memory, neither as UTF-8 nor as UTF-16.
TEST_F(VerschluesselungHaelt, NoCopyOfTheTypedPasswordIsLeftInMemoryAfterUnlocking) {
    if (::geteuid() != 0) GTEST_SKIP() << "reading another process's memory needs root";
    Starten();
    Eingeben(kPasswort);
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel, 15000));
    SleepMs(500);
    const int funde = MemoryFinds(p.Pid(), {kPasswort, Utf16Bytes(kPasswort)});
    // The check itself finds what is there: a name of the catalogue's class file.
    const int kontrolle = MemoryFinds(p.Pid(), {"7a Mathe", Utf16Bytes("7a Mathe")});
    // A core dump forced from outside (gdb's gcore, as root may) holds no password either.
    const std::string kern = p.Folder() + "-kern";
    int imKern = -1;
    if (fs::exists("/usr/bin/gcore") && RunCommand({"/usr/bin/gcore", "-o", kern, std::to_string(p.Pid())}) == 0) {
        const std::string datei = kern + "." + std::to_string(p.Pid());
        const std::string bytes = ReadFileBytes(datei);
        imKern = 0;
        for (const std::string& g : {kPasswort, Utf16Bytes(kPasswort)})
            for (size_t at = bytes.find(g); at != std::string::npos; at = bytes.find(g, at + 1)) ++imKern;
        std::printf("core dump of %zu bytes: %d copies of the password\n", bytes.size(), imKern);
        fs::remove(datei);
    }
    Beenden();
    if (imKern >= 0) EXPECT_EQ(imKern, 0);
    ASSERT_GE(kontrolle, 1);
    EXPECT_EQ(funde, 0);
}
