// What keeps files whole beyond one save: the run-long lock of the program
// folder, the file-size signal that must fail a save instead of ending the
// program, and the safe replacement that refuses anything but a plain file.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <random>

#include "gradebook/class_file.hpp"
#include "gradebook_fixture.hpp"
#include "platform/conversions.hpp"
#include "platform/file_bytes.hpp"
#include "platform/process.hpp"
#include "platform/program_lock.hpp"
#include "platform/system_services.hpp"

namespace fs = std::filesystem;

using DurableFiles = GradebookTest;

TEST_F(DurableFiles, TheLockRefusesASecondHolderUntilTheFirstProcessIsKilled) {
    const Text sperre = TextFromUtf8((ordner_ / ".Kladdorix-Sperre").string());
    int bereit[2];
    ASSERT_EQ(::pipe(bereit), 0);
    const pid_t erster = ::fork();
    ASSERT_GE(erster, 0);
    if (erster == 0) {
        const char ok = LockFileForRun(sperre) == LockResult::Held ? '1' : '0';
        (void)!::write(bereit[1], &ok, 1);
        for (;;) ::pause();
    }
    char ok = 0;
    ASSERT_EQ(::read(bereit[0], &ok, 1), 1);
    ::close(bereit[0]);
    ::close(bereit[1]);
    ASSERT_EQ(ok, '1');
    EXPECT_EQ(LockFileForRun(sperre), LockResult::HeldByOther);
    EXPECT_EQ(LockFileForRun(sperre), LockResult::HeldByOther) << "a refusal holds nothing";

    ::kill(erster, SIGKILL);
    int status = 0;
    ASSERT_EQ(::waitpid(erster, &status, 0), erster);
    // The system freed the lock of the killed process; the file stayed.
    EXPECT_EQ(LockFileForRun(sperre), LockResult::Held);
    EXPECT_EQ(LockFileForRun(sperre), LockResult::Held) << "the holder asking again";
    EXPECT_TRUE(fs::exists(Utf8FromText(sperre)));
    EXPECT_EQ(fs::file_size(Utf8FromText(sperre)), 0u);
    EXPECT_EQ(LockFileForRun(u"/no/such/folder/.Kladdorix-Sperre"), LockResult::Unavailable);
}

TEST_F(DurableFiles, AFileSizeLimitFailsTheSaveAndKeepsTheOldFile) {
    auto klasse = TSchulklasse::bauen({u"8b", u"Englisch"}, 0);
    Spalte(*klasse, u"Arbeit", u"01.10.15");
    ASSERT_TRUE(klasse->speichern(u""));
    const std::string alt = Lesen("Noten/8b/8b Englisch.slk");
    for (int n = 0; n < 60; ++n) Schueler(*klasse, u"Name" + TextFromInt(n), u"Vorname", {u"2-"});
    ASSERT_GT(KlassendateiBytes(*klasse).size(), alt.size() + 1000);

    // In a child under a limit just above the old file: the save of the larger
    // class fails and is reported; without ignoring the signal it kills.
    auto kind = [&](bool ignorieren) {
        const pid_t pid = ::fork();
        if (pid == 0) {
            rlimit grenze{alt.size() + 200, alt.size() + 200};
            ::setrlimit(RLIMIT_FSIZE, &grenze);
            if (ignorieren) IgnoreFileSizeLimitSignal();
            ::_exit(klasse->speichern(u"") ? 1 : 0);
        }
        int status = 0;
        ::waitpid(pid, &status, 0);
        return status;
    };
    const int mitSignal = kind(false);
    EXPECT_TRUE(WIFSIGNALED(mitSignal) && WTERMSIG(mitSignal) == SIGXFSZ) << "the limit was not reached";
    const int ohneSignal = kind(true);
    ASSERT_TRUE(WIFEXITED(ohneSignal));
    EXPECT_EQ(WEXITSTATUS(ohneSignal), 0) << "the save reported success";
    EXPECT_EQ(Lesen("Noten/8b/8b Englisch.slk"), alt);
    EXPECT_FALSE(fs::exists("Noten/8b/8b Englisch.slk.neu"));
}

TEST_F(DurableFiles, ProgramsStartedFromHereGetTheFileSizeSignalBack) {
    IgnoreFileSizeLimitSignal();
    std::string status;
    ASSERT_EQ(RunAndCapture({u"grep", u"^SigIgn:", u"/proc/self/status"}, status), 0);
    ::signal(SIGXFSZ, SIG_DFL);
    // SigIgn is a hexadecimal mask; SIGXFSZ (25) is bit 24.
    const unsigned long long maske = std::stoull(status.substr(status.find(':') + 1), nullptr, 16);
    EXPECT_EQ(maske & (1ull << (SIGXFSZ - 1)), 0ull) << status;
}

TEST_F(DurableFiles, SafeReplacementRefusesWhatIsNoPlainFileAndLeavesNothingBeside) {
    fs::create_directory("Ordner");
    EXPECT_FALSE(ReplaceFileBytes(u"Ordner", "x", true));
    EXPECT_TRUE(fs::is_directory("Ordner"));
    EXPECT_FALSE(ReplaceFileBytes(u"fehlt/datei.slk", "x", true));
    EXPECT_FALSE(fs::exists("Ordner.neu"));
    Schreiben("./datei.slk", "alt");
    EXPECT_TRUE(ReplaceFileBytes(u"datei.slk", "neu", true));
    EXPECT_EQ(Lesen("datei.slk"), "neu");
    EXPECT_EQ(Dateien("."), (std::vector<std::string>{"Noten", "Ordner", "datei.slk"}));
}
