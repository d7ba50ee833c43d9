// Environment variables, the URL handed to the desktop's opener, and the two
// ways the program ends.
#include <gtest/gtest.h>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <string>
#include "platform/system_services.hpp"

namespace {

TEST(Environment, ReadsVariables) {
    setenv("RK_TEST_VARIABLE", "Zensur für Jürgen", 1);
    setenv("RK_TEST_EMPTY", "", 1);
    unsetenv("RK_TEST_UNSET");
    struct Case { Text name, value; };
    const Case cases[] = {
        {u"RK_TEST_VARIABLE", u"Zensur für Jürgen"}, {u"RK_TEST_EMPTY", u""}, {u"RK_TEST_UNSET", u""},
        {u"", u""}, {u"RK_TEST_VARIABLE=x", u""},
    };
    for (const Case& c : cases) EXPECT_EQ(EnvironmentVariable(c.name), c.value) << Utf8FromText(c.name);
    unsetenv("RK_TEST_VARIABLE");
    unsetenv("RK_TEST_EMPTY");
}

TEST(OpenUrl, AddressForTheOpener) {
    const std::string folder = ::testing::TempDir();  // absolute, ends in "/"
    const std::string file = folder + "7b Deutsch (exportiert).slk";
    const std::string hashFile = folder + "Notiz#1.txt";
    std::ofstream(file) << "ID;P\r\n";
    std::ofstream(hashFile) << "x";
    std::string encodedFolder;
    for (char c : folder) encodedFolder += c == ' ' ? std::string("%20") : std::string(1, c);
    struct Case { std::string text, url; };
    const Case cases[] = {
        {"http://www.schule.de/noten", "http://www.schule.de/noten"},
        {"https://example.org/#a", "https://example.org/#a"},
        {"file:///tmp/x.slk", "file:///tmp/x.slk"},
        {"www.schule.de", "http:www.schule.de"},
        {"kein/pfad#abschnitt", "http:kein/pfad#abschnitt"},
        {file, "file://" + encodedFolder + "7b%20Deutsch%20(exportiert).slk"},
        {file + "#Tabelle2", "file://" + encodedFolder + "7b%20Deutsch%20(exportiert).slk#Tabelle2"},
        {hashFile, "file://" + encodedFolder + "Notiz%231.txt"},
        {folder + "./7b Deutsch (exportiert).slk", "file://" + encodedFolder + "7b%20Deutsch%20(exportiert).slk"},
    };
    for (const Case& c : cases) EXPECT_EQ(Utf8FromText(UrlForOpening(TextFromUtf8(c.text))), c.url) << c.text;
    std::remove(file.c_str());
    std::remove(hashFile.c_str());
}

TEST(OpenUrl, NonAsciiIsPercentEncoded) {
    const std::string file = ::testing::TempDir() + "Schüler.txt";
    std::ofstream(file) << "x";
    const std::string url = Utf8FromText(UrlForOpening(TextFromUtf8(file)));
    EXPECT_NE(url.find("Sch%C3%BCler.txt"), std::string::npos) << url;
    std::remove(file.c_str());
}

TEST(ProgramEndDeathTest, EndProgramExitsWithZero) {
    EXPECT_EXIT(EndProgram(), ::testing::ExitedWithCode(0), "");
}

TEST(ProgramEndDeathTest, RaiseErrorWritesTheMessageAndExitsWithMinusOne) {
    EXPECT_EXIT(RaiseError(u"Unmögliche Spalte 17 in Klasse 7b"), ::testing::ExitedWithCode(255),
                "Unm.*gliche Spalte 17 in Klasse 7b");
}

}  // namespace
