// The Windows side of processes, the program lock, drives and the search for
// the spreadsheet program, run under wine.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "gradebook/data_folders.hpp"
#include "platform/drives.hpp"
#include "platform/file_bytes.hpp"
#include "platform/files.hpp"
#include "platform/office.hpp"
#include "platform/paths.hpp"
#include "platform/process.hpp"
#include "platform/program_folder.hpp"
#include "platform/program_lock.hpp"
#include "platform/system_services.hpp"
#include "platform/windows/process.hpp"

namespace fs = std::filesystem;

namespace {
Text TestProgram() { return ExecutableFolder() + u"/rk_unit_tests.exe"; }
}  // namespace

TEST(WindowsProcess, CommandLinesBringEveryArgumentBackAsGiven) {
    struct Fall {
        const char16_t* argument;
        const wchar_t* zeile;
    } faelle[] = {
        {u"7a Mathe.slk", L"\"7a Mathe.slk\""},
        {u"", L"\"\""},
        {u"C:\\Noten\\", L"\"C:\\Noten\\\\\""},
        {u"sagt \"gut\"", L"\"sagt \\\"gut\\\"\""},
        {u"a\\\"b", L"\"a\\\\\\\"b\""},
        {u"Größe", L"\"Größe\""},
    };
    for (const Fall& f : faelle) EXPECT_EQ(QuotedArgument(f.argument), std::wstring(f.zeile));
    EXPECT_EQ(CommandLine({u"C:\\Program Files\\x.exe", u"a b"}), L"\"C:\\Program Files\\x.exe\" \"a b\"");
}

// Run by the process tests in a second process.
TEST(WindowsProcessChild, DISABLED_EndsWithSeven) { std::exit(7); }
TEST(WindowsProcessChild, DISABLED_WritesItsArgumentsBack) {
    const auto argumente = ::testing::internal::GetArgvs();
    for (size_t i = 3; i < argumente.size(); ++i) std::printf("[%s]", argumente[i].c_str());
    std::fflush(stdout);
    std::exit(0);
}

TEST(WindowsProcess, WaitsForTheChildAndReportsItsExitCode) {
    const Text filter = u"--gtest_filter=WindowsProcessChild.DISABLED_";
    EXPECT_EQ(RunAndWait({TestProgram(), u"--gtest_also_run_disabled_tests", filter + u"EndsWithSeven"}), 7);
    EXPECT_EQ(RunAndWait({TestProgram(), u"--gtest_filter=KeinTest.Gibt_es_nicht"}), 0);
    EXPECT_EQ(RunAndWait({u"C:\\gibt-es-nicht\\nirgends.exe"}), ENOENT);
    EXPECT_EQ(RunAndWait({}), EINVAL);
    std::string ausgabe;
    // Blanks, quotes and a trailing backslash arrive as they were given.
    EXPECT_EQ(RunAndCapture({TestProgram(), u"--gtest_also_run_disabled_tests", filter + u"WritesItsArgumentsBack",
                             u"Zeugnis", u"\"7a\" Mathe", u"C:\\Noten\\", u""},
                            ausgabe),
              0);
    EXPECT_NE(ausgabe.find("[Zeugnis][\"7a\" Mathe][C:\\Noten\\][]"), std::string::npos) << ausgabe;
}

// Run by the lock test in a second process: it must find the lock taken.
TEST(WindowsLockChild, DISABLED_FindsTheLockHeld) {
    const char* pfad = std::getenv("RK_TEST_LOCK_FILE");
    ASSERT_NE(pfad, nullptr);
    EXPECT_EQ(LockFileForRun(TextFromUtf8(pfad)), LockResult::HeldByOther);
}

TEST(WindowsLock, ASecondProgramOnTheSameFolderIsRefused) {
    const fs::path ordner = fs::temp_directory_path() / ("rk-lock-ä-" + std::to_string(std::random_device{}()));
    fs::create_directories(ordner);
    const Text datei = NormalisePath(Text(ordner.u16string())) + u"/.Kladdorix-Sperre";
    ASSERT_EQ(LockFileForRun(datei), LockResult::Held);
    EXPECT_EQ(LockFileForRun(datei), LockResult::Held);
    ASSERT_EQ(_putenv_s("RK_TEST_LOCK_FILE", Utf8FromText(datei).c_str()), 0);
    EXPECT_EQ(RunAndWait({TestProgram(), u"--gtest_also_run_disabled_tests",
                          u"--gtest_filter=WindowsLockChild.DISABLED_FindsTheLockHeld"}),
              0);
    EXPECT_EQ(LockFileForRun(u"Z:\\gibt-es-nicht\\ordner\\sperre"), LockResult::Unavailable);
}

TEST(WindowsDrives, TheSystemDriveIsAFixedDriveOfTheList) {
    bool c = false;
    for (const auto& [wurzel, typ] : LogicalDrives()) {
        EXPECT_EQ(wurzel.size(), 3u);
        EXPECT_EQ(wurzel.substr(1), u":\\");
        if (wurzel == u"C:\\") c = typ == kDriveFixed;
    }
    EXPECT_TRUE(c);
    const auto liste = Laufwerksliste();
    EXPECT_NE(std::find(liste.begin(), liste.end(), u"C:\\"), liste.end());
    EXPECT_TRUE(std::is_sorted(liste.rbegin(), liste.rend()));
    EXPECT_TRUE(DriveOfPathPresent(u"C:\\windows"));
}

// A drive made removable in wine's registry (scripts set RK_TEST_REMOVABLE_DRIVE,
// e.g. "E:", and RK_TEST_ABSENT_DRIVE for a letter with no drive).
TEST(WindowsDrives, AStickIsRemovableAndItsBackupFolderUsedOnlyWhenPresent) {
    const char* stick = std::getenv("RK_TEST_REMOVABLE_DRIVE");
    if (!stick) GTEST_SKIP() << "no removable drive set up (RK_TEST_REMOVABLE_DRIVE)";
    const Text wurzel = TextFromUtf8(stick) + u"\\";
    bool gefunden = false;
    for (const auto& [w, typ] : LogicalDrives())
        if (w == wurzel) gefunden = typ == kDriveRemovable;
    EXPECT_TRUE(gefunden);
    const Text sicherung = TextFromUtf8(stick) + u"\\Notensicherung";
    ASSERT_TRUE(CreateFolder(sicherung, false));
    EXPECT_TRUE(BackupOrdnerErreichbar(sicherung));
    EXPECT_FALSE(BackupOrdnerErreichbar(u"Q:\\Notensicherung"));
}

TEST(WindowsOffice, LibreOfficeBeforeOpenOfficeFromTheLastEntryOn) {
    const Text laufwerk = EnvironmentVariable(u"windir").substr(0, 3);
    ASSERT_EQ(laufwerk.size(), 3u);
    Text programme = laufwerk + u"Program Files (x86)";
    if (PathKind(programme) != 2) programme = laufwerk + u"Program Files";
    const Text vorher = FindSpreadsheetProgram();
    auto installiere = [&](const Text& name) {
        const Text ordner = programme + u"\\" + name + u"\\program";
        if (!CreateFolder(ordner, true) || !WriteFileBytes(ordner + u"\\scalc.exe", "MZ")) return false;
        return true;
    };
    auto entferne = [&](const Text& name) { fs::remove_all(fs::path(std::u16string(programme + u"\\" + name))); };
    if (!installiere(u"OpenOffice.org 3")) GTEST_SKIP() << "the program folder takes no test installation";
    EXPECT_EQ(FindSpreadsheetProgram(), programme + u"\\OpenOffice.org 3\\program\\scalc.exe");
    ASSERT_TRUE(installiere(u"LibreOffice 6"));
    ASSERT_TRUE(installiere(u"LibreOffice 7"));
    // An installation folder without the spreadsheet program is passed over.
    ASSERT_TRUE(CreateFolder(programme + u"\\LibreOffice 9", false));
    EXPECT_EQ(FindSpreadsheetProgram(), programme + u"\\LibreOffice 7\\program\\scalc.exe");
    for (const Text n : {u"OpenOffice.org 3", u"LibreOffice 6", u"LibreOffice 7", u"LibreOffice 9"}) entferne(n);
    EXPECT_EQ(FindSpreadsheetProgram(), vorher);
}
