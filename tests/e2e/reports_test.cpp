// The three printed reports from the real program under Xvfb, each through
// its tile or button: a stand-in xdg-open first on the PATH records what the
// program opens (a stand-in xdg-mime names a PDF program, or none); that PDF
// exists in "Ausdrucke", passes `qpdf --check`, and its first page, rendered
// by pdftoppm, shows the heading where it belongs. The student's sheet for
// parents is read back: the school's head, the grades, no telephone.
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include "gradebook_files.hpp"
#include "harness.hpp"
#include "platform/pixmap.hpp"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;
constexpr uint32_t kKachel = (56u << 16) | (48u << 8) | 64u;

// "file:///a%20b" -> "/a b".
std::string PfadAusUrl(const std::string& url) {
    std::string p;
    for (size_t i = std::string("file://").size(); i < url.size(); ++i) {
        if (url[i] == '%' && i + 2 < url.size()) {
            p += static_cast<char>(std::stoi(url.substr(i + 1, 2), nullptr, 16));
            i += 2;
        } else {
            p += url[i];
        }
    }
    return p;
}

// Dark pixels of the page picture inside the rectangle.
int Dunkel(const TPixmap& seite, int x0, int y0, int x1, int y1) {
    int n = 0;
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) n += (ReadPixel(seite, x, y) & 0xFFu) < 100;
    return n;
}

class Ausdrucke : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.Ok());
        stellvertreter = p.Folder() + "-bin";
        fs::create_directories(stellvertreter);
        protokoll = stellvertreter + "/geoeffnet.txt";
        std::ofstream(stellvertreter + "/xdg-open") << "#!/bin/sh\nprintf '%s\\n' \"$1\" >> '" << protokoll << "'\n";
        fs::permissions(stellvertreter + "/xdg-open", fs::perms::owner_all);
        PdfProgramm(true);
        WriteFileBytes(p.Folder() + "/.Kladdorix-Schule", "Goethe-Gymnasium\r\nFrau Wei\xDF\r\n");
        alterPfad = std::getenv("PATH") ? std::getenv("PATH") : "/usr/bin:/bin";
        setenv("PATH", (stellvertreter + ":" + alterPfad).c_str(), 1);
        setenv("HOME", (stellvertreter + "/home").c_str(), 1);
        unsetenv("USERPROFILE");

        TestGradebook g{"7a", "Deutsch", {{"Arbeit", "14.10.26"}, {"Mündl.", "20.10.26"}}, {}};
        g.schueler.push_back({"Berger", "Lena Marie", {"2-", "1"}, "0151 2345", "", ""});
        g.schueler.push_back({"Özdemir", "Can", {"5", "3"}, "", "Sitzt vorne", ""});
        g.schueler.push_back({"Weiß", "Jörg", {"6", "2"}, "", "", "3"});
        pfad = WriteClassFile(p.Folder(), g);
        vorher = ReadFileBytes(pfad);

        ASSERT_TRUE(p.Start());
        ASSERT_NE(p.WaitForWindow(), 0u);
        ASSERT_TRUE(p.WaitForPixel(960, 1070, kHintergrund));
        SleepMs(700);
        p.Click(846 + 114, 663 + 57);  // the only class tile
        ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
        SleepMs(700);
    }
    void TearDown() override {
        p.Key("Escape");
        int status = -1;
        EXPECT_TRUE(p.WaitForExit(8000, status));
        EXPECT_EQ(status, 0);
        EXPECT_EQ(ReadFileBytes(pfad), vorher) << "printing changed the gradebook";
        setenv("PATH", alterPfad.c_str(), 1);
        fs::remove_all(stellvertreter);
    }

    // Whether the desktop names a program for PDF files.
    void PdfProgramm(bool da) {
        std::ofstream(stellvertreter + "/xdg-mime") << "#!/bin/sh\n" << (da ? "echo stand-in.desktop\n" : "");
        fs::permissions(stellvertreter + "/xdg-mime", fs::perms::owner_all);
    }

    // The text of the PDF last checked.
    std::string PdfText() {
        std::string text;
        EXPECT_EQ(RunCommand({"pdftotext", "-raw", "-enc", "UTF-8", pdf, "-"}, &text), 0);
        return text;
    }

    // Berger's row menu beside the default head (160 wide) at y 130 - 50.75;
    // the ninth tile is the first of the fifth row. Beside the menu, level
    // with its last row, the choice: "Für Eltern" above "Vollständig".
    void SchuelerbogenWaehlen(int wahl) {
        p.Click(122, 46 + 84 + 38);
        SleepMs(600);
        p.Click(160 + 4 + 114, 79 + 4 + 4 * 89 + 42);
        SleepMs(600);
        p.Save(p.Shoot(), "schuelerbogen-wahl");
        const int x = 160 + 468 + 4, y = 79 + 449 - 172;
        p.Click(x + 4 + 130, y + 4 + wahl * 84 + 40);
    }

    // The one PDF the stand-in was asked to open: it lies in "Ausdrucke"
    // under `name`, qpdf finds it sound, and page 1 at 72 dpi (one pixel a
    // point) is `breite` wide, with the heading's dark pixels in `kopf` and
    // nothing above it.
    void Pruefen(const std::string& bild, const std::string& name, int breite, std::array<int, 4> kopf) {
        std::string zeilen;
        for (int i = 0; i < 100 && zeilen.empty(); ++i) {
            SleepMs(100);
            zeilen = ReadFileBytes(protokoll);
        }
        p.Save(p.Shoot(), bild);
        ASSERT_FALSE(zeilen.empty()) << "xdg-open was not called";
        ASSERT_EQ(zeilen.find('\n'), zeilen.size() - 1) << "opened more than once: " << zeilen;
        pdf = PfadAusUrl(zeilen.substr(0, zeilen.size() - 1));
        EXPECT_EQ(fs::path(pdf).parent_path(), fs::canonical(p.Folder()) / "Ausdrucke");
        EXPECT_EQ(fs::path(pdf).filename().string().rfind(name, 0), 0u) << pdf;
        ASSERT_TRUE(fs::is_regular_file(pdf)) << pdf;
        std::string aus;
        EXPECT_EQ(RunCommand({"qpdf", "--check", pdf}, &aus), 0) << aus;
        const std::string png = std::string(RK_E2E_OUTPUT) + "/" + bild + "-seite1";
        ASSERT_EQ(RunCommand({"pdftoppm", "-r", "72", "-f", "1", "-l", "1", "-singlefile", "-png", pdf, png}), 0);
        const TPixmap seite = LoadPixmapFrom(TextFromUtf8(png + ".png"));
        ASSERT_TRUE(seite);
        EXPECT_EQ(seite->width, breite);
        const auto [x0, y0, x1, y1] = kopf;
        EXPECT_GT(Dunkel(seite, x0, y0, x1, y1), 150) << "no heading at its place in " << png;
        EXPECT_EQ(Dunkel(seite, 0, 0, seite->width, y0 - 6), 0) << "something above the heading in " << png;
        fs::remove(protokoll);
    }

    VirtualDisplay display{1920, 1080};
    ProgramUnderTest p{display};
    std::string stellvertreter, protokoll, alterPfad, pfad, vorher, pdf;
};

TEST_F(Ausdrucke, StudentSheetFromTheRowMenusNinthTile) {
    SchuelerbogenWaehlen(1);  // "Vollständig"
    Pruefen("schuelerbogen", "7a Deutsch Schülerbogen Berger Lena Marie 20", 596, {50, 52, 200, 72});
    EXPECT_NE(PdfText().find("0151 2345"), std::string::npos) << "the complete sheet has the telephone";
}

TEST_F(Ausdrucke, StudentSheetForParentsThroughItsTilesHasTheHeadAndNoTelephone) {
    SchuelerbogenWaehlen(0);  // "Für Eltern"
    Pruefen("schuelerbogen-eltern", "7a Deutsch Schülerbogen Berger Lena Marie 20", 596, {50, 52, 200, 72});
    const std::string text = PdfText();
    size_t pos = 0;
    for (const char* w : {"Schülerbogen", "Lena Marie Berger", "Schule:", "Goethe-Gymnasium", "Lehrkraft:", "Frau Weiß",
                          "Klasse:", "7a", "Fach:", "Deutsch", "Arbeit", "14.10.26", "2-", "Mündl.", "20.10.26", "1",
                          "Datum, Unterschrift der Lehrkraft"}) {
        const size_t f = text.find(w, pos);
        ASSERT_NE(f, std::string::npos) << w << " missing after " << pos << " in\n" << text;
        pos = f;
    }
    for (const char* w : {"Telefon", "0151", "Notizen", "Özdemir", "Weiß, Jörg", "Jörg"})
        EXPECT_EQ(text.find(w), std::string::npos) << w << " on the parents' sheet:\n" << text;

    // Printed again the same day, with no PDF program set up: the second
    // paper lies beside the first and a box names where.
    PdfProgramm(false);
    SchuelerbogenWaehlen(0);
    Pruefen("schuelerbogen-eltern-2", "7a Deutsch Schülerbogen Berger Lena Marie 20", 596, {50, 52, 200, 72});
    EXPECT_NE(pdf.find(" (2).pdf"), std::string::npos) << pdf;
    SleepMs(600);
    const Screenshot box = p.Shoot();
    p.Save(box, "ohne-pdf-programm");
    int x = 0, y = 0;
    ASSERT_TRUE(BoxButton(box, 0, x, y)) << "no box naming the file";
    p.Click(x, y);
    SleepMs(500);
}

TEST_F(Ausdrucke, ClassListsFromTheClassMenusNewTiles) {
    p.Click(100, 60);
    SleepMs(500);
    p.Save(p.Shoot(), "klassenmenue-mit-ausdrucken");
    p.Click(4 + 100, 4 + 5 * 94 + 45);  // tile 10
    Pruefen("klassenliste", "7a Deutsch Klassenliste 20", 842, {28, 32, 220, 48});
    p.Click(100, 60);
    SleepMs(500);
    p.Click(4 + 204 + 100, 4 + 5 * 94 + 45);  // tile 11
    Pruefen("leere-liste", "7a Deutsch Leere Liste 20", 842, {28, 32, 150, 48});
}

TEST_F(Ausdrucke, NotenspiegelFromItsBoxsButton) {
    // Column 1's menu, its fifth tile, then the box's right button.
    p.Click(240 + 38, 60);
    SleepMs(600);
    p.Click(122 + 76, 126 + 2 * 105 + 50);
    SleepMs(800);
    const Screenshot box = p.Shoot();
    p.Save(box, "notenspiegel-mit-drucken");
    int x = 0, y = 0;
    ASSERT_TRUE(BoxButton(box, 1, x, y)) << "no second button";
    p.Click(x, y);
    Pruefen("notenspiegel-gedruckt", "7a Deutsch Notenspiegel Arbeit vom 14.10.26 20", 420, {36, 46, 180, 64});
}
}  // namespace
