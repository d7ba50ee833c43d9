// File and folder requesters: the argument vectors for zenity and kdialog, the
// search on PATH, and full runs against stand-in requester programs.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <string>
#include <vector>
#include "platform/headless_backend.hpp"
#include "platform/process.hpp"
#include "platform/requesters.hpp"

namespace {

using Args = std::vector<Text>;

TEST(FileFilter, GroupsAndPatterns) {
    struct Case { const char* filter; std::vector<FileFilterGroup> groups; };
    const Case cases[] = {
        {"Bilddateien:png,jpg,bmp", {{u"Bilddateien", {u"*.png", u"*.PNG", u"*.jpg", u"*.JPG", u"*.bmp", u"*.BMP"}}}},
        {"Textdatei:txt", {{u"Textdatei", {u"*.txt", u"*.TXT"}}}},
        {"sylk-Tabelle:slk;Textdatei:txt", {{u"sylk-Tabelle", {u"*.slk", u"*.SLK"}}, {u"Textdatei", {u"*.txt", u"*.TXT"}}}},
        {" Bilder : png , .jpg ,*.gif", {{u"Bilder", {u"*.png", u"*.PNG", u"*.jpg", u"*.JPG", u"*.gif", u"*.GIF"}}}},
        {"Alle Dateien:*", {{u"Alle Dateien", {u"*"}}}},
        {"Zahlen:7z", {{u"Zahlen", {u"*.7z", u"*.7Z"}}}},
        {"a|b:png", {{u"a/b", {u"*.png", u"*.PNG"}}}},
        {"png", {{u"png", {u"*.png", u"*.PNG"}}}},
        {"Leer:;:;", {}},
        {"", {}},
    };
    for (const Case& c : cases) EXPECT_EQ(ParseFileFilter(TextFromUtf8(c.filter)), c.groups) << c.filter;
}

TEST(RequesterArguments, Zenity) {
    struct Case { const char* name; Args args, expected; };
    const Text title = u"Wählen Sie das erste Schülerbild der Klasse 7b \"Deutsch\"; rm -rf x";
    const Case cases[] = {
        {"open with filter", ZenityFileArgs(title, u"Bilddateien:png,jpg", 0, u"/home/lehrer/Fotos/"),
         {u"zenity", u"--file-selection", u"--title=" + title, u"--filename=/home/lehrer/Fotos/",
          u"--file-filter=Bilddateien | *.png *.PNG *.jpg *.JPG"}},
        {"save, two groups", ZenityFileArgs(u"Export", u"sylk-Tabelle:slk;Textdatei:txt", 1, u"C:\\Noten\\7b.slk"),
         {u"zenity", u"--file-selection", u"--title=Export", u"--save", u"--filename=C:/Noten/7b.slk",
          u"--file-filter=sylk-Tabelle | *.slk *.SLK", u"--file-filter=Textdatei | *.txt *.TXT"}},
        {"no start, no filter", ZenityFileArgs(u"T", u"", 0, u""), {u"zenity", u"--file-selection", u"--title=T"}},
        {"folder", ZenityDirArgs(u"Backup-Ordner", u"/media/stick"),
         {u"zenity", u"--file-selection", u"--directory", u"--title=Backup-Ordner", u"--filename=/media/stick/"}},
        {"folder with slash", ZenityDirArgs(u"B", u"/home/"),
         {u"zenity", u"--file-selection", u"--directory", u"--title=B", u"--filename=/home/"}},
        {"folder without start", ZenityDirArgs(u"B", u""), {u"zenity", u"--file-selection", u"--directory", u"--title=B"}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.args, c.expected) << c.name;
}

TEST(RequesterArguments, Kdialog) {
    struct Case { const char* name; Args args, expected; };
    const Case cases[] = {
        {"open with filter", KdialogFileArgs(u"Namen", u"Textdatei:txt", 0, u"/home/lehrer/"),
         {u"kdialog", u"--title", u"Namen", u"--getopenfilename", u"/home/lehrer/", u"*.txt *.TXT|Textdatei"}},
        {"save, two groups", KdialogFileArgs(u"E", u"A:slk;B:txt", 1, u"/x/7b.slk"),
         {u"kdialog", u"--title", u"E", u"--getsavefilename", u"/x/7b.slk", u"*.slk *.SLK|A\n*.txt *.TXT|B"}},
        {"start looks like an option", KdialogFileArgs(u"T", u"", 0, u"-rf"),
         {u"kdialog", u"--title", u"T", u"--getopenfilename", u"./-rf"}},
        {"no start", KdialogFileArgs(u"T", u"", 0, u""), {u"kdialog", u"--title", u"T", u"--getopenfilename", u"."}},
        {"folder", KdialogDirArgs(u"Backup-Ordner", u"D:\\Backup"),
         {u"kdialog", u"--title", u"Backup-Ordner", u"--getexistingdirectory", u"D:/Backup"}},
    };
    for (const Case& c : cases) EXPECT_EQ(c.args, c.expected) << c.name;
}

TEST(FindProgramInPath, SearchesFoldersInOrder) {
    const std::string plainFile = ::testing::TempDir() + "rk-find-plain-file";
    std::ofstream(plainFile) << "#!/bin/sh\n";  // created without execute rights
    struct Case { const char* name; Text program, pathList, found; };
    const Case cases[] = {
        {"not executable", u"rk-find-plain-file", TextFromUtf8(::testing::TempDir()), u""},
        {"second folder", u"sh", u"/rk-no-such-folder:/bin", u"/bin/sh"},
        {"trailing slash", u"sh", u"/bin/", u"/bin/sh"},
        {"missing", u"rk-no-such-program-4711", u"/bin:/usr/bin", u""},
        {"a folder is no program", u"bin", u"/usr:/", u""},
        {"names with a slash are not searched", u"bin/sh", u"/", u""},
        {"empty list", u"sh", u"", u""},
    };
    for (const Case& c : cases) EXPECT_EQ(FindProgramInPath(c.program, c.pathList), c.found) << c.name;
    std::remove(plainFile.c_str());
}

// Runs the requesters against a stand-in "zenity" script in a folder of its
// own, which becomes the only entry of PATH.
class RequesterRun : public ::testing::Test {
protected:
    void SetUp() override {
        folder = ::testing::TempDir() + "rk_requesters_" + std::to_string(reinterpret_cast<uintptr_t>(this));
        ASSERT_EQ(RunAndWait({u"mkdir", u"-p", TextFromUtf8(folder)}), 0);
        if (const char* path = std::getenv("PATH")) oldPath = path;
        if (const char* desktop = std::getenv("XDG_CURRENT_DESKTOP")) oldDesktop = desktop;
        unsetenv("XDG_CURRENT_DESKTOP");
        UseBackend(&backend);
    }
    void TearDown() override {
        UseBackend(nullptr);
        setenv("PATH", oldPath.c_str(), 1);
        if (!oldDesktop.empty()) setenv("XDG_CURRENT_DESKTOP", oldDesktop.c_str(), 1);
        RunAndWait({u"rm", u"-rf", TextFromUtf8(folder)});
    }
    // A script that records its arguments, prints answer and exits with code.
    void InstallStandIn(const std::string& name, const std::string& answer, int code) {
        const std::string script = folder + "/" + name;
        std::ofstream(script) << "#!/bin/sh\n"
                                 "for a in \"$@\"; do printf '%s\\n' \"$a\"; done > '" << folder << "/args'\n"
                                 "printf '" << answer << "'\nexit " << code << "\n";
        ASSERT_EQ(RunAndWait({u"chmod", u"755", TextFromUtf8(script)}), 0);
    }
    void UseOnlyFolderAsPath() { setenv("PATH", folder.c_str(), 1); }
    std::string RecordedArgs() {
        std::ifstream in(folder + "/args");
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    std::string folder, oldPath, oldDesktop;
    HeadlessBackend backend;
};

TEST_F(RequesterRun, ChosenFileComesBackWithoutLineBreak) {
    InstallStandIn("zenity", "/home/lehrer/Fotos/IMG 0001 (Kopie).JPG\\n", 0);
    UseOnlyFolderAsPath();
    Text chosen = RequestFile(u"Wählen Sie \"das\" Bild", u"Bilddateien:png,jpg", 0, u"/home/lehrer/");
    EXPECT_EQ(chosen, u"/home/lehrer/Fotos/IMG 0001 (Kopie).JPG");
    EXPECT_EQ(RecordedArgs(),
              "--file-selection\n--title=Wählen Sie \"das\" Bild\n--filename=/home/lehrer/\n"
              "--file-filter=Bilddateien | *.png *.PNG *.jpg *.JPG\n");
    EXPECT_TRUE(backend.Messages().empty());
}

TEST_F(RequesterRun, CancelGivesEmptyText) {
    InstallStandIn("zenity", "", 1);
    UseOnlyFolderAsPath();
    EXPECT_EQ(RequestFile(u"T", u"Textdatei:txt", 0, u"/"), u"");
    EXPECT_EQ(RequestDir(u"T", u"/"), u"");
}

TEST_F(RequesterRun, FolderRequesterUsesKdialogWhenOnlyItIsThere) {
    InstallStandIn("kdialog", "/media/lehrer/STICK\\r\\n", 0);
    UseOnlyFolderAsPath();
    EXPECT_EQ(RequestDir(u"Backup-Ordner", u"/media/lehrer"), u"/media/lehrer/STICK");
    EXPECT_EQ(RecordedArgs(), "--title\nBackup-Ordner\n--getexistingdirectory\n/media/lehrer\n");
}

TEST_F(RequesterRun, MissingRequesterTellsTheUser) {
    UseOnlyFolderAsPath();
    EXPECT_EQ(RequestFile(u"T", u"Textdatei:txt", 0, u"/"), u"");
    EXPECT_EQ(RequestDir(u"T", u"/"), u"");
    ASSERT_EQ(backend.Messages().size(), 2u);
    EXPECT_NE(backend.Messages()[0].find(u"zenity"), Text::npos);
    EXPECT_NE(backend.Messages()[0].find(u"apt-get install zenity"), Text::npos);
}

}  // namespace
