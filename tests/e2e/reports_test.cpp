// The three printed reports from the real program under Xvfb, each through
// its tile or button: a stand-in xdg-open first on the PATH records what the
// program opens; that PDF exists in "Ausdrucke", passes `qpdf --check`, and
// its first page, rendered by pdftoppm, shows the heading where it belongs.
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
        const std::string pdf = PfadAusUrl(zeilen.substr(0, zeilen.size() - 1));
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
    std::string stellvertreter, protokoll, alterPfad, pfad, vorher;
};

TEST_F(Ausdrucke, StudentSheetFromTheRowMenusNinthTile) {
    // Berger's row menu beside the default head (160 wide) at y 130 - 50.75;
    // the ninth tile is the first of the fifth row.
    p.Click(122, 46 + 84 + 38);
    SleepMs(600);
    p.Save(p.Shoot(), "zeilenmenue-mit-schuelerbogen");
    p.Click(160 + 4 + 114, 79 + 4 + 4 * 89 + 42);
    Pruefen("schuelerbogen", "7a Deutsch Schülerbogen Berger Lena Marie 20", 596, {50, 52, 200, 72});
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
