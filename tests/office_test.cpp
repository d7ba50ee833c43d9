// Finding the spreadsheet program in its order of preference, and the
// environment it is started with.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/office.hpp"
#include "platform/process.hpp"

namespace fs = std::filesystem;

namespace {
class OfficeSearch : public ::testing::Test {
protected:
    void SetUp() override {
        wurzel = fs::path(::testing::TempDir()) / ("rk_office_" + std::to_string(reinterpret_cast<uintptr_t>(this)));
        fs::create_directories(wurzel / "bin");
        fs::create_directories(wurzel / "opt");
        fs::create_directories(wurzel / "suite");
    }
    void TearDown() override { fs::remove_all(wurzel); }
    // An executable file (or, with ausfuehrbar false, a plain one).
    void Programm(const fs::path& relativ, bool ausfuehrbar = true) {
        fs::create_directories((wurzel / relativ).parent_path());
        std::ofstream(wurzel / relativ) << "#!/bin/sh\n";
        fs::permissions(wurzel / relativ, ausfuehrbar ? fs::perms::owner_all : fs::perms::owner_read);
    }
    std::string Gefunden() {
        const Text t = FindSpreadsheetProgramIn(TextFromUtf8((wurzel / "bin").string()),
                                                TextFromUtf8((wurzel / "opt").string()),
                                                TextFromUtf8((wurzel / "suite").string()));
        const std::string s = Utf8FromText(t);
        return s.empty() ? "" : fs::relative(s, wurzel).string();
    }
    fs::path wurzel;
};
}  // namespace

TEST_F(OfficeSearch, OrderOfPreference) {
    // Installations are added from the least to the most preferred; each step
    // must take over.
    EXPECT_EQ(Gefunden(), "");
    Programm("opt/openoffice.org3/program/soffice");
    EXPECT_EQ(Gefunden(), "opt/openoffice.org3/program/soffice");
    Programm("opt/openoffice4/program/soffice");
    EXPECT_EQ(Gefunden(), "opt/openoffice4/program/soffice");  // the last in name order
    Programm("suite/soffice");
    EXPECT_EQ(Gefunden(), "suite/soffice");  // any LibreOffice before OpenOffice.org
    Programm("opt/libreoffice7.6/program/soffice");
    Programm("opt/LibreOffice24.2/program/soffice", false);  // not executable: passed over
    Programm("opt/libreoffice7.4/program/soffice");
    EXPECT_EQ(Gefunden(), "opt/libreoffice7.6/program/soffice");
    Programm("bin/soffice");
    EXPECT_EQ(Gefunden(), "bin/soffice");
    Programm("bin/libreoffice");
    EXPECT_EQ(Gefunden(), "bin/libreoffice");
}

TEST(SpreadsheetEnvironment, LatinOneCharacterTypeWithTheUsersLanguage) {
    struct Fall {
        const char* name;
        std::vector<std::string> ein, aus;
    };
    const Fall faelle[] = {
        {"UTF-8 desktop", {"HOME=/home/a", "LANG=de_DE.UTF-8"}, {"HOME=/home/a", "LANG=de_DE.UTF-8", "LC_CTYPE=C"}},
        {"LC_ALL goes on as the message language",
         {"LC_ALL=de_DE.UTF-8", "LC_CTYPE=de_DE.UTF-8", "PATH=/bin"},
         {"PATH=/bin", "LC_MESSAGES=de_DE.UTF-8", "LC_CTYPE=C"}},
        {"an own LC_MESSAGES wins", {"LC_MESSAGES=en_GB.UTF-8", "LC_ALL=de_DE.UTF-8"},
         {"LC_MESSAGES=en_GB.UTF-8", "LC_CTYPE=C"}},
        {"names that only begin alike stay", {"LC_ALLX=1", "LC_CTYPEX=2", "LC_ALL="}, {"LC_ALLX=1", "LC_CTYPEX=2", "LC_CTYPE=C"}},
    };
    for (const Fall& f : faelle) EXPECT_EQ(SpreadsheetEnvironment(f.ein), f.aus) << f.name;
}

TEST(SpreadsheetEnvironment, ReachesTheProgramAsGiven) {
    const std::string datei = ::testing::TempDir() + "rk_office_env";
    EXPECT_EQ(RunAndWaitWithEnvironment({u"/bin/sh", u"-c", u"printf '%s|%s' \"$LC_CTYPE\" \"$LC_ALL\" > \"$1\"", u"sh",
                                         TextFromUtf8(datei)},
                                        {"LC_CTYPE=C"}),
              0);
    std::ifstream in(datei);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(in), {}), "C|");
    fs::remove(datei);
}
