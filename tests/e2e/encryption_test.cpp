// Encryption in the real program: switched on through main-menu tile 6 with
// the password typed twice; afterwards no file below the program folder or
// the mirror holds a student's name, grade or note; the next start asks for
// the password (a wrong one gets the box, the right one the catalogue); and
// switching off gives back every file byte for byte.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>

#include "gradebook/file_places.hpp"
#include "gradebook_files.hpp"
#include "harness.hpp"
#include "platform/sealed_files.hpp"
#include "platform/text.hpp"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;
constexpr uint32_t kKachel = (56u << 16) | (48u << 8) | 64u;
const std::string kPasswort = "Kreide und Tafel 42";

TestGradebook Klasse() {
    TestGradebook g{"7a", "Mathe", {{"Arbeit", "14.10.26"}}, {}};
    g.schueler.push_back({"Zappelmann", "Quirin", {"4-"}, "0171 998877", "Sitzplatz vorne", "3x"});
    g.schueler.push_back({"Yilmazoglu", "Xenia", {"1+"}, "", "", ""});
    return g;
}

class Verschluesselung : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.Ok());
        // Files sealed or read here are bound to their place as the program binds them.
        AblageorteBinden();
        setenv("HOME", "/tmp/rk-e2e-home", 1);
        unsetenv("USERPROFILE");
        WriteClassFile(p.Folder(), Klasse());
        WriteFileBytes(p.Folder() + "/Noten/7a/Backups/7a Mathe 26-10-14-10-00-00.slk", ClassFileBytes(Klasse()));
        stick = p.Folder() + "/stick";
        fs::create_directories(stick + "/Noten/7a/Backups");
        WriteFileBytes(stick + "/Noten/7a/7a Mathe.slk", ClassFileBytes(Klasse()));
        WriteFileBytes(p.Folder() + "/.Kladdorix-Einstellungen", stick + "\r\n/tmp/rk-e2e-home/\r\n");
    }
    // Every data file below the program folder and the mirror, with its bytes.
    std::map<std::string, std::string> Daten() {
        std::map<std::string, std::string> out;
        for (const auto& e : fs::recursive_directory_iterator(p.Folder())) {
            const std::string rel = fs::relative(e.path(), p.Folder()).string();
            if (e.is_regular_file() && (rel.rfind("Noten/", 0) == 0 || rel.rfind("stick/Noten/", 0) == 0))
                out[rel] = ReadFileBytes(e.path().string());
        }
        return out;
    }
    void Starten() {
        ASSERT_TRUE(p.Start());
        ASSERT_NE(p.WaitForWindow(), 0u);
        SleepMs(1500);
    }
    void Optionen(int kachel) {
        p.Click(846 + 114, 123 + 57);
        SleepMs(600);
        const int x = 652 + 4 + (kachel % 3) * 204, y = 237 + 4 + (kachel / 3) * 94;
        p.Click(x + 100, y + 45);
        SleepMs(800);
    }
    // Presses button `index` of the box on the screen, after saving its picture.
    // Waits (key derivations take a second or two) until the box stands still.
    void Schalter(int index, const std::string& bild) {
        int x = -1, y = -1, vorherX = -2, vorherY = -2;
        for (int i = 0; i < 40; ++i) {
            SleepMs(300);
            const Screenshot s = p.Shoot();
            if (BoxButton(s, index, x, y) && x == vorherX && y == vorherY) {
                p.Save(s, bild);
                break;
            }
            vorherX = x;
            vorherY = y;
            x = -1;
        }
        ASSERT_GE(x, 0) << bild;
        p.Click(x, y);
        SleepMs(600);
    }
    void Eingeben(const std::string& text) { p.EnterText(text); }
    VirtualDisplay display{1920, 1080};
    ProgramUnderTest p{display};
    std::string stick;
};
}  // namespace

TEST_F(Verschluesselung, OnThroughTile6ThenPasswordAtStartThenOffGivesBackEveryByte) {
    const auto vorher = Daten();
    Starten();
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel));
    Optionen(6);
    Schalter(0, "verschluesselung-frage");  // "Ja, verschlüsseln"
    SleepMs(700);
    p.Type(kPasswort);
    SleepMs(300);
    p.Save(p.Shoot(), "verschluesselung-passwort");
    p.Key("Return");
    SleepMs(400);
    Eingeben(kPasswort);
    Schalter(0, "verschluesselung-code");  // "Code ist notiert"
    SleepMs(2500);                        // two derivations and the conversion
    Schalter(0, "verschluesselung-info");
    ASSERT_TRUE(fs::exists(p.Folder() + "/.Kladdorix-Schluessel"));
    // The stick's copy without the password part: it opens with the recovery code only.
    EXPECT_EQ(ReadFileBytes(stick + "/.Kladdorix-Schluessel"),
              StickKeyBytes(ReadFileBytes(p.Folder() + "/.Kladdorix-Schluessel")));
    const auto an = Daten();
    EXPECT_EQ(an.size(), vorher.size());
    for (const auto& [pfad, bytes] : an) {
        EXPECT_EQ(bytes.substr(0, 4), "RKV2") << pfad;
        for (const char* geheim : {"Zappelmann", "Quirin", "Yilmazoglu", "Xenia", "4-", "1+", "0171", "Sitzplatz"})
            EXPECT_EQ(bytes.find(geheim), std::string::npos) << pfad << ": " << geheim;
    }
    p.Key("Escape");
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(8000, status));

    // The next start: the password prompt, no catalogue.
    Starten();
    const Screenshot prompt = p.Shoot();
    p.Save(prompt, "verschluesselung-start");
    EXPECT_NE(prompt.At(848, 123 + 111), kKachel);
    Eingeben("falsches Passwort");
    Schalter(0, "verschluesselung-falsch");  // "Nochmal"
    EXPECT_NE(p.Shoot().At(848, 123 + 111), kKachel);
    Eingeben(kPasswort);
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel, 15000));
    p.Save(p.Shoot(), "verschluesselung-katalog");

    // Off: password, the warning, every file plain again.
    Optionen(6);
    Schalter(1, "verschluesselung-an");  // "Verschlüsselung ausschalten"
    Eingeben(kPasswort);
    Schalter(0, "verschluesselung-warnung");
    SleepMs(1500);
    Schalter(0, "verschluesselung-aus");
    EXPECT_FALSE(fs::exists(p.Folder() + "/.Kladdorix-Schluessel"));
    EXPECT_FALSE(fs::exists(p.Folder() + "/.Kladdorix-Schluessel.aus"));
    EXPECT_FALSE(fs::exists(stick + "/.Kladdorix-Schluessel"));
    EXPECT_EQ(Daten(), vorher);
    p.Key("Escape");
    ASSERT_TRUE(p.WaitForExit(8000, status));
    EXPECT_EQ(status, 0);
}

// The program killed at random moments of switching on a folder of 20
// gradebooks with backups and portraits; every next start asks for the
// password, finishes the conversion, and every gradebook opens with every grade.
TEST_F(Verschluesselung, AConversionKilledAtRandomIsFinishedAtTheNextStart) {
    std::map<std::string, std::string> klar;
    const std::string png = ReadFileBytes(std::string(RK_SOURCE_DIR) + "/media/images/Info.png");
    for (int g = 0; g < 20; ++g) {
        const std::string klasse = std::to_string(5 + g % 8) + std::string(1, static_cast<char>('a' + g / 8));
        const TestGradebook b = LargeGradebook(klasse, "Mathe", 25, 20);
        const std::string pfad = WriteClassFile(p.Folder(), b);
        klar[fs::relative(pfad, p.Folder()).string()] = ClassFileBytes(b);
        fs::create_directories(p.Folder() + "/Noten/" + klasse + "/Backups");
        for (int k = 0; k < 10; ++k) {
            const std::string backup = "Noten/" + klasse + "/Backups/" + klasse + " Mathe 26-10-" +
                                       std::to_string(10 + k) + "-10-00-00.slk";
            WriteFileBytes(p.Folder() + "/" + backup, ClassFileBytes(b));
            klar[backup] = ClassFileBytes(b);
        }
        fs::create_directories(p.Folder() + "/Noten/" + klasse + "/Bilder");
        for (int s = 0; s < 25 && s < static_cast<int>(b.schueler.size()); ++s)
            WriteFileBytes(p.Folder() + "/Noten/" + klasse + "/Bilder/" + b.schueler[s].nachname + " " +
                               b.schueler[s].vornamen + ".png",
                           png);
    }
    const auto vorher = Daten();
    Starten();
    Optionen(6);
    Schalter(0, "umstellung-frage");
    Eingeben(kPasswort);
    Eingeben(kPasswort);
    SleepMs(600);
    const Screenshot code = p.Shoot();
    int x, y;
    ASSERT_TRUE(BoxButton(code, 0, x, y));
    p.Click(x, y);
    // The key file is written within about two derivations; the kill falls
    // somewhere in the conversion after it.
    for (int i = 0; i < 400 && !fs::exists(p.Folder() + "/.Kladdorix-Schluessel"); ++i) SleepMs(50);
    SleepMs(50 + static_cast<int>(::getpid() % 400));
    p.Kill();
    ASSERT_TRUE(fs::exists(p.Folder() + "/.Kladdorix-Schluessel"));
    int schonVersiegelt = 0;
    for (const auto& [pfad, bytes] : Daten()) schonVersiegelt += bytes.compare(0, 4, "RKV2") == 0;
    std::printf("killed with %d of %zu files sealed\n", schonVersiegelt, vorher.size());

    Starten();
    Eingeben(kPasswort);
    // Killed after the program folder and before the stick, the next start
    // tells in a box that the stick's files are now sealed: it is closed.
    for (int i = 0; i < 60 && !p.WaitForPixel(848, 123 + 111, kKachel, 500); ++i) {
        int x = -1, y = -1;
        if (BoxButton(p.Shoot(), 0, x, y)) p.Click(x, y);
    }
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel, 1000));
    p.Key("Escape");
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(8000, status));
    const auto nachher = Daten();
    EXPECT_EQ(nachher.size(), vorher.size());
    for (const auto& [pfad, bytes] : nachher) {
        EXPECT_EQ(bytes.substr(0, 4), "RKV2") << pfad;
        EXPECT_EQ(pfad.find(".neu"), std::string::npos) << pfad;
    }
    // Every gradebook and backup holds its bytes under the key.
    ASSERT_TRUE(fs::exists(p.Folder() + "/.Kladdorix-Schluessel")) << p.Folder();
    ASSERT_EQ(UnlockWithPassword(TextFromUtf8(p.Folder() + "/.Kladdorix-Schluessel"), TextFromUtf8(kPasswort)),
              KeyResult::Ok);
    for (const auto& [pfad, bytes] : klar) {
        std::string offen;
        ASSERT_EQ(ReadDataFile(TextFromUtf8(p.Folder() + "/" + pfad), offen, 1 << 24), DataReadResult::Ok) << p.Folder() << "/" << pfad;
        EXPECT_EQ(offen, bytes) << pfad;
    }
    SealingOff();
}

// With encryption on: a grade entered and saved is in the decrypted class
// file, and the export hands LibreOffice a readable copy of which nothing
// plain is left anywhere once LibreOffice has ended.
TEST_F(Verschluesselung, AnEnteredGradeIsSealedAndTheExportLeavesNoPlainCopy) {
    // Switched on beforehand, with quick key derivations.
    const Text schluessel = TextFromUtf8(p.Folder() + "/.Kladdorix-Schluessel");
    SetNewKeyLimits({1, 8192});
    std::array<unsigned char, kRecoveryBytes> code{};
    ASSERT_TRUE(PrepareNewKey(code));
    ASSERT_EQ(WriteNewKeyFile(schluessel, TextFromUtf8(kPasswort), code), KeyResult::Ok);
    for (const auto& [pfad, bytes] : Daten())
        ASSERT_EQ(ConvertDataFile(TextFromUtf8(p.Folder() + "/" + pfad), true), ConvertResult::Converted) << pfad;
    ASSERT_TRUE(CopyKeyFileInto(TextFromUtf8(stick)));
    SealingOff();
    SetNewKeyLimits({});

    // The private folder is the test's; "libreoffice" is the real one,
    // which writes what it read as CSV where the test looks.
    const std::string laufzeit = p.Folder() + "-laufzeit", csv = p.Folder() + "-csv", bin = p.Folder() + "-bin";
    for (const std::string& o : {laufzeit, csv, bin}) fs::create_directories(o);
    fs::permissions(laufzeit, fs::perms::owner_all);
    WriteFileBytes(bin + "/libreoffice", "#!/bin/sh\nexec soffice --headless --convert-to "
                                         "'csv:Text - txt - csv (StarCalc):44,34,76' --outdir '" + csv + "' \"$@\"\n");
    fs::permissions(bin + "/libreoffice", fs::perms::owner_all);
    const std::string pfadVorher = std::getenv("PATH");
    setenv("PATH", (bin + ":" + pfadVorher).c_str(), 1);
    setenv("XDG_RUNTIME_DIR", laufzeit.c_str(), 1);
    std::vector<std::string> tmpVorher;
    for (const auto& e : fs::directory_iterator("/tmp")) tmpVorher.push_back(e.path());

    Starten();
    Eingeben(kPasswort);
    ASSERT_TRUE(p.WaitForPixel(848, 123 + 111, kKachel, 15000));
    p.Click(846 + 114, 663 + 57);  // the only class tile
    SleepMs(1500);
    // Yilmazoglu's "Arbeit" (the rows in name order): "2" from the grade menu (tile 4).
    p.Click(160 + 80 + 38, 46 + 84 + 38);
    SleepMs(500);
    p.Click(180 + 4 + 64 + 30, 4 + 64 + 30);
    SleepMs(600);
    p.Save(p.Shoot(), "verschluesselt-note");
    p.Click(100, 60);  // the class menu, "Exportieren"
    SleepMs(500);
    p.Click(4 + 204 + 100, 4 + 3 * 94 + 45);
    SleepMs(1500);
    ASSERT_NE(p.WaitForWindow(90000), 0u);
    // LibreOffice starts with a throw-away profile: its first start takes longer.
    ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel, 120000));
    const std::string gelesen = ReadFileBytes(csv + "/Tabelle.csv");
    EXPECT_NE(gelesen.find("\nYilmazoglu,Xenia,2"), std::string::npos) << gelesen;
    EXPECT_NE(gelesen.find("\nZappelmann,Quirin,4-"), std::string::npos) << gelesen;

    // No plain copy in the program folder, the private folder or a new folder in /tmp.
    const auto keinKlartext = [&](const std::string& wann) {
        std::vector<std::string> orte{p.Folder(), laufzeit};
        for (const auto& e : fs::directory_iterator("/tmp"))
            if (e.path().filename().string().rfind("rido-kladdorix", 0) == 0 &&
                std::find(tmpVorher.begin(), tmpVorher.end(), e.path()) == tmpVorher.end())
                orte.push_back(e.path());
        for (const std::string& ort : orte)
            for (const auto& [pfad, bytes] : FilesBelow(ort))
                for (const char* geheim : {"Zappelmann", "Quirin", "Yilmazoglu", "Xenia"})
                    EXPECT_EQ(bytes.find(geheim), std::string::npos) << wann << ": " << ort << "/" << pfad;
    };
    keinKlartext("LibreOffice ended");
    p.Key("Escape");
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(10000, status));
    EXPECT_EQ(status, 0);
    keinKlartext("program ended");
    setenv("PATH", pfadVorher.c_str(), 1);
    unsetenv("XDG_RUNTIME_DIR");

    // The saved class file opens under the password with the new grade.
    ASSERT_EQ(UnlockWithPassword(schluessel, TextFromUtf8(kPasswort)), KeyResult::Ok);
    std::string klasse;
    EXPECT_EQ(ReadDataFile(TextFromUtf8(p.Folder() + "/Noten/7a/7a Mathe.slk"), klasse, 1 << 20), DataReadResult::Ok);
    SealingOff();
    EXPECT_NE(klasse.find("K\"2\""), std::string::npos) << klasse;
    EXPECT_EQ(klasse.find("K\"1+\""), std::string::npos) << klasse;
    for (const std::string& o : {laufzeit, csv, bin}) fs::remove_all(o);
}
