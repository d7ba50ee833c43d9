// A logout or shutdown ends the real program, whatever is open: SIGTERM with
// a menu open over an edited class saves the class and ends; SIGTERM ends the
// second start's message box; SIGHUP ends the catalogue. Each with status 0.
#include <gtest/gtest.h>
#include <signal.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <map>

#include "gradebook_files.hpp"
#include "harness.hpp"

namespace fs = std::filesystem;

namespace {
constexpr uint32_t kHintergrund = (23u << 16) | 83u;
constexpr uint32_t kKachel = (56u << 16) | (48u << 8) | 64u;

TestGradebook Vorher() {
    TestGradebook g{"7a", "Mathe", {{"Arbeit", "01.10.26"}}, {}};
    g.schueler.push_back({"Adler", "Eva", {"2"}, "", "", ""});
    g.schueler.push_back({"Zander", "Max", {"4"}, "0171 2", "", "1"});
    return g;
}

class Signale : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(display.Ok());
        setenv("HOME", "/tmp/rk-e2e-home", 1);
        unsetenv("USERPROFILE");
        pfad = WriteClassFile(p.Folder(), Vorher());
    }
    void Katalog() {
        ASSERT_TRUE(p.Start());
        fenster = p.WaitForWindow();
        ASSERT_NE(fenster, 0u);
        ASSERT_TRUE(p.WaitForPixel(848, 663 + 111, kKachel));
        SleepMs(500);
    }
    // Sends the signal and waits for the end; prints how long it took.
    int Signal(int sig, const char* wo) {
        return Signal(p, sig, wo);
    }
    static int Signal(ProgramUnderTest& prog, int sig, const char* wo) {
        const auto beginn = std::chrono::steady_clock::now();
        kill(prog.Pid(), sig);
        int status = -2;
        EXPECT_TRUE(prog.WaitForExit(8000, status)) << "still running after " << wo;
        const auto ms =
            std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - beginn).count();
        std::printf("%s: ended %lld ms after signal %d\n", wo, static_cast<long long>(ms), sig);
        return status;
    }

    VirtualDisplay display{1920, 1080};
    ProgramUnderTest p{display};
    std::string pfad;
    unsigned long fenster = 0;
};
}  // namespace

TEST_F(Signale, SigtermWithAMenuOpenOverAnEditedClassSavesItAndEnds) {
    Katalog();
    p.Click(846 + 114, 663 + 57);
    ASSERT_TRUE(p.WaitForPixel(10, 8 + 111, kKachel));
    SleepMs(700);
    // Adler gets "1" (tile 1 of the grade menu at (180, 0) for row 1).
    p.Click(160 + 80 + 38, 46 + 84 + 38);
    SleepMs(500);
    p.Click(180 + 4 + 64 + 30, 4 + 30);
    SleepMs(600);
    TestGradebook nachher = Vorher();
    nachher.schueler[0].noten = {"1"};
    ASSERT_EQ(ReadFileBytes(pfad + ".ungespeichert"), ClassFileBytes(nachher));
    // The class menu is open when the signal comes.
    p.Click(100, 60);
    SleepMs(700);
    p.Save(p.Shoot(), "sigterm-menue-offen");

    EXPECT_EQ(Signal(SIGTERM, "SIGTERM over the class menu"), 0);
    EXPECT_EQ(ReadFileBytes(pfad), ClassFileBytes(nachher)) << "saved as Escape would save it";
    EXPECT_FALSE(fs::exists(pfad + ".ungespeichert"));
    std::vector<std::string> backups;
    for (const auto& e : fs::directory_iterator(p.Folder() + "/Noten/7a/Backups")) backups.push_back(e.path().string());
    ASSERT_EQ(backups.size(), 1u);
    EXPECT_EQ(ReadFileBytes(backups[0]), ClassFileBytes(nachher));
}

TEST_F(Signale, SigtermEndsTheSecondStartsMessageBox) {
    Katalog();
    const auto vorher = FilesBelow(p.Folder());
    ProgramUnderTest zweiter(display, p);
    ASSERT_TRUE(zweiter.Start());
    ASSERT_NE(WaitForOtherProgramWindow(zweiter, fenster), 0u) << "no message box of the second start";
    SleepMs(300);
    EXPECT_EQ(Signal(zweiter, SIGTERM, "SIGTERM on the second start's box"), 0);
    EXPECT_EQ(FilesBelow(p.Folder()), vorher) << "the second start wrote something";
    ASSERT_TRUE(p.Running()) << "the first program must run on";
    EXPECT_EQ(Signal(SIGTERM, "SIGTERM on the catalogue"), 0);
}

TEST_F(Signale, SighupOnTheCatalogueEndsWithStatusZeroAndWritesNothing) {
    Katalog();
    const auto vorher = FilesBelow(p.Folder());
    EXPECT_EQ(Signal(SIGHUP, "SIGHUP on the catalogue"), 0);
    auto nachher = FilesBelow(p.Folder());
    nachher.erase(".Kladdorix-Sperre");
    auto erwartet = vorher;
    erwartet.erase(".Kladdorix-Sperre");
    EXPECT_EQ(nachher, erwartet);
}
