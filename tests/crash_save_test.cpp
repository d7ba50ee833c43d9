// A process killed at random moments while it saves a gradebook over and over
// must leave a class file that loads and holds one of the two saved contents.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>

#include "gradebook/class_file.hpp"
#include "gradebook_fixture.hpp"

namespace {

class CrashSave : public GradebookTest {};

}  // namespace

TEST_F(CrashSave, KilledWhileSavingLeavesTheOldOrTheNewFile) {
    // Two contents that differ in size, grades, a column and a student.
    auto a = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
    Spalte(*a, u"Arbeit", u"01.10.15");
    for (int n = 0; n < 30; ++n)
        Schueler(*a, u"Name" + TextFromUtf8(std::to_string(100 + n)), u"A", {u"2"}, u"0171", u"Notiz");
    auto b = TSchulklasse::bauen({u"7a", u"Mathe"}, 0);
    Spalte(*b, u"Arbeit", u"01.10.15");
    Spalte(*b, u"Test", u"02.10.15");
    for (int n = 0; n < 31; ++n) Schueler(*b, u"Name" + TextFromUtf8(std::to_string(100 + n)), u"B", {u"5-", u"1"});
    const std::string bytesA = KlassendateiBytes(*a);
    const std::string bytesB = KlassendateiBytes(*b);
    ASSERT_NE(bytesA, bytesB);
    ASSERT_TRUE(a->speichern(u""));

    std::mt19937 zufall(20240607);
    // A save forces the class file and its backup onto the disk, each with
    // its folder after the rename: some 15 ms here; the kills spread over
    // several saves.
    std::uniform_int_distribution<int> verzoegerung(0, 40000);
    const auto beginn = std::chrono::steady_clock::now();
    int toetungen = 0, alt = 0, neu = 0;
    for (; toetungen < 200; ++toetungen) {
        if (std::chrono::steady_clock::now() - beginn > std::chrono::seconds(18)) break;
        const pid_t kind = ::fork();
        ASSERT_GE(kind, 0);
        if (kind == 0) {
            for (unsigned n = 0;; ++n) (n % 2 ? a : b)->speichern(u"");
        }
        ::usleep(static_cast<useconds_t>(verzoegerung(zufall)));
        ::kill(kind, SIGKILL);
        int status = 0;
        ASSERT_EQ(::waitpid(kind, &status, 0), kind);
        ASSERT_TRUE(WIFSIGNALED(status));

        const std::string datei = Lesen("Noten/7a/7a Mathe.slk");
        ASSERT_TRUE(datei == bytesA || datei == bytesB) << "kill " << toetungen << ": " << datei.size() << " bytes";
        (datei == bytesA ? alt : neu)++;
        auto geladen = TSchulklasse::laden(u"Noten/7a/7a Mathe.slk");
        ASSERT_TRUE(geladen) << "kill " << toetungen;
        EXPECT_EQ(KlassendateiBytes(*geladen), datei);
    }
    EXPECT_GE(toetungen, 100);
    // Both contents were seen, so the kills did land in the middle of the saves.
    EXPECT_GT(alt, 0);
    EXPECT_GT(neu, 0);
    RecordProperty("kills", toetungen);
    std::printf("%d kills: %d times the one content, %d times the other\n", toetungen, alt, neu);
}
