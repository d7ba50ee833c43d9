// A gradebook whose folder cannot be written (made immutable with chattr, as
// root would otherwise write anyway): Escape shows the error with the choice
// to stay or to end without saving; ending asks once more, says that the
// changes are lost, and then ends with status 0, the class file untouched.
#include <gtest/gtest.h>

#include <filesystem>

#include "gradebook_files.hpp"
#include "harness.hpp"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;
constexpr uint32_t kKachel = (56u << 16) | (48u << 8) | 64u;

// Clicks the left or right button of the information box on the screen.
void Schalter(ProgramUnderTest& p, bool rechts, const std::string& bild) {
    SleepMs(700);
    const Screenshot s = p.Shoot();
    p.Save(s, bild);
    int x, y;
    ASSERT_TRUE(BoxButton(s, rechts ? 1 : 0, x, y)) << "no box";
    // The boxes' right buttons share a place; "mousemove --sync" onto the
    // pointer's own place would wait for a move that never comes.
    p.MoveTo(x, y - 20);
    p.Click(x, y);
}
}  // namespace

TEST(Unspeicherbar, EscapeOffersToStayOrToEndWithoutSavingAfterASecondYes) {
    VirtualDisplay display(1920, 1080);
    ASSERT_TRUE(display.Ok());
    ProgramUnderTest p(display);
    TestGradebook g{"6c", "Deutsch", {{"Arbeit", "01.10.26"}}, {{"Adler", "Eva", {"2"}, "", "", ""}}};
    const std::string pfad = WriteClassFile(p.Folder(), g);
    const std::string ordner = p.Folder() + "/Noten/6c";
    fs::create_directories(ordner + "/Backups");
    fs::create_directories(ordner + "/Bilder");
    ASSERT_TRUE(p.Start());
    ASSERT_NE(p.WaitForWindow(), 0u);
    ASSERT_TRUE(p.WaitForPixel(848, 663 + 111, kKachel));
    p.Click(846 + 114, 663 + 57);
    ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
    SleepMs(700);
    if (RunCommand({"chattr", "+i", ordner}) != 0) GTEST_SKIP() << "chattr +i not possible on this file system";
    struct Freigabe {
        std::string o;
        ~Freigabe() { RunCommand({"chattr", "-i", o}); }
    } freigabe{ordner};

    // A column added: neither the recovery file nor the save can be written.
    p.Click(100, 60);
    SleepMs(600);
    p.Click(4 + 204 + 100, 4 + 94 + 45);  // "Neue Notenspalte"
    SleepMs(700);
    p.Click(416 + 3 * 94 + 45, 4 + 45);  // "Test"
    // The recovery file could not be written: one "Warnung" box says so.
    Schalter(p, false, "unspeicherbar-warnung");
    EXPECT_FALSE(fs::exists(pfad + ".ungespeichert"));

    p.Key("Escape");
    Schalter(p, false, "unspeicherbar-fehler");  // "Geöffnet lassen"
    SleepMs(500);
    EXPECT_TRUE(p.Running()) << "staying ended the program";
    p.Key("Escape");
    Schalter(p, true, "unspeicherbar-fehler-2");   // "Ohne Speichern beenden"
    Schalter(p, true, "unspeicherbar-frage-nein");  // "NEIN"
    SleepMs(500);
    EXPECT_TRUE(p.Running()) << "NEIN ended the program";
    p.Key("Escape");
    Schalter(p, true, "unspeicherbar-fehler-3");
    Schalter(p, false, "unspeicherbar-frage");  // "Ja, das ist ok"
    int status = -1;
    ASSERT_TRUE(p.WaitForExit(8000, status)) << "the confirmed way out did not end the program";
    EXPECT_EQ(status, 0);
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(g));
}
