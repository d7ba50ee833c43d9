// Drive letters under wine: the external backup folder on a USB stick that
// Windows reports as removable, written while the stick is in and skipped
// without a word while it is out; and the portable program, unpacked from the
// zip onto a stick, used at home as E: and at school as F:, where it opens
// and saves the class beside itself.
#include <gtest/gtest.h>

#include <filesystem>

#include "gradebook_files.hpp"
#include "teacher_steps.hpp"
#include "wine_session.hpp"

namespace fs = std::filesystem;
using namespace steps;

namespace {
class WindowsLaufwerke : public ::testing::Test {
protected:
    void SetUp() override {
        wine::UseRunPrefix();
        ASSERT_TRUE(display.Ok());
    }
    void TearDown() override {
        wine::UnplugStick('e');
        wine::UnplugStick('f');
    }
    VirtualDisplay display{1920, 1080};
};

TestGradebook Bio6c(const std::string& adler, const std::string& bauer) {
    TestGradebook g{"6c", "Biologie", {{"Test", "03.11.26"}}, {}};
    g.schueler.push_back({"Adler", "Eva", {adler}, "", "", ""});
    g.schueler.push_back({"Bauer", "Jörg", {bauer}, "", "", ""});
    return g;
}

size_t FilesIn(const std::string& folder) {
    size_t n = 0;
    std::error_code ec;
    for (const auto& e : fs::directory_iterator(folder, ec)) n += e.is_regular_file();
    return n;
}
}  // namespace

TEST_F(WindowsLaufwerke, BackupFolderOnARemovableStickWrittenWhileInSkippedSilentlyWhileOut) {
    const std::string stick = std::string(RK_WINE_RUN) + "/stick-backup";
    fs::remove_all(stick);
    fs::create_directories(stick + "/Notensicherung");
    wine::PlugStick('e', stick);
    const std::string ordner = wine::FreshProgramFolder("Rido Kladdorix Sicherung");
    const std::string pfad = WriteClassFile(ordner, Bio6c("", ""));
    WriteFileBytes(ordner + "/.Kladdorix-Einstellungen", "E:\\Notensicherung\r\n" + wine::UserFolderWindows() + "\\\r\n");
    const std::string spiegel = stick + "/Notensicherung/Noten/6c";

    {  // The stick is in: the save is mirrored onto it.
        wine::WindowsProgram w(display, ordner);
        ASSERT_TRUE(w.StartToCatalogue());
        ASSERT_TRUE(OpenOnlyClass(w.p()));
        GradeByMouse(w.p(), 1, 1, 4);  // Adler: "2"
        ASSERT_TRUE(w.EscapeEnds());
    }
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(Bio6c("2", "")));
    EXPECT_EQ(ReadFileBytes(spiegel + "/6c Biologie.slk"), ReadFileBytes(pfad));
    EXPECT_EQ(FilesIn(spiegel + "/Backups"), 1u);

    // The stick is out: the save stays at home and nothing is said.
    wine::UnplugStick('e');
    {
        wine::WindowsProgram w(display, ordner);
        ProgramUnderTest& p = w.p();
        ASSERT_TRUE(w.StartToCatalogue());
        ASSERT_TRUE(OpenOnlyClass(p));
        GradeByMouse(p, 2, 1, 10);  // Bauer: "4"
        ClassCommand(p, 0);  // "Zur Klassenübersicht": saves
        ASSERT_TRUE(p.WaitForPixel(848, 663 + 111, kKachel, 15000)) << "not back in the catalogue";
        SleepMs(800);
        const Screenshot s = p.Shoot();
        p.Save(s, "windows-ohne-stick-gespeichert");
        int x, y;
        EXPECT_FALSE(BoxButton(s, 0, x, y)) << "a box after saving without the stick";
        ASSERT_TRUE(w.EscapeEnds());
    }
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(Bio6c("2", "4")));
    EXPECT_EQ(FilesIn(ordner + "/Noten/6c/Backups"), 2u);
    EXPECT_EQ(ReadFileBytes(spiegel + "/6c Biologie.slk"), ClassFileBytes(Bio6c("2", "")));
    EXPECT_EQ(FilesIn(spiegel + "/Backups"), 1u);
}

TEST_F(WindowsLaufwerke, PortableZipOnAStickFromEToFOpensAndSavesWhereTheProgramLies) {
    const std::string stick = std::string(RK_WINE_RUN) + "/stick-portabel";
    fs::remove_all(stick);
    fs::create_directories(stick);
    ASSERT_EQ(RunCommand({"unzip", "-q", RK_WINDOWS_ZIP, "-d", stick}), 0);
    const std::string ordner = stick + "/Rido-Kladdorix";
    ASSERT_TRUE(fs::exists(ordner + "/Rido-Kladdorix.exe"));
    ASSERT_TRUE(fs::exists(ordner + "/Liesmich.txt"));
    WriteClassFile(ordner, Bio6c("", ""));

    wine::PlugStick('e', stick);  // at home
    {
        wine::WindowsProgram w(display, ordner);
        ASSERT_EQ(wine::WindowsPath(ordner + "/Rido-Kladdorix.exe"), "E:\\Rido-Kladdorix\\Rido-Kladdorix.exe");
        ASSERT_TRUE(w.StartToCatalogue());
        ASSERT_TRUE(OpenOnlyClass(w.p()));
        GradeByMouse(w.p(), 1, 1, 0);  // Adler: "1+"
        ASSERT_TRUE(w.EscapeEnds());
    }
    wine::UnplugStick('e');
    wine::PlugStick('f', stick);  // at school
    {
        wine::WindowsProgram w(display, ordner);
        ProgramUnderTest& p = w.p();
        ASSERT_EQ(wine::WindowsPath(ordner + "/Rido-Kladdorix.exe"), "F:\\Rido-Kladdorix\\Rido-Kladdorix.exe");
        ASSERT_TRUE(w.StartToCatalogue());
        ASSERT_TRUE(OpenOnlyClass(p));
        p.Save(p.Shoot(), "windows-stick-auf-f");
        GradeByMouse(p, 2, 1, 10);  // Bauer: "4"
        ASSERT_TRUE(w.EscapeEnds());
    }
    EXPECT_EQ(ReadFileBytes(ordner + "/Noten/6c/6c Biologie.slk"), ClassFileBytes(Bio6c("1+", "4")));
    EXPECT_EQ(FilesIn(ordner + "/Noten/6c/Backups"), 2u);
    EXPECT_FALSE(fs::exists(wine::UserFolder() + "/Noten")) << "written into the user folder";
    EXPECT_FALSE(fs::exists(wine::Prefix() + "/drive_c/Noten")) << "written onto C:";
}
