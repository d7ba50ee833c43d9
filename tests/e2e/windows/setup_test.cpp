// The setup under wine, as a school administrator runs it (/S): the program
// in %USERPROFILE%\Rido-Kladdorix with its start menu entry, desktop shortcut
// and "Apps & Features" entry; the program started through its shortcut, the
// first class saved; a second setup over it; the uninstaller. "Noten", the
// settings and the key file stay byte for byte through both.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>

#include "gradebook_files.hpp"
#include "teacher_steps.hpp"
#include "wine_session.hpp"

namespace fs = std::filesystem;
using namespace steps;

namespace {
const char* kSchluessel = "HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Rido-Kladdorix";

class WindowsSetup : public ::testing::Test {
protected:
    void SetUp() override {
        wine::UseRunPrefix();
        ASSERT_TRUE(display.Ok());
        ziel = wine::UserFolder() + "/Rido-Kladdorix";
        startmenue = wine::UserFolder() + "/AppData/Roaming/Microsoft/Windows/Start Menu/Programs/Rido Kladdorix.lnk";
        desktop = wine::UserFolder() + "/Desktop/Rido Kladdorix.lnk";
    }
    // Runs the setup silently and returns how long it took in milliseconds.
    long long Einrichten() {
        const auto beginn = std::chrono::steady_clock::now();
        EXPECT_EQ(wine::Wine({RK_WINDOWS_SETUP, "/S"}), 0);
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - beginn).count();
        std::printf("Rido-Kladdorix-Setup.exe /S: %lld ms\n", static_cast<long long>(ms));
        return ms;
    }
    // The teacher's files: everything below "Noten", the settings, the key file.
    std::map<std::string, std::string> Daten() {
        std::map<std::string, std::string> d;
        for (const auto& [rel, bytes] : FilesBelow(ziel + "/Noten")) d["Noten/" + rel] = bytes;
        for (const char* f : {".Kladdorix-Einstellungen", ".Kladdorix-Schluessel"})
            if (fs::exists(ziel + "/" + f)) d[f] = ReadFileBytes(ziel + "/" + f);
        return d;
    }
    bool Eingetragen() { return wine::Wine({"reg", "query", kSchluessel}) == 0; }

    VirtualDisplay display{1920, 1080};
    std::string ziel, startmenue, desktop;
};
}  // namespace

TEST_F(WindowsSetup, SilentSetupShortcutStartSecondSetupAndUninstallKeepNotenByteForByte) {
    fs::remove_all(ziel);
    Einrichten();
    for (const auto& e : fs::directory_iterator(RK_WINDOWS_PACKED_DIR))
        EXPECT_EQ(ReadFileBytes(ziel + "/" + e.path().filename().string()), ReadFileBytes(e.path().string()))
            << e.path().filename();
    EXPECT_TRUE(fs::exists(ziel + "/Deinstallieren.exe"));
    EXPECT_TRUE(fs::exists(ziel + "/Liesmich.txt"));
    EXPECT_TRUE(fs::exists(ziel + "/Lizenzen/SDL2.txt"));
    ASSERT_TRUE(fs::exists(startmenue));
    ASSERT_TRUE(fs::exists(desktop));
    // Both shortcuts point at the installed program (its path is in the link).
    const std::string programm = wine::UserFolderWindows() + "\\Rido-Kladdorix\\Rido-Kladdorix.exe";
    for (const std::string& link : {startmenue, desktop})
        EXPECT_NE(ReadFileBytes(link).find(programm), std::string::npos) << link << " does not point at " << programm;
    std::string eintrag;
    ASSERT_EQ(wine::Wine({"reg", "query", kSchluessel}, &eintrag), 0) << "no entry in Apps & Features";
    EXPECT_NE(eintrag.find("Deinstallieren.exe"), std::string::npos) << eintrag;
    EXPECT_NE(eintrag.find("DisplayName    REG_SZ    Rido Kladdorix"), std::string::npos) << eintrag;

    {  // The start menu entry, as a click on it starts the program (through the shell, not as our child).
        wine::WindowsProgram w(display, ziel);
        ProgramUnderTest& p = w.p();
        ASSERT_EQ(wine::Wine({"start", "/unix", startmenue}), 0);
        const std::string fenster = WaitForWindowNamed(p, "^Rido Kladdorix$", 60000);
        ASSERT_FALSE(fenster.empty()) << "no window from the shortcut";
        p.UseWindow(std::stoul(fenster));
        ASSERT_TRUE(p.WaitForPixel(960, 1070, kHintergrund, 30000));
        SleepMs(1000);
        const Screenshot s = p.Shoot();
        p.Save(s, "windows-start-aus-dem-startmenue");
        EXPECT_GT(HintPixels(s), 500);
        MainMenu(p, 1);
        TypeAndEnter(p, "5c");
        TypeAndEnter(p, "Biologie");
        ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel, 15000));
        p.Key("Escape");
        bool zu = false;
        for (int i = 0; i < 150 && !zu; ++i) {
            zu = p.Xdo({"search", "--onlyvisible", "--name", "^Rido Kladdorix$"}).empty();
            if (!zu) SleepMs(100);
        }
        EXPECT_TRUE(zu) << "Escape did not end the program";
        wine::WaitForAllPrograms();
    }
    ASSERT_TRUE(fs::exists(ziel + "/Noten/5c/5c Biologie.slk"));
    // A settings file and a key file of the teacher's (their content does not matter here).
    WriteFileBytes(ziel + "/.Kladdorix-Einstellungen", "E:\\Notensicherung\r\nC:\\users\\\r\nG8-Gymnasium\r\n");
    WriteFileBytes(ziel + "/.Kladdorix-Schluessel", std::string("RKS1\0\x01\xFFSchluessel", 16));
    WriteFileBytes(ziel + "/Noten/5c/Bilder/Adler Eva.png", "\x89PNG\r\n\x1a\nkein Bild");
    const auto vorher = Daten();
    ASSERT_EQ(vorher.size(), 5u);

    Einrichten();  // the next version over this one
    EXPECT_EQ(Daten(), vorher) << "the second setup changed the teacher's files";
    EXPECT_TRUE(fs::exists(ziel + "/Rido-Kladdorix.exe"));
    EXPECT_TRUE(Eingetragen());

    // The uninstaller copies itself away and returns at once: wait for its end.
    EXPECT_EQ(wine::Wine({wine::WindowsPath(ziel + "/Deinstallieren.exe"), "/S"}), 0);
    for (int i = 0; i < 300 && fs::exists(ziel + "/Deinstallieren.exe"); ++i) SleepMs(100);
    wine::WaitForAllPrograms();
    EXPECT_EQ(Daten(), vorher) << "the uninstaller changed the teacher's files";
    EXPECT_FALSE(fs::exists(ziel + "/Rido-Kladdorix.exe"));
    EXPECT_FALSE(fs::exists(ziel + "/Deinstallieren.exe"));
    EXPECT_FALSE(fs::exists(ziel + "/Lizenzen"));
    EXPECT_FALSE(fs::exists(ziel + "/Liesmich.txt"));
    EXPECT_FALSE(fs::exists(startmenue));
    EXPECT_FALSE(fs::exists(desktop));
    EXPECT_FALSE(Eingetragen());
    std::vector<std::string> rest;
    for (const auto& e : fs::directory_iterator(ziel)) rest.push_back(e.path().filename().string());
    std::sort(rest.begin(), rest.end());
    EXPECT_EQ(rest, (std::vector<std::string>{".Kladdorix-Einstellungen", ".Kladdorix-Schluessel", "Noten"}));
}
