// The Windows program under wine (scripts/test.sh --windows names it in
// RK_E2E_WINDOWS_PROGRAM; without it these tests are skipped): it starts at
// the screen's size from a fresh folder, creates "Noten" beside itself, opens
// a class with an umlaut in its name and saves it on Escape; and a "Noten"
// folder written by one system opens on the other with the same bytes,
// plain and sealed.
#include <gtest/gtest.h>

#include <array>
#include <filesystem>

#include "gradebook/file_places.hpp"
#include "gradebook_files.hpp"
#include "harness.hpp"
#include "platform/sealed_files.hpp"
#include "platform/text.hpp"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;
constexpr uint32_t kKachel = (56u << 16) | (48u << 8) | 64u;

TestGradebook Klasse() {
    TestGradebook g = LargeGradebook("5ä", "Deutsch", 12, 8);
    g.schueler[0].nachname = "Özdemir";
    g.schueler[0].notizen = "Größe ß";
    return g;
}

std::vector<fs::path> Backups(const std::string& ordner) {
    std::vector<fs::path> liste;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(ordner, ec)) liste.push_back(e.path());
    return liste;
}

// Starts the program (Linux or Windows), opens the only class, shoots the
// catalogue and the class screen under the names given, and ends with Escape.
// With a password given, it is typed at the start's prompt first.
void OeffnenUndBeenden(ProgramUnderTest& p, const std::string& bildname, const std::string& passwort = {}) {
    ASSERT_TRUE(p.Start());
    ASSERT_NE(p.WaitForWindow(60000), 0u);
    if (!passwort.empty()) {
        SleepMs(2500);  // the prompt and its keyboard slide in
        p.Save(p.Shoot(), bildname + "-passwort");
        p.Type(passwort);
        SleepMs(1500);  // wine takes a typed character per frame
        p.Key("Return");
    }
    ASSERT_TRUE(p.WaitForPixel(960, 1070, kHintergrund, 60000));
    SleepMs(1500);
    p.Save(p.Shoot(), bildname + "-katalog");
    p.Click(846 + 114, 663 + 57);
    SleepMs(2500);
    const Screenshot klasse = p.Shoot();
    p.Save(klasse, bildname + "-klasse");
    EXPECT_EQ(klasse.At(10, 8 + 111), kKachel) << "the class screen did not open";
    p.Key("Escape");
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(30000, status)) << "Escape did not end the program";
    EXPECT_EQ(status, 0);
}
}  // namespace

class UnterWine : public ::testing::Test {
protected:
    void SetUp() override {
        if (!ProgramUnderTest::WindowsProgramSet()) GTEST_SKIP() << "no Windows program (RK_E2E_WINDOWS_PROGRAM)";
        ASSERT_TRUE(display.Ok());
    }
    VirtualDisplay display{1920, 1080};
};

TEST_F(UnterWine, FreshFolderScreenSizeNotenBesideTheProgram_UmlautClassSavedUnchangedOnEscape) {
    ProgramUnderTest erster(display);
    ASSERT_TRUE(erster.Start());
    ASSERT_NE(erster.WaitForWindow(60000), 0u);
    ASSERT_TRUE(erster.WaitForPixel(960, 1070, kHintergrund, 60000)) << "no window at the screen's size";
    // The window fills the screen: its bottom right corner shows the background.
    EXPECT_TRUE(erster.WaitForPixel(1919, 1079, kHintergrund, 5000));
    EXPECT_TRUE(fs::is_directory(erster.Folder() + "/Noten")) << "\"Noten\" was not created beside the program";
    erster.Key("Escape");
    int status = -1;
    ASSERT_TRUE(erster.WaitForExit(30000, status));
    EXPECT_EQ(status, 0);

    ProgramUnderTest p(display, erster);
    const std::string pfad = WriteClassFile(p.Folder(), Klasse());
    const std::string vorher = ReadFileBytes(pfad);
    OeffnenUndBeenden(p, "wine");
    EXPECT_EQ(ReadFileBytes(pfad), vorher) << "saving changed the bytes";
    const auto backups = Backups(p.Folder() + "/Noten/5ä/Backups");
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(ReadFileBytes(backups[0].string()), vorher);
}

TEST_F(UnterWine, AFolderWrittenOnWindowsOpensOnLinuxAndBackByteForByte) {
    ProgramUnderTest windows(display);
    const std::string pfad = WriteClassFile(windows.Folder(), Klasse());
    const std::string vorher = ReadFileBytes(pfad);
    OeffnenUndBeenden(windows, "wine-dann-linux");
    ASSERT_EQ(ReadFileBytes(pfad), vorher);

    ProgramUnderTest linux(display, windows);
    linux.Linux = true;
    OeffnenUndBeenden(linux, "linux-nach-wine");
    EXPECT_EQ(ReadFileBytes(pfad), vorher);

    ProgramUnderTest zurueck(display, windows);
    OeffnenUndBeenden(zurueck, "wine-nach-linux");
    EXPECT_EQ(ReadFileBytes(pfad), vorher);
    // A save that changed nothing adds no second backup of the same bytes.
    const auto backups = Backups(windows.Folder() + "/Noten/5ä/Backups");
    ASSERT_FALSE(backups.empty());
    for (const auto& b : backups) EXPECT_EQ(ReadFileBytes(b.string()), vorher);
}

// Switched on by this side's code (key file and sealed files), then opened
// and saved by the Windows program, the Linux program and Windows again:
// every save writes the class file sealed anew (a new nonce each time), and
// each opens to the very bytes of the gradebook, also its backups.
TEST_F(UnterWine, ASealedFolderWrittenOnWindowsOpensOnLinuxAndBackWithTheSameBytes) {
    const std::string passwort = "Kreide und Tafel 42";
    ProgramUnderTest windows(display);
    const std::string pfad = WriteClassFile(windows.Folder(), Klasse());
    const std::string klar = ReadFileBytes(pfad);
    AblageorteBinden();
    SetNewKeyLimits({1, 8192});
    std::array<unsigned char, kRecoveryBytes> code{};
    ASSERT_TRUE(PrepareNewKey(code));
    ASSERT_EQ(WriteNewKeyFile(TextFromUtf8(windows.Folder() + "/.Kladdorix-Schluessel"), TextFromUtf8(passwort), code),
              KeyResult::Ok);
    ASSERT_EQ(ConvertDataFile(TextFromUtf8(pfad), true), ConvertResult::Converted);
    SetNewKeyLimits({});
    const auto oeffnet = [&](const std::string& datei) {
        std::string offen;
        return OpenSealedBytes(ReadFileBytes(datei), offen, PlaceOfFile(TextFromUtf8(datei))) && offen == klar;
    };
    ASSERT_TRUE(oeffnet(pfad));

    std::string versiegelt = ReadFileBytes(pfad);
    for (const bool linux : {false, true, false}) {
        ProgramUnderTest p(display, windows);
        p.Linux = linux;
        const std::string name = linux ? "linux-versiegelt" : "wine-versiegelt";
        OeffnenUndBeenden(p, name, passwort);
        const std::string jetzt = ReadFileBytes(pfad);
        EXPECT_EQ(jetzt.substr(0, 4), "RKV2") << name;
        EXPECT_NE(jetzt, versiegelt) << name << ": the class file was not written sealed anew";
        EXPECT_TRUE(oeffnet(pfad)) << name << ": the sealed class file does not open to the same bytes";
        EXPECT_EQ(jetzt.find("Özdemir"), std::string::npos) << name;
        versiegelt = jetzt;
    }
    const auto backups = Backups(windows.Folder() + "/Noten/5ä/Backups");
    ASSERT_FALSE(backups.empty());
    for (const auto& b : backups) EXPECT_TRUE(oeffnet(b.string())) << b;
    SealingOff();
    SetPlaceRule(nullptr);
}
