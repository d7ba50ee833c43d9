// What the Windows program hands to other programs, under wine: the export
// started in a LibreOffice found under "C:\Program Files" (a stand-in
// scalc.exe that records its command line and keeps running until the test
// lets it end; the program waits for it with its window closed), and a
// printed report opened by the default program for PDF files (a stand-in
// registered as the program that opens PDF files).
#include <gtest/gtest.h>

#include <filesystem>

#include "gradebook_files.hpp"
#include "teacher_steps.hpp"
#include "wine_session.hpp"

namespace fs = std::filesystem;
using namespace steps;

namespace {
class WindowsBuero : public ::testing::Test {
protected:
    void SetUp() override {
        wine::UseRunPrefix();
        ASSERT_TRUE(display.Ok());
    }
    VirtualDisplay display{1920, 1080};
};

TestGradebook Franz7a() {
    TestGradebook g{"7a", "Französisch", {{"Arbeit", "14.10.26"}, {"Mündl.", "20.10.26"}}, {}};
    g.schueler.push_back({"Berger", "Lena Marie", {"2-", "1"}, "", "", ""});
    g.schueler.push_back({"Özdemir", "Can", {"4+", ""}, "0151 2345", "Sitzt vorne", ""});
    return g;
}

std::string Backslashes(std::string s) {
    for (char& c : s)
        if (c == '/') c = '\\';
    return s;
}

bool WindowGone(ProgramUnderTest& p, int timeoutMs) {
    for (int waited = 0; waited < timeoutMs; waited += 100) {
        if (p.Xdo({"search", "--onlyvisible", "--name", "^Rido Kladdorix$"}).empty()) return true;
        SleepMs(100);
    }
    return false;
}
}  // namespace

TEST_F(WindowsBuero, ExportStartsScalcFromProgramFilesAndWaitsForIt) {
    const std::string scalc = wine::Prefix() + "/drive_c/Program Files/LibreOffice/program/scalc.exe";
    wine::PlaceStandIn(scalc);
    fs::remove(scalc + ".txt");
    WriteFileBytes(scalc + ".warten", "");
    const std::string ordner = wine::FreshProgramFolder("Rido Kladdorix Export");
    const std::string pfad = WriteClassFile(ordner, Franz7a());
    wine::WindowsProgram w(display, ordner);
    ProgramUnderTest& p = w.p();
    ASSERT_TRUE(w.StartToCatalogue());
    ASSERT_TRUE(OpenOnlyClass(p));
    ClassCommand(p, 7);  // "Exportieren"

    std::vector<std::string> aufrufe;
    for (int i = 0; i < 300 && aufrufe.empty(); ++i) {
        SleepMs(100);
        aufrufe = wine::RecordedCalls(scalc);
    }
    ASSERT_EQ(aufrufe.size(), 1u) << "scalc.exe was not started once";
    const std::string kopie = ordner + "/7a Französisch (exportiert).slk";
    EXPECT_EQ(Backslashes(aufrufe[0]), "\"C:\\Program Files\\LibreOffice\\program\\scalc.exe\" \"" +
                                           wine::WindowsPath(kopie) + "\"");
    // While the spreadsheet program runs, the gradebook waits without a window.
    EXPECT_TRUE(WindowGone(p, 5000)) << "the window stayed open";
    SleepMs(2000);
    p.Save(p.Shoot(), "windows-export-wartet");
    EXPECT_TRUE(p.Running());
    EXPECT_TRUE(WindowGone(p, 100)) << "the window came back while scalc.exe runs";
    ASSERT_TRUE(fs::exists(kopie));
    EXPECT_EQ(ReadFileBytes(kopie), ReadFileBytes(pfad));

    fs::remove(scalc + ".warten");  // the teacher closes the spreadsheet
    ASSERT_NE(p.WaitForWindow(30000), 0u) << "the window did not come back";
    ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel, 20000));
    SleepMs(800);
    p.Save(p.Shoot(), "windows-nach-export");
    ASSERT_TRUE(w.EscapeEnds());
    EXPECT_EQ(wine::RecordedCalls(scalc).size(), 1u);
}

TEST_F(WindowsBuero, ClassListReportOpensWithTheDefaultProgramForPdf) {
    const std::string anzeige = wine::Prefix() + "/drive_c/Stellvertreter/PDF-Anzeige.exe";
    wine::PlaceStandIn(anzeige);
    fs::remove(anzeige + ".txt");
    const std::string befehl = "\"" + wine::WindowsPath(anzeige) + "\" \"%1\"";
    // The PDF viewer's association, as its installer writes it (".pdf" is "pdffile" in wine).
    ASSERT_EQ(wine::Wine({"reg", "add", "HKCR\\pdffile\\shell\\open\\command", "/ve", "/d", befehl, "/f"}), 0);
    const std::string ordner = wine::FreshProgramFolder("Rido Kladdorix Bericht");
    const std::string pfad = WriteClassFile(ordner, Franz7a());
    const std::string vorher = ReadFileBytes(pfad);
    wine::WindowsProgram w(display, ordner);
    ProgramUnderTest& p = w.p();
    ASSERT_TRUE(w.StartToCatalogue());
    ASSERT_TRUE(OpenOnlyClass(p));
    ClassCommand(p, 10);  // "Klassenliste drucken"

    std::vector<std::string> aufrufe;
    for (int i = 0; i < 300 && aufrufe.empty(); ++i) {
        SleepMs(100);
        aufrufe = wine::RecordedCalls(anzeige);
    }
    p.Save(p.Shoot(), "windows-bericht-geoeffnet");
    ASSERT_EQ(aufrufe.size(), 1u) << "the default program was not started once";
    const std::string prefix = "\"" + wine::WindowsPath(anzeige) + "\" \"";
    ASSERT_EQ(aufrufe[0].rfind(prefix, 0), 0u) << aufrufe[0];
    const std::string pdf = Backslashes(aufrufe[0].substr(prefix.size(), aufrufe[0].size() - prefix.size() - 1));
    const std::string erwartet = wine::WindowsPath(ordner + "/Ausdrucke") + "\\7a Französisch Klassenliste 20";
    EXPECT_EQ(pdf.rfind(erwartet, 0), 0u) << pdf;
    std::string datei;
    for (const auto& e : fs::directory_iterator(ordner + "/Ausdrucke")) datei = e.path().string();
    ASSERT_FALSE(datei.empty());
    EXPECT_EQ(ReadFileBytes(datei).substr(0, 5), "%PDF-");
    EXPECT_TRUE(p.Running()) << "the program waited for the default program or ended";
    ASSERT_TRUE(w.EscapeEnds());
    EXPECT_EQ(ReadFileBytes(pfad), vorher);
}
