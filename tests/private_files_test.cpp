// Private files: whatever the umask, everything the program creates is 0600
// (files) or 0700 (folders); nothing is written through a planted link; the
// lock file cannot be held by another account's file; and the guarded
// process has no core file and cannot be dumped.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <random>

#include "platform/file_bytes.hpp"
#include "platform/files.hpp"
#include "platform/private_files.hpp"
#include "platform/program_lock.hpp"
#include "platform/textstream.hpp"

namespace fs = std::filesystem;

namespace {
class PrivateFiles : public ::testing::Test {
protected:
    void SetUp() override {
        ordner_ = fs::temp_directory_path() /
                  ("rk-private-" + std::to_string(::getpid()) + "-" + std::to_string(std::random_device{}()));
        fs::create_directories(ordner_);
        alteMaske_ = ::umask(0);  // the widest a desktop could hand over
    }
    void TearDown() override {
        ::umask(alteMaske_);
        std::error_code ec;
        fs::remove_all(ordner_, ec);
    }
    Text P(const std::string& name) const { return TextFromUtf8((ordner_ / name).string()); }
    fs::path ordner_;
    mode_t alteMaske_ = 022;
};
}  // namespace

TEST_F(PrivateFiles, EverythingCreatedIsPrivateUnderUmask000) {
    std::ofstream(ordner_ / "quelle") << "Zappelmann";
    struct Fall {
        const char* was;
        std::function<bool()> anlegen;
        std::string pfad;
        int modus;
    };
    const std::vector<Fall> faelle = {
        {"WriteFileBytes", [&] { return WriteFileBytes(P("a.slk"), "x"); }, "a.slk", 0600},
        {"ReplaceFileBytes", [&] { return ReplaceFileBytes(P("b.slk"), "x", true); }, "b.slk", 0600},
        {"CopyFileTo", [&] { return CopyFileTo(P("quelle"), P("c.slk")); }, "c.slk", 0600},
        {"OpenForWriting", [&] { const TStream s = OpenForWriting(P("einst")); return s && WriteLine(s, u"x") && Close(s); },
         "einst", 0600},
        {"LockFileForRun", [&] { return LockFileForRun(P("sperre")) == LockResult::Held; }, "sperre", 0600},
        {"CreateFolder", [&] { return CreateFolder(P("Noten"), false); }, "Noten", 0700},
        {"CreateFolder recursive", [&] { return CreateFolder(P("x/y/z"), true); }, "x/y/z", 0700},
        {"CreateFolder recursive, parents", [] { return true; }, "x/y", 0700},
    };
    for (const Fall& f : faelle) {
        ASSERT_TRUE(f.anlegen()) << f.was;
        EXPECT_EQ(PermissionBits(P(f.pfad)) & 0777, f.modus) << f.was;
    }
    // A file that was there wider is narrowed when written again.
    fs::permissions(ordner_ / "a.slk", fs::perms::all);
    ASSERT_TRUE(WriteFileBytes(P("a.slk"), "y"));
    EXPECT_EQ(PermissionBits(P("a.slk")), 0600);
    ASSERT_TRUE(ReplaceFileBytes(P("b.slk"), "y", false));
    EXPECT_EQ(PermissionBits(P("b.slk")), 0600);
}

TEST_F(PrivateFiles, SwitchingOnNarrowsWhatExists) {
    fs::create_directories(ordner_ / "Noten/7a/Backups");
    std::ofstream(ordner_ / "Noten/7a/7a Mathe.slk") << "x";
    std::ofstream(ordner_ / "Noten/7a/Backups/alt.slk") << "x";
    fs::create_symlink("/etc/hostname", ordner_ / "Noten/7a/link");
    for (const char* p : {"Noten", "Noten/7a", "Noten/7a/Backups"}) fs::permissions(ordner_ / p, fs::perms::all);
    for (const char* p : {"Noten/7a/7a Mathe.slk", "Noten/7a/Backups/alt.slk"})
        fs::permissions(ordner_ / p, fs::perms(0666));
    const auto vorherZiel = fs::status("/etc/hostname").permissions();
    EXPECT_EQ(MakePrivateBelow(P("Noten")), 0);
    for (const char* p : {"Noten", "Noten/7a", "Noten/7a/Backups"}) EXPECT_EQ(PermissionBits(P(p)), 0700) << p;
    for (const char* p : {"Noten/7a/7a Mathe.slk", "Noten/7a/Backups/alt.slk"}) EXPECT_EQ(PermissionBits(P(p)), 0600) << p;
    EXPECT_EQ(fs::status("/etc/hostname").permissions(), vorherZiel);  // a link's target is not touched
}

TEST_F(PrivateFiles, NothingIsWrittenThroughAPlantedLink) {
    std::ofstream(ordner_ / "fremd") << "unberuehrt";
    fs::create_symlink(ordner_ / "fremd", ordner_ / "einst");
    fs::create_symlink(ordner_ / "fremd", ordner_ / "export.slk");
    fs::create_symlink(ordner_ / "fremd", ordner_ / "b.slk.neu");
    EXPECT_TRUE(IsSymbolicLink(P("einst")));
    EXPECT_FALSE(OpenForWriting(P("einst")));
    EXPECT_FALSE(WriteFileBytes(P("export.slk"), "Zappelmann"));
    // A link where the save's temporary file goes is removed, not written through.
    EXPECT_TRUE(ReplaceFileBytes(P("b.slk"), "Zappelmann", false));
    std::ifstream in(ordner_ / "fremd");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "unberuehrt");
    // The lock file: a link under its name is replaced by a private file of our own.
    fs::create_symlink(ordner_ / "fremd", ordner_ / "sperre2");
    EXPECT_EQ(LockFileForRun(P("sperre2")), LockResult::Held);
    EXPECT_FALSE(IsSymbolicLink(P("sperre2")));
    EXPECT_EQ(PermissionBits(P("sperre2")), 0600);
}

TEST(GuardedProcess, HasNoCoreFileAndCannotBeDumped) {
    const pid_t kind = ::fork();
    ASSERT_GE(kind, 0);
    if (kind == 0) {
        GuardProcess();
        ::_exit(ProcessGuarded() ? 0 : 1);
    }
    int status = -1;
    ASSERT_EQ(::waitpid(kind, &status, 0), kind);
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(WEXITSTATUS(status), 0);
    EXPECT_FALSE(ProcessGuarded());  // the test process itself is left as it was
}

// Two programs on two program folders: a start empties the private folders
// of its own folder (and the one earlier versions shared), never those of
// the other program, below $XDG_RUNTIME_DIR and in /tmp alike.
TEST_F(PrivateFiles, AStartEmptiesOnlyThePrivateFoldersOfItsOwnProgramFolder) {
    const fs::path laufzeit = ordner_ / "laufzeit";
    for (const char* d : {"a", "b", "laufzeit"}) fs::create_directories(ordner_ / d);
    const fs::path vorher = fs::current_path();
    const char* alteLaufzeit = std::getenv("XDG_RUNTIME_DIR");
    const std::string alt = alteLaufzeit ? alteLaufzeit : "";
    setenv("XDG_RUNTIME_DIR", laufzeit.c_str(), 1);
    std::string name[2];
    for (int i = 0; i < 2; ++i) {
        fs::current_path(ordner_ / (i == 0 ? "a" : "b"));
        name[i] = Utf8FromText(PrivateFolderName(u"rido-kladdorix"));
        EXPECT_EQ(name[i].rfind("rido-kladdorix-", 0), 0u) << name[i];
    }
    EXPECT_NE(name[0], name[1]);
    const std::string tmpEnde = "-t" + std::to_string(::getpid());
    const std::vector<fs::path> vonA{laufzeit / name[0], "/tmp/" + name[0] + tmpEnde};
    const std::vector<fs::path> vonB{laufzeit / name[1], "/tmp/" + name[1] + tmpEnde, laufzeit / "rido-kladdorix"};
    for (const auto* orte : {&vonA, &vonB})
        for (const fs::path& o : *orte) {
            fs::create_directories(o);
            std::ofstream(o / "7a Mathe (exportiert).slk") << "Zappelmann";
        }
    // Program B starts (its working folder is its program folder).
    EmptyPrivateFolders(u"rido-kladdorix");
    for (const fs::path& o : vonA) EXPECT_TRUE(fs::exists(o / "7a Mathe (exportiert).slk")) << o;
    for (const fs::path& o : vonB) EXPECT_FALSE(fs::exists(o / "7a Mathe (exportiert).slk")) << o;
    fs::current_path(vorher);
    if (alteLaufzeit) setenv("XDG_RUNTIME_DIR", alt.c_str(), 1);
    else unsetenv("XDG_RUNTIME_DIR");
    for (const auto* orte : {&vonA, &vonB}) fs::remove_all((*orte)[1]);
}
